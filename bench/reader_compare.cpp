// Parses one file with each reader the data layer could use and prints the processor time
// of each (best of three), side by side: RapidJSON's SAX reader copying strings (the reader
// before the compact document) and in place, RapidJSON's Document, simdjson's DOM when it
// is built in, and the data layer's own document (RapidJSON in place plus building the nodes).
// usage: reader-compare FILE
#include "kova/Document.h"

#include <rapidjson/document.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stream.h>
#ifdef KOVA_HAVE_SIMDJSON
#include <simdjson.h>
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

constexpr unsigned kSaxFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;

// Best processor time of three runs: the machine may be busy with other work.
double BestSeconds(const std::function<bool()>& run) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const std::clock_t start = std::clock();
        if (!run()) return -1;
        best = std::min(best, double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: reader-compare FILE\n");
        return 64;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return 66;
    const double mb = text.size() / 1e6;

    auto row = [mb](const char* name, double seconds) {
        if (seconds < 0)
            std::printf("| %s | failed |\n", name);
        else
            std::printf("| %s | %.3f s | %.0f MB/s |\n", name, seconds, mb / seconds);
    };
    std::printf("| reader (%s, %.1f MB) | processor time | speed |\n|---|---|---|\n", argv[1], mb);
    row("RapidJSON SAX, strings copied, no handler work", BestSeconds([&] {
            rapidjson::BaseReaderHandler<> handler;
            rapidjson::MemoryStream stream(text.data(), text.size());
            return !rapidjson::Reader().Parse<kSaxFlags>(stream, handler).IsError();
        }));
    row("RapidJSON SAX in place, no handler work (with the copy it needs)", BestSeconds([&] {
            std::string copy = text;
            rapidjson::BaseReaderHandler<> handler;
            rapidjson::InsituStringStream stream(copy.data());
            return !rapidjson::Reader().Parse<kSaxFlags | rapidjson::kParseInsituFlag>(stream, handler).IsError();
        }));
    row("RapidJSON Document, full precision", BestSeconds([&] {
            rapidjson::Document document;
            document.Parse<rapidjson::kParseFullPrecisionFlag | rapidjson::kParseIterativeFlag>(text.data(),
                                                                                                text.size());
            return !document.HasParseError();
        }));
#ifdef KOVA_HAVE_SIMDJSON
    row("simdjson DOM", BestSeconds([&] {
            simdjson::dom::parser parser;
            const simdjson::padded_string padded(text);
            simdjson::dom::element root;
            return parser.allocate(text.size(), 1 << 18) == simdjson::SUCCESS &&
                   parser.parse(padded).get(root) == simdjson::SUCCESS;
        }));
#endif
    row("kova document (RapidJSON in place, nodes built)", BestSeconds([&] {
            size_t offset = 0;
            return kova::Document::Parse(text, &offset) != nullptr;
        }));
    return 0;
}
