// ItemCodes and the KeyRegistry: numbering, decoding, emptying.
#include "view/KeyRegistry.h"

#include "view/ItemCode.h"

#include <gtest/gtest.h>

using namespace vivu;

TEST(KeyRegistry, NumbersKeysFromOneAsTheyAreFirstMet) {
    KeyRegistry keys;
    const struct {
        const char* key;
        int32_t code;
    } steps[] = {{"a", 90'000'001}, {"b", 90'000'002},  {"a", 90'000'001}, {"", 90'000'003},
                 {"A", 90'000'004}, {"中", 90'000'005}, {"b", 90'000'002}};
    for (const auto& s : steps) EXPECT_EQ(keys.RegisterKey(s.key), s.code) << s.key;
    EXPECT_EQ(keys.Count(), 5);
    EXPECT_EQ(*keys.KeyText(5), "中");
    EXPECT_EQ(keys.KeyText(0), nullptr);
    EXPECT_EQ(keys.KeyText(6), nullptr);
    keys.Clear();
    EXPECT_EQ(keys.Count(), 0);
    EXPECT_EQ(keys.RegisterKey("b"), 90'000'001);
}

TEST(ItemCode, DecodesKindAndValue) {
    const struct {
        int32_t code, kind, value;
    } cases[] = {{0, 0, 0},
                 {IndexCode(1), kIndexCodeKind, 1},
                 {IndexCode(9'999'999), kIndexCodeKind, 9'999'999},
                 {90'000'042, kKeyCodeKind, 42},
                 {100'000'001, 10, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeItemCode(c.code).kind, c.kind) << c.code;
        EXPECT_EQ(DecodeItemCode(c.code).value, c.value) << c.code;
    }
}
