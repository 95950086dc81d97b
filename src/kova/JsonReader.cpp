// The strict JSON reader: RapidJSON's iterative SAX parser feeding our values.
#include "kova/JsonText.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace kova {

namespace {

Value ParseNumber(const char* text, size_t length) {
    std::string_view view(text, length);
    const bool integral = view.find_first_of(".eE") == std::string_view::npos;
    if (integral) {
        int64_t v = 0;
        auto [end, ec] = std::from_chars(text, text + length, v);
        if (ec == std::errc() && end == text + length) return Value::Integer(v);
        // beyond 64 bits: a double that keeps its digits
    }
    double d = 0;
    auto [end, ec] = std::from_chars(text, text + length, d);
    if (ec == std::errc() && std::isfinite(d) && !integral && SameDecimal(view, d)) return Value::Real(d);
    if (ec != std::errc()) d = std::strtod(std::string(view).c_str(), nullptr); // over- or underflow
    return Value::Number(d, std::string(view));
}

// The reader turns a lone "\uDC00".."\uDFFF" escape into the bytes of a surrogate,
// which are not UTF-8: the text could be neither shown nor written back. Valid input
// bytes never contain them, so only escapes can produce ED A0..BF.
bool HasEncodedSurrogate(const char* text, size_t length) {
    const char* end = text + length;
    for (const char* at = text; (at = static_cast<const char*>(std::memchr(at, '\xED', end - at))) != nullptr; ++at)
        if (at + 1 < end && static_cast<unsigned char>(at[1]) >= 0xA0) return true;
    return false;
}

// Builds values from reader events with an explicit stack of open containers.
class Builder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Builder> {
public:
    explicit Builder(Value& root) : root_(root) {}

    bool Null() { return Put(Value()); }
    bool Bool(bool b) { return Put(Value::Boolean(b)); }
    bool RawNumber(const char* str, rapidjson::SizeType length, bool) { return Put(ParseNumber(str, length)); }
    bool String(const char* str, rapidjson::SizeType length, bool) {
        if (HasEncodedSurrogate(str, length)) return false;
        return Put(Value::Text(std::string(str, length)));
    }
    bool Key(const char* str, rapidjson::SizeType length, bool) {
        if (HasEncodedSurrogate(str, length)) return false;
        open_.back().key.assign(str, length);
        return true;
    }
    bool StartObject() { return Open(kTypeMap); }
    bool StartArray() { return Open(kTypeList); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

private:
    struct Frame {
        Container* container;
        bool isList;
        std::string key;
        size_t start; // where this container's values begin on its stack
    };

    // Values of open containers collect on two stacks and move into their
    // container, sized exactly, when it closes: one allocation per container.
    bool Put(Value value) {
        if (open_.empty()) {
            root_ = std::move(value);
        } else if (open_.back().isList) {
            items_.push_back(std::move(value));
        } else {
            members_.push_back(Member{std::move(open_.back().key), std::move(value)});
        }
        return true;
    }

    bool Open(int32_t type) {
        auto container = std::make_shared<Container>();
        Container* raw = container.get();
        Put(Value::OfContainer(type, std::move(container)));
        const bool isList = type == kTypeList;
        open_.push_back(Frame{raw, isList, {}, isList ? items_.size() : members_.size()});
        return true;
    }

    bool Close() {
        Frame& frame = open_.back();
        if (frame.isList) {
            frame.container->items.assign(std::make_move_iterator(items_.begin() + frame.start),
                                          std::make_move_iterator(items_.end()));
            items_.resize(frame.start);
        } else {
            auto& members = frame.container->members;
            members.reserve(members_.size() - frame.start);
            // Of duplicate keys the last value wins, at the first key's place.
            for (size_t i = frame.start; i < members_.size(); ++i)
                frame.container->SetMember(std::move(members_[i].key), std::move(members_[i].value));
            members_.resize(frame.start);
        }
        open_.pop_back();
        return true;
    }

    Value& root_;
    std::vector<Frame> open_;
    std::vector<Member> members_;
    std::vector<Value> items_;
};

constexpr unsigned kReadFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;

} // namespace

bool ParseJsonText(std::string_view json, Value& root, size_t* errorOffset) {
    Value parsed;
    Builder builder(parsed);
    rapidjson::MemoryStream stream(json.data(), json.size());
    rapidjson::Reader reader;
    rapidjson::ParseResult result = reader.Parse<kReadFlags>(stream, builder);
    size_t offset = result ? stream.Tell() : result.Offset();
    // The reader stops at a zero byte as if the text ended there; the rest must not be ignored.
    bool ok = result && offset == json.size();
    if (!ok) {
        if (errorOffset) *errorOffset = offset;
        return false;
    }
    root = std::move(parsed);
    return true;
}

} // namespace kova
