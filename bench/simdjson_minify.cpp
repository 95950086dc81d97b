// Parses a JSON file into simdjson's DOM and writes it back compact: the reference for
// compress with a document kept, next to RapidJSON's Document and jq.
// usage: simdjson-minify FILE   (the result goes to standard output)
#include <simdjson.h>

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: simdjson-minify FILE\n");
        return 64;
    }
    simdjson::padded_string json;
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    simdjson::error_code error = simdjson::padded_string::load(argv[1]).get(json);
    // As deep as the data layer reads (simdjson's own limit is 1,024 levels).
    if (!error) error = parser.allocate(json.size(), 1 << 18);
    if (!error) error = parser.parse(json).get(root);
    if (error) {
        std::fprintf(stderr, "%s\n", simdjson::error_message(error));
        return 1;
    }
    std::cout << simdjson::to_string(root) << '\n';
    return 0;
}
