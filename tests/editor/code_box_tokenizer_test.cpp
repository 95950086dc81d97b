// The code box tokenizer: separators, the number test, directive words, quotes and positions.
#include "editor/CodeBoxStyle.h"
#include "editor/CodeBoxTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vivu {

// Failure messages show formats as {start, length, colour[, bold]}.
void PrintTo(const CodeBoxFormat& f, std::ostream* os) {
    *os << "{" << f.start << ", " << f.length << ", 0x" << std::hex << f.colour << std::dec
        << (f.bold ? ", bold}" : "}");
}

} // namespace vivu

using namespace vivu;

namespace {

TEST(CodeBoxSeparators, ListAndOrder) {
    const std::vector<std::string_view> expected = {
        ",",  "\r\n", " ", ".",  "\t", "(",  ")",  "（", "）", "[", "]",  "［", "］",
        "\"", "“",    "”", "+",  "＋", "-",  "－", "*",  "×",  "/", "÷",  "%",  "％",
        ">=", "≥",    ">", "＞", "=",  "＝", "<",  "＜", "<=", "≤", "!=", "≠",  "≈",
    };
    EXPECT_EQ(std::vector<std::string_view>(CodeBoxSeparators().begin(), CodeBoxSeparators().end()), expected);
    EXPECT_EQ(std::vector<std::string_view>(CodeBoxQuotes().begin(), CodeBoxQuotes().end()),
              (std::vector<std::string_view>{"\"", "“", "”"}));
}

struct FindCase {
    const char* name;
    std::string text;
    size_t from;
    size_t position;
    std::string_view separator;
};

constexpr size_t kNone = std::string_view::npos;

TEST(FindNextSeparator, SeparatorList) {
    const std::vector<FindCase> cases = {
        {"first of several", "ab,c d", 0, 2, ","},
        {"from skips earlier ones", "a,b,c", 2, 3, ","},
        {"from at a separator finds it", "a,b", 1, 1, ","},
        {"greater-or-equal pair wins", "a>=b", 0, 1, ">="},
        {"less-than wins over the pair", "a<=b", 0, 1, "<"},
        {"not-equal pair", "a!=b", 0, 1, "!="},
        {"lone exclamation mark is no separator", "a!b", 0, kNone, ""},
        {"CR LF", "ab\r\ncd", 0, 2, "\r\n"},
        {"lone CR and LF are no separators", "a\rb\nc", 0, kNone, ""},
        {"tab", "a\tb", 0, 1, "\t"},
        {"full-width equals after Chinese", "文件路径＝x", 0, 12, "＝"},
        {"curly opening quote", "(“x”)", 1, 1, "“"},
        {"multiplication sign", "2×3", 0, 1, "×"},
        {"greater-or-equal sign", "a≥b", 0, 1, "≥"},
        {"almost-equal sign", "a≈b", 0, 1, "≈"},
        // A full-width comma shares no character with any separator.
        {"full-width comma is no separator", "a，b", 0, kNone, ""},
        // A start inside a character moves on to the next character.
        {"start inside a character", "中,", 1, 3, ","},
        {"start inside a curly quote", "“”", 1, 3, "”"},
        {"start at the end", "a,", 2, kNone, ""},
        {"start past the end", "a,", 9, kNone, ""},
        {"empty text", "", 0, kNone, ""},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeparatorMatch match = FindNextSeparator(c.text, CodeBoxSeparators(), c.from);
        EXPECT_EQ(match.position, c.position);
        EXPECT_EQ(match.Found(), c.position != kNone);
        EXPECT_EQ(match.separator, c.separator);
    }
}

TEST(FindNextSeparator, QuoteList) {
    const std::vector<FindCase> cases = {
        {"double quote", "ab\"c", 0, 2, "\""},
        {"closing curly quote", "a b”", 0, 3, "”"},
        {"opening curly quote closes too", "ab“", 0, 2, "“"},
        {"ordinary separators are not quotes", "a, (b)", 0, kNone, ""},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeparatorMatch match = FindNextSeparator(c.text, CodeBoxQuotes(), c.from);
        EXPECT_EQ(match.position, c.position);
        EXPECT_EQ(match.separator, c.separator);
    }
}

TEST(IsNumberToken, WrittenBackExactly) {
    const struct {
        const char* token;
        bool number;
    } rows[] = {
        {"0", true},
        {"7", true},
        {"-5", true},
        {"-0", true}, // "%.13g" writes negative zero as "-0"
        {"2147483647", true},
        {"-2147483648", true},
        {"2147483648", true}, // past 32 bits the floating-point test still holds
        {"9999999999999", true},
        {"1234567890123", true},    // 13 digits
        {"-1234567890123", true},   //
        {"12345678901234", false},  // 14 digits: "%.13g" gives 1.234567890123e+13
        {"-12345678901234", false}, //
        {"10000000000000", false},  // 1e+13
        {"007", false},
        {"00", false},
        {"-07", false},
        {"+5", false},
        {" 5", false},
        {"5 ", false},
        {"5a", false},
        {"1e5", false},
        {"1e+05", false},
        {"0x10", false},
        {"0.5", true}, // cannot be one token in the box ("." separates), but the rule allows it
        {"1.0", false},
        {"inf", false},
        {"-inf", false},
        {"nan", false},
        {"-", false},
        {"", false},
        {"１２", false}, // full-width digits
        {"真", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsNumberToken(row.token), row.number) << row.token;
}

// Short names for the expected formats.
CodeBoxFormat Directive(size_t start, size_t length) {
    return {start, length, kCodeBoxSeparatorColour, true};
}
CodeBoxFormat Sep(size_t start, size_t length = 1) {
    return {start, length, kCodeBoxSeparatorColour, false};
}
CodeBoxFormat Word(size_t start, size_t length) {
    return {start, length, kCodeBoxWordColour, false};
}
CodeBoxFormat Number(size_t start, size_t length) {
    return {start, length, kCodeBoxNumberColour, false};
}
CodeBoxFormat Boolean(size_t start, size_t length) {
    return {start, length, kCodeBoxBooleanColour, false};
}
CodeBoxFormat Quoted(size_t start, size_t length) {
    return {start, length, kCodeBoxQuotedColour, false};
}

struct TokenCase {
    const char* name;
    std::string text;
    std::vector<CodeBoxFormat> formats;
};

void ExpectFormats(const std::vector<TokenCase>& cases) {
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TokenizeCodeBox(c.text), c.formats);
    }
}

