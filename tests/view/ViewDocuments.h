// Documents for the result view's tests and benchmark: parsed from text or generated.
#pragma once

#include "json/JsonModel.h"

#include <string>
#include <string_view>

namespace vivu::test {

// The document in json ("{..." or "[...") as the parse command leaves it; kind none when it does not parse.
inline JsonModel LoadModel(std::string_view json) {
    JsonModel model;
    if (json.starts_with('{') && model.object.FromJSON(json)) model.kind = kRootObject;
    if (json.starts_with('[') && model.array.FromJSON(json)) model.kind = kRootArray;
    return model;
}

// An array of records, each 8 nodes: {"id":n,"name":"名字n","tags":[n,"标签"],"owner":{"ok":true}}.
// With the root, records * 8 + 1 nodes.
inline std::string RecordsJson(int records) {
    std::string json = "[";
    for (int n = 1; n <= records; ++n) {
        if (n > 1) json += ',';
        const std::string number = std::to_string(n);
        json += R"({"id":)" + number + R"(,"name":"名字)" + number + R"(","tags":[)" + number +
                R"(,"标签"],"owner":{"ok":true}})";
    }
    json += ']';
    return json;
}

// depth arrays inside each other: [[[...]]], depth items with the root.
inline std::string DeepArrayJson(int depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

// depth objects inside each other, each the member "k" of the one outside: {"k":{"k":{}}}.
inline std::string DeepObjectJson(int depth) {
    std::string json;
    json.reserve(depth * 6);
    for (int i = 1; i < depth; ++i) json += R"({"k":)";
    json += "{}";
    json.append(depth - 1, '}');
    return json;
}

} // namespace vivu::test
