// Rewrites a JSON file compact or pretty with RapidJSON's Reader and Writer, keeping no
// document: a reference for how fast re-writing JSON can be.
// usage: rapidjson-rewrite compact|pretty FILE   (the result goes to standard output)
#include <rapidjson/filereadstream.h>
#include <rapidjson/filewritestream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstring>
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "compact") != 0 && std::strcmp(argv[1], "pretty") != 0)) {
        std::fprintf(stderr, "usage: rapidjson-rewrite compact|pretty FILE\n");
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
    if (std::strcmp(argv[1], "pretty") == 0) {
        rapidjson::PrettyWriter<rapidjson::FileWriteStream> writer(out);
        writer.SetIndent(' ', 4);
        status = Rewrite(in, writer);
    } else {
        rapidjson::Writer<rapidjson::FileWriteStream> writer(out);
        status = Rewrite(in, writer);
    }
    out.Put('\n');
    out.Flush();
    std::fclose(in);
    return status;
}