TEST(TokenizeCodeBox, DirectiveWords) {
    ExpectFormats({
        {"empty text", "", {}},
        // The space after the word is not formatted: it keeps the default.
        {"word and space end directive mode", ".版本 2", {Directive(0, 3), Number(4, 1)}},
        {"following lines are tokens",
         ".版本 2\r\n.支持库 kova",
         {Directive(0, 3), Number(4, 1), Sep(5), Word(6, 4), Sep(10), Word(11, 4)}},
        {"lines of one word each stay directives",
         ".a\r\n.bc\r\nd e",
         {Directive(0, 2), Directive(3, 3), Word(7, 1), Sep(8), Word(9, 1)}},
        {"a dot alone is a word", ".", {Word(0, 1)}},
        {"a dot word with no separator is a word", ".abc", {Word(0, 4)}},
        {"dot right before a separator", "., x", {Directive(0, 1), Word(2, 2)}},
        {"a dot word after a space is a token", ".a .b c", {Directive(0, 2), Word(3, 2), Sep(5), Word(6, 1)}},
        {"text not starting with a dot", "a.b", {Word(0, 1), Sep(1), Word(2, 1)}},
        {"leading space", " .a", {Word(0, 1), Sep(1), Word(2, 1)}},
    });
}

TEST(TokenizeCodeBox, Numbers) {
    ExpectFormats({
        {"13 against 14 digits",
         "x 1234567890123 12345678901234",
         {Word(0, 1), Sep(1), Number(2, 13), Sep(15), Word(16, 14)}},
        {"leading zeros", "x 007,0", {Word(0, 1), Sep(1), Word(2, 3), Sep(5), Number(6, 1)}},
        // The minus sign after a separator starts the token; a plus sign does too, but then it is no number.
        {"negative after a separator", "x -5", {Word(0, 1), Sep(1), Number(2, 2)}},
        {"plus after a separator", "x +5", {Word(0, 1), Sep(1), Word(2, 2)}},
        {"minus between tokens separates", "a-5", {Word(0, 1), Sep(1), Number(2, 1)}},
        {"decimal fraction is two numbers", "x 3.14", {Word(0, 1), Sep(1), Number(2, 1), Sep(3), Number(4, 2)}},
        {"booleans", "真 假 真假", {Boolean(0, 1), Sep(1), Boolean(2, 1), Sep(3), Word(4, 2)}},
    });
}

