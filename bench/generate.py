#!/usr/bin/env python3
"""Generates large JSON documents for the benchmarks.

usage: generate.py KIND OUT [SIZE]
  records  an array of records with Chinese text, about SIZE megabytes (default 100)
  items    the same array as the member "items" of an object (default 125)
  deep     arrays and objects nested SIZE levels deep (default 100000)
  wide     one object with SIZE keys (default 1000000)
  numbers  an array of SIZE numbers (default 5000000)
Output is deterministic for the same arguments.
"""
import json
import random
import sys

WORDS = ["数据", "服务器", "框架", "用户", "订单", "支付", "配置", "日志", "缓存", "接口", "kova", "json", "测试"]


def records(out, megabytes):
    rng = random.Random(1)
    limit = megabytes * 1_000_000
    written = 1
    out.write("[")
    i = 0
    while written < limit:
        record = {
            "id": i,
            "name": "".join(rng.choice(WORDS) for _ in range(3)),
            "price": round(rng.uniform(0, 10000), 2),
            "active": rng.random() < 0.5,
            "tags": [rng.choice(WORDS) for _ in range(rng.randint(0, 4))],
            "owner": {"uid": rng.randint(1, 1 << 40), "note": None if rng.random() < 0.3 else "备注" * rng.randint(1, 5)},
        }
        text = ("," if i else "") + json.dumps(record, ensure_ascii=False, separators=(",", ":"))
        out.write(text)
        written += len(text.encode("utf-8"))
        i += 1
    out.write("]")


def items(out, megabytes):
    out.write('{"items":')
    records(out, megabytes)
    out.write("}")


def deep(out, depth):
    out.write('{"a":' * (depth // 2) + "[" * (depth - depth // 2) + "1" + "]" * (depth - depth // 2) + "}" * (depth // 2))


def wide(out, keys):
    out.write("{")
    out.write(",".join('"key%d":%d' % (i, i) for i in range(keys)))
    out.write("}")


def numbers(out, count):
    rng = random.Random(2)
    out.write("[")
    out.write(",".join(str(rng.randint(-(1 << 40), 1 << 40)) if i % 2 else repr(rng.uniform(-1e6, 1e6)) for i in range(count)))
    out.write("]")


def main():
    kinds = {"records": (records, 100), "items": (items, 125), "deep": (deep, 100000), "wide": (wide, 1000000), "numbers": (numbers, 5000000)}
    if len(sys.argv) < 3 or sys.argv[1] not in kinds:
        sys.exit(__doc__)
    make, default = kinds[sys.argv[1]]
    size = int(sys.argv[3]) if len(sys.argv) > 3 else default
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
        make(out, size)


if __name__ == "__main__":
    main()
