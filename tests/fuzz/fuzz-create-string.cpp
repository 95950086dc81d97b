// Text templates: any template fills without reading past its end, escaped text comes back
// unchanged, and arguments are inserted verbatim, never scanned again.
#include "fuzz/FuzzCheck.h"
#include "kova/CreateString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using kova::CreateString;

namespace {

// The template that writes text literally. Two backticks in a row have no escape (they always
// give a double quote), so such texts are not escaped.
std::string EscapeTemplate(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '\'' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

bool Escapable(std::string_view text) {
    return text.find("``") == std::string_view::npos;
}

// Splits the input at the first two NUL bytes.
std::string_view Part(std::string_view input, int index) {
    for (int i = 0; i < index; ++i) {
        const size_t nul = input.find('\0');
        if (nul == std::string_view::npos) return {};
        input.remove_prefix(nul + 1);
    }
    return input.substr(0, input.find('\0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Escapes and quote pairs only shorten; placeholders without arguments vanish.
    const std::string plain = CreateString(input);
    FUZZ_CHECK(plain.size() <= input.size());
    if (input.find_first_of("\\'`{") == std::string_view::npos) FUZZ_CHECK(plain == input);

    const std::string_view a = Part(input, 0), x = Part(input, 1), b = Part(input, 2);
    const std::string withArgs = CreateString(input, {x, b, a});
    FUZZ_CHECK(withArgs.size() <= input.size() * (1 + input.size()));
    if (input.find('{') == std::string_view::npos) FUZZ_CHECK(withArgs == plain);

    if (Escapable(input)) FUZZ_CHECK(CreateString(EscapeTemplate(input)) == input);
    if (Escapable(a) && Escapable(b)) {
        const std::string pattern = EscapeTemplate(a) + "{1}" + EscapeTemplate(b) + "{2}{1}{3}";
        FUZZ_CHECK(CreateString(pattern, {x, b}) ==
                   std::string(a) + std::string(x) + std::string(b) + std::string(b) + std::string(x));
    }
    return 0;
}