TEST(TokenizeCodeBox, Separators) {
    ExpectFormats({
        {"greater or equal is one separator", "a>=b", {Word(0, 1), Sep(1, 2), Word(3, 1)}},
        {"less or equal splits after the less-than", "a<=b", {Word(0, 1), Sep(1), Word(2, 2)}},
        {"two separators in a row", "a,,b", {Word(0, 1), Sep(1), Word(2, 2)}},
        {"separator then space", "a, b", {Word(0, 1), Sep(1), Word(2, 2)}},
        {"text ending in a separator", "a,", {Word(0, 1), Sep(1)}},
        {"full-width separators", "甲＋乙≠丙", {Word(0, 1), Sep(1), Word(2, 1), Sep(3), Word(4, 1)}},
    });
}

TEST(TokenizeCodeBox, Quotes) {
    ExpectFormats({
        {"curly quotes after a token", "(“abc def”)", {Word(0, 1), Sep(1), Quoted(1, 9), Word(10, 1)}},
        {"double quotes", "a\"b,c\"d", {Word(0, 1), Sep(1), Quoted(1, 5), Word(6, 1)}},
        {"any mark closes", "a“b\"c", {Word(0, 1), Sep(1), Quoted(1, 3), Word(4, 1)}},
        {"closing mark right away", "a“”b", {Word(0, 1), Sep(1), Quoted(1, 2), Word(3, 1)}},
        {"closing mark alone opens nothing", "a”b”c", {Word(0, 1), Sep(1), Word(2, 1), Sep(3), Word(4, 1)}},
        {"unclosed quote", "a“bc d", {Word(0, 1), Sep(1), Word(2, 2), Sep(4), Word(5, 1)}},
        // A quotation mark that follows another separator starts a token instead of a quoted text.
        {"quote after a separator", "a “b”", {Word(0, 1), Sep(1), Word(2, 2), Sep(4)}},
    });
}

TEST(TokenizeCodeBox, Positions) {
    ExpectFormats({
        {"CR LF is one position", "a\r\nb\r\n5", {Word(0, 1), Sep(1), Word(2, 1), Sep(3), Number(4, 1)}},
        {"Chinese characters are one position each",
         "键值表.取文本 (“//名”)",
         {Word(0, 3), Sep(3), Word(4, 3), Sep(7), Word(8, 1), Sep(9), Quoted(9, 5), Word(14, 1)}},
        {"outside the BMP takes two", "😀 5", {Word(0, 2), Sep(2), Number(3, 1)}},
        {"CR LF starting a token", "a,\r\nb", {Word(0, 1), Sep(1), Word(2, 2)}},
    });
}

TEST(TokenizeCodeBox, AccessSnippet) {
    // ".版本 2" / ".支持库 kova" / ".局部变量 结果列表, 存取列表" / "列表.取列表 (“//[1].tags”, 结果列表)"
    const std::string text =
        ".版本 2\r\n.支持库 kova\r\n.局部变量 结果列表, 存取列表\r\n列表.取列表 (“//[1].tags”, 结果列表)";
    const std::vector<CodeBoxFormat> expected = {
        Directive(0, 3), Number(4, 1), Sep(5),                                         // .版本 2
        Word(6, 4),      Sep(10),      Word(11, 4), Sep(15),                           // .支持库 kova
        Word(16, 5),     Sep(21),      Word(22, 4), Sep(26),     Word(27, 5), Sep(32), // .局部变量 结果列表, 存取列表
        Word(33, 2),     Sep(35),      Word(36, 3), Sep(39),     Word(40, 1), Sep(41), // 列表.取列表 (
        Quoted(41, 12),  Word(53, 1),  Sep(54),     Word(55, 4), Sep(59), // “//[1].tags”, 结果列表)
    };
    EXPECT_EQ(TokenizeCodeBox(text), expected);
}

} // namespace
