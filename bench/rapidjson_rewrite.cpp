// Rewrites a JSON file compact or pretty with RapidJSON's Reader and Writer, keeping no
// document: a reference for how fast re-writing JSON can be. The document- modes read the
// whole file, parse it into RapidJSON's Document with full precision and write that: the
// reference for a program that keeps the document, as the window does.
// usage: rapidjson-rewrite [document-]compact|[document-]pretty FILE   (the result goes to standard output)
#include <rapidjson/document.h>
#include <rapidjson/filereadstream.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Iterative parsing: nesting depth costs heap, not stack.
constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseFullPrecisionFlag;

template <typename Writer> int Rewrite(std::FILE* in, Writer& writer) {
    std::vector<char> buffer(1 << 16);
    rapidjson::FileReadStream stream(in, buffer.data(), buffer.size());
    rapidjson::Reader reader;
    const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, writer);
    if (!result) {
        std::fprintf(stderr, "parse error %d at %zu\n", static_cast<int>(result.Code()), result.Offset());
        return 1;
    }
    return 0;
}

template <typename Writer> int RewriteDocument(std::FILE* in, Writer& writer) {
    std::string text;
    char chunk[1 << 16];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, n);
    rapidjson::Document document;
    document.Parse<kFlags>(text.data(), text.size());
    if (document.HasParseError()) {
        std::fprintf(stderr, "parse error %d at %zu\n", static_cast<int>(document.GetParseError()),
                     document.GetErrorOffset());
        return 1;
    }
    document.Accept(writer); // recursive: a very deep document overflows the stack here
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool document = argc == 3 && std::strncmp(argv[1], "document-", 9) == 0;
    const char* mode = argc == 3 ? argv[1] + (document ? 9 : 0) : "";
    if (argc != 3 || (std::strcmp(mode, "compact") != 0 && std::strcmp(mode, "pretty") != 0)) {
        std::fprintf(stderr, "usage: rapidjson-rewrite [document-]compact|[document-]pretty FILE\n");
        return 64;
    }
    std::FILE* in = std::fopen(argv[2], "rb");
    if (!in) {
        std::perror(argv[2]);
        return 66;
    }
    std::vector<char> outBuffer(1 << 16);
    rapidjson::FileWriteStream out(stdout, outBuffer.data(), outBuffer.size());
    int status;
    if (std::strcmp(mode, "pretty") == 0) {
        rapidjson::PrettyWriter<rapidjson::FileWriteStream> writer(out);
        writer.SetIndent(' ', 4);
        status = document ? RewriteDocument(in, writer) : Rewrite(in, writer);
    } else {
        rapidjson::Writer<rapidjson::FileWriteStream> writer(out);
        status = document ? RewriteDocument(in, writer) : Rewrite(in, writer);
    }
    out.Put('\n');
    out.Flush();
    std::fclose(in);
    return status;
}
