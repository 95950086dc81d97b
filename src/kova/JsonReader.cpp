// The strict JSON reader: RapidJSON's iterative SAX parser, in place, building a document.
#include "kova/Document.h"
#include "kova/JsonText.h"
#include "kova/Value.h"

#include <rapidjson/reader.h>
#include <rapidjson/stream.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <vector>

namespace kova {

namespace {

// The reader turns a lone "\uDC00".."\uDFFF" escape into the bytes of a surrogate, which are
// not UTF-8: the text could be neither shown nor written back. Where the first such escape
// begins, or npos. Looked for before the strings are decoded in place, which moves them. Only
// meaningful up to where the reader got: there every backslash is inside a string, and a high
// surrogate escape is always followed by the low one it pairs with.
size_t LoneLowSurrogateEscape(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    bool pairing = false; // the escape before was a high surrogate
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\\', end - at))) != nullptr;) {
        if (end - at < 6 || at[1] != 'u') {
            at += std::min<std::ptrdiff_t>(2, end - at); // an escape of one character (or the text ends)
            pairing = false;
            continue;
        }
        // D800..DBFF is a high surrogate, DC00..DFFF a low one.
        const char first = static_cast<char>(at[2] | 0x20), second = static_cast<char>(at[3] | 0x20);
        const bool high = first == 'd' && (second == '8' || second == '9' || second == 'a' || second == 'b');
        const bool low = first == 'd' && second >= 'c' && second <= 'f';
        if (low && !pairing) return at - begin;
        pairing = high && !pairing;
        at += 6;
    }
    return std::string_view::npos;
}

bool IsTokenCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '+' ||
           c == '-';
}

// Where a refused literal or number begins, when the reader stopped inside or right after
// one: a user looks for the start of the bad word. Any other place stays as it is. Literals
// and numbers are never moved by decoding in place, so the text still shows them.
size_t StartOfRefusedToken(std::string_view text, rapidjson::ParseErrorCode code, size_t offset) {
    const auto wordBefore = [&](size_t at) {
        while (at > 0 && IsTokenCharacter(text[at - 1])) --at;
        return at;
    };
    switch (code) {
    case rapidjson::kParseErrorValueInvalid:
    case rapidjson::kParseErrorNumberMissFraction:
    case rapidjson::kParseErrorNumberMissExponent:
        return wordBefore(offset); // the token being read ends here, finished or not
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
    case rapidjson::kParseErrorDocumentRootNotSingular:
        // A number or literal read whole but followed by more of a word ("01", "1.5.3", "truex").
        if (offset < text.size() && offset > 0 && IsTokenCharacter(text[offset]) && IsTokenCharacter(text[offset - 1]))
            return wordBefore(offset);
        return offset;
    default:
        return offset;
    }
}

constexpr unsigned kReadFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag |
                                rapidjson::kParseValidateEncodingFlag | rapidjson::kParseInsituFlag;

} // namespace

// Builds nodes from reader events. Children of open containers collect on one
// stack and are copied into a block of the document when their container closes.
class DocumentBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentBuilder> {
public:
    DocumentBuilder(Document& document, rapidjson::InsituStringStream& stream)
        : doc_(document), stream_(stream), base_(document.text_.data()) {
        stack_.reserve(1024);
    }

    bool Null() { return Put(Scalar(kTagNull, Here() - 4)); }
    bool Bool(bool b) { return Put(Scalar(b ? kTagTrue : kTagFalse, Here() - (b ? 4 : 5))); }
    bool RawNumber(const char* str, rapidjson::SizeType length, bool) { return Put(Number(str, length)); }
    bool String(const char* str, rapidjson::SizeType length, bool) {
        // Decoded in place: the text starts right behind its opening quote.
        const uint32_t start = static_cast<uint32_t>(str - base_);
        Node node = Scalar(kTagText, start - 1);
        node.u.text = {start, length};
        return Put(node);
    }
    bool Key(const char* str, rapidjson::SizeType length, bool) {
        key_ = doc_.InternKey(std::string_view(str, length));
        if (key_ >= seen_.size()) {
            seen_.resize(key_ * 2 + 16, 0);
            place_.resize(seen_.size());
        }
        return true;
    }
    bool StartObject() { return Open(false); }
    bool StartArray() { return Open(true); }
    bool EndObject(rapidjson::SizeType) { return Close(kTagMap); }
    bool EndArray(rapidjson::SizeType) { return Close(kTagList); }

private:
    struct Frame {
        size_t start; // where this container's children begin on the stack
        uint32_t offset;
        uint32_t key;
    };

    // Right for events of null, booleans and containers (called before the bracket is taken):
    // the reader reads strings and numbers on a copy of the stream.
    uint32_t Here() { return static_cast<uint32_t>(stream_.Tell()); }

    Node Scalar(NodeTag tag, uint32_t offset) {
        Node node{};
        node.offset = offset;
        node.keyTag = (key_ << 4) | tag;
        key_ = 0;
        return node;
    }

