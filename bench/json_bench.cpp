// Parse and serialise throughput of the data layer on whole documents.
// usage: json-bench FILE... ; prints one line per file and operation.
#include "kova/File.h"
#include "kova/JList.h"
#include "kova/JMap.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Best of a few runs, so a single slow run from a busy machine does not count.
template <typename F> double Best(int runs, F&& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        f();
        best = std::min(best, Seconds(start));
    }
    return best;
}

template <typename Root> void Measure(const std::string& name, const std::string& text) {
    const double mb = text.size() / 1e6;
    const int runs = text.size() > 50'000'000 ? 2 : 10;
    Root root;
    double parse = 1e9;
    for (int i = 0; i < runs; ++i) { // releasing the previous document is not part of parsing
        Root fresh;
        parse = std::min(parse, Best(1, [&] {
                             if (!fresh.FromJSON(text)) std::fprintf(stderr, "%s: parse failed\n", name.c_str());
                         }));
        if (i == runs - 1) root = fresh;
    }
    std::string out;
    double compact = Best(runs, [&] { out = root.ToJSON(false); });
    const double compactMb = out.size() / 1e6;
    double pretty = Best(runs, [&] { out = root.ToJSON(true); });
    std::printf("%-24s %9.1f MB  parse %7.1f MB/s  compact %7.1f MB/s  pretty %7.1f MB/s\n", name.c_str(), mb,
                mb / parse, compactMb / compact, out.size() / 1e6 / pretty);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string text;
        if (!kova::ReadFileBytes(argv[i], text)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        std::string name = argv[i];
        name = name.substr(name.find_last_of('/') + 1);
        const size_t first = text.find_first_not_of(" \t\r\n");
        if (first != std::string::npos && text[first] == '[')
            Measure<kova::JList>(name, text);
        else
            Measure<kova::JMap>(name, text);
    }
    return 0;
}