    // Integers are kept as their value (their text is its decimal form, "-0" aside); every
    // other number as its text, so that it is written back exactly as it was read.
    Node Number(const char* text, size_t length) {
        Node node = Scalar(kTagInt, static_cast<uint32_t>(text - base_));
        const std::string_view view(text, length);
        if (view.find_first_of(".eE") == std::string_view::npos) {
            auto [end, ec] = std::from_chars(text, text + length, node.u.integer);
            if (ec == std::errc() && end == text + length) {
                if (node.u.integer == 0 && text[0] == '-') node.keyTag = (node.keyTag & ~15u) | kTagMinusZero;
                return node;
            }
            // beyond 64 bits: kept as text, read as a double
        }
        node.keyTag = (node.keyTag & ~15u) | kTagNumberText;
        node.u.text = {node.offset, static_cast<uint32_t>(length)};
        return node;
    }

    bool Put(const Node& node) {
        ++doc_.nodeCount_;
        if (open_.empty())
            doc_.root_ = node;
        else
            stack_.push_back(node);
        return true;
    }

    bool Open(bool isList) {
        (void)isList;
        open_.push_back(Frame{stack_.size(), Here(), key_});
        key_ = 0;
        return true;
    }

    // Of duplicate keys the last value wins, at the first key's place.
    void DropDuplicateKeys(size_t start) {
        ++serial_;
        size_t i = start;
        for (; i < stack_.size(); ++i) {
            const uint32_t k = stack_[i].KeyId();
            if (seen_[k] == serial_) break;
            seen_[k] = serial_;
            place_[k] = static_cast<uint32_t>(i);
        }
        if (i == stack_.size()) return;
        size_t kept = i;
        for (; i < stack_.size(); ++i) {
            const uint32_t k = stack_[i].KeyId();
            if (seen_[k] == serial_) {
                stack_[place_[k]] = stack_[i];
            } else {
                seen_[k] = serial_;
                place_[k] = static_cast<uint32_t>(kept);
                stack_[kept++] = stack_[i];
            }
        }
        stack_.resize(kept);
    }

    bool Close(NodeTag tag) {
        const Frame frame = open_.back();
        open_.pop_back();
        if (tag == kTagMap) DropDuplicateKeys(frame.start);
        const size_t count = stack_.size() - frame.start;
        auto* block = static_cast<NodeBlock*>(doc_.Allocate(sizeof(NodeBlock) + count * sizeof(Node)));
        block->count = static_cast<uint32_t>(count);
        block->index = 0;
        if (count) std::memcpy(static_cast<void*>(block->Nodes()), stack_.data() + frame.start, count * sizeof(Node));
        stack_.resize(frame.start);
        Node node{};
        node.offset = frame.offset;
        node.keyTag = (frame.key << 4) | tag;
        node.u.block = block;
        return Put(node);
    }

    Document& doc_;
    rapidjson::InsituStringStream& stream_;
    const char* base_;
    std::vector<Frame> open_;
    std::vector<Node> stack_;
    uint32_t key_ = 0; // of the value that comes next
    // Duplicate keys of the table being closed: when each key number was last seen, and where.
    std::vector<uint32_t> seen_;
    std::vector<uint32_t> place_;
    uint32_t serial_ = 0;
};

DocumentPtr Document::Parse(std::string text, size_t* errorOffset) {
    if (text.size() >= Node::kNoOffset) { // positions are kept in 32 bits
        if (errorOffset) *errorOffset = 0;
        return nullptr;
    }
    std::shared_ptr<Document> document(new Document());
    const size_t size = text.size();
    const size_t loneSurrogate = LoneLowSurrogateEscape(text);
    // Zero bytes past the end: the in-place reader takes the rest of a multi-byte
    // character before checking it, even at the end of the text.
    text.append(kJsonReadPadding, '\0');
    document->text_ = std::move(text);
    rapidjson::InsituStringStream stream(document->text_.data()); // std::string ends in a zero byte
    DocumentBuilder builder(*document, stream);
    rapidjson::Reader reader;
    rapidjson::ParseResult result = reader.Parse<kReadFlags>(stream, builder);
    size_t offset = std::string_view::npos;
    if (!result)
        offset = StartOfRefusedToken(std::string_view(document->text_.data(), size), result.Code(), result.Offset());
    else if (stream.Tell() != size)
        offset = stream.Tell(); // the reader stops at a zero byte as if the text ended there
    offset = std::min(offset, loneSurrogate);
    if (offset != std::string_view::npos) {
        if (errorOffset) *errorOffset = offset;
        return nullptr;
    }
    return document;
}

bool ParseJsonText(std::string json, Value& root, size_t* errorOffset) {
    DocumentPtr document = Document::Parse(std::move(json), errorOffset);
    if (!document) return false;
    const Node& node = document->Root();
    root = Value::InDocument(std::move(document), node);
    return true;
}

} // namespace kova
