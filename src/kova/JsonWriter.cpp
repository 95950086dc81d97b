// The JSON writer: pretty (CR LF, 4 spaces) or compact, without recursion.
#include "kova/JsonText.h"

#include "kova/Encoding.h"

#include <algorithm>
#include <vector>

namespace kova {

namespace {

const char kHex[] = "0123456789abcdef";

void AppendUnicodeEscape(std::string& out, uint32_t unit) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

// Writes a JSON string. Invalid UTF-8 becomes U+FFFD so the output always reads back.
void AppendQuoted(std::string& out, std::string_view s, bool escapeUnicode) {
    out += '"';
    size_t run = 0; // start of bytes copied unchanged
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80) {
            ++i;
            continue;
        }
        uint32_t cp = 0;
        size_t length = 1;
        if (c >= 0x80) {
            length = DecodeUtf8(s, i, cp);
            if (length != 0 && !escapeUnicode) {
                i += length;
                continue;
            }
        }
        out.append(s.data() + run, i - run);
        if (c >= 0x80) {
            if (length == 0) {
                length = 1;
                cp = 0xFFFD;
                if (!escapeUnicode) out += "\xEF\xBF\xBD";
            }
            if (escapeUnicode) {
                if (cp >= 0x10000) {
                    AppendUnicodeEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
                    AppendUnicodeEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
                } else {
                    AppendUnicodeEscape(out, cp);
                }
            }
        } else {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                AppendUnicodeEscape(out, c);
            }
        }
        i += length;
        run = i;
    }
    out.append(s.data() + run, s.size() - run);
    out += '"';
}

std::string Base64(std::string_view bytes) {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += table[(n >> 18) & 63];
        out += table[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? table[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? table[n & 63] : '=';
    }
    return out;
}

// Thrown inside the writer when the text outgrows options.maxBytes, or reaches options.truncateAt.
struct TooLong {};
struct LongEnough {};

} // namespace

size_t PrettyLayoutBytes(const ValueRef& value) {
    struct Open {
        ValueRef container;
        size_t depth;
    };
    std::vector<Open> open;
    size_t total = 0;
    auto visit = [&](const ValueRef& v, size_t depth) {
        if (v.Count() > 0) open.push_back({v, depth});
    };
    visit(value, 0);
    while (!open.empty()) {
        const Open at = open.back();
        open.pop_back();
        const size_t count = at.container.Count();
        // A line per element at depth + 1, and the closing line at depth.
        total += count * (2 + 4 * (at.depth + 1)) + 2 + 4 * at.depth;
        for (size_t i = 0; i < count; ++i) visit(at.container.At(i), at.depth + 1);
    }
    return total;
}

namespace {

class Writer {
public:
    Writer(std::string& out, const JsonWriteOptions& options, JsonSink* sink = nullptr)
        : out_(out), options_(options), sink_(sink) {}

    void Write(const ValueRef& root) {
        WriteValue(root);
        while (!open_.empty()) {
            if (options_.maxBytes && out_.size() > options_.maxBytes) throw TooLong{};
            if (options_.truncateAt && out_.size() >= options_.truncateAt) throw LongEnough{};
            if (sink_ && out_.size() >= kSinkPiece) {
                sink_->Take(out_);
                out_.clear();
            }
            Frame& frame = open_.back();
            if (frame.next == frame.count) {
                const bool isList = frame.isList;
                open_.pop_back();
                NewLine(open_.size());
                out_ += isList ? ']' : '}';
                continue;
            }
            if (frame.next > 0) out_ += ',';
            NewLine(open_.size());
            const size_t at = frame.order.empty() ? frame.next : frame.order[frame.next];
            ++frame.next;
            const ValueRef child = frame.container.At(at);
            if (!frame.isList) {
                AppendQuoted(out_, frame.container.KeyAt(at), options_.escapeUnicode);
                out_ += options_.pretty ? ": " : ":";
            }
            WriteValue(child); // may grow open_: frame is not used after this
        }
        if (sink_ && !out_.empty()) sink_->Take(out_);
    }

    static constexpr size_t kSinkPiece = size_t(1) << 20;

private:
    struct Frame {
        ValueRef container;
        bool isList;
        size_t next;
        size_t count;
        std::vector<uint32_t> order; // member order when keys are sorted
    };

    void WriteValue(const ValueRef& v) {
        if (options_.rebaseOffsets)
            if (const Node* node = v.DocumentNode()) node->offset = static_cast<uint32_t>(out_.size());
        switch (v.Type()) {
        case kTypeNull:
            out_ += "null";
            break;
        case kTypeBool:
            out_ += v.AsBool() ? "true" : "false";
            break;
        case kTypeInt:
        case kTypeLong:
        case kTypeDouble:
        case kTypeFloat:
            AppendNumberText(out_, v, options_.decimals);
            break;
        case kTypeBytes:
            AppendQuoted(out_, Base64(v.Str()), false);
            break;
        case kTypeMap:
        case kTypeList:
            Open(v);
            break;
        default:
            AppendQuoted(out_, v.Str(), options_.escapeUnicode);
            break;
        }
    }

    void Open(const ValueRef& v) {
        const bool isList = v.Type() == kTypeList;
        const size_t count = v.Count();
        if (count == 0) {
            out_ += isList ? "[]" : "{}";
            return;
        }
        out_ += isList ? '[' : '{';
        Frame frame{v, isList, 0, count, {}};
        if (!isList && options_.keyOrder != 0) {
            frame.order.resize(count);
            for (uint32_t i = 0; i < frame.order.size(); ++i) frame.order[i] = i;
            const bool ascending = options_.keyOrder == 1;
            std::stable_sort(frame.order.begin(), frame.order.end(), [&v, ascending](uint32_t a, uint32_t b) {
                return ascending ? v.KeyAt(a) < v.KeyAt(b) : v.KeyAt(b) < v.KeyAt(a);
            });
        }
        open_.push_back(std::move(frame));
    }

    void NewLine(size_t depth) {
        if (!options_.pretty) return;
        out_ += "\r\n";
        out_.append(depth * 4, ' ');
    }

    std::string& out_;
    const JsonWriteOptions& options_;
    JsonSink* sink_;
    std::vector<Frame> open_;
};

} // namespace

std::string WriteJsonText(const ValueRef& value, const JsonWriteOptions& options) {
    const size_t layout = options.pretty && (options.maxBytes || options.sizeHint) ? PrettyLayoutBytes(value) : 0;
    if (options.maxBytes && layout > options.maxBytes) return std::string();
    std::string out;
    if (options.sizeHint) {
        const size_t expected = options.sizeHint + layout;
        out.reserve(options.maxBytes ? std::min(expected, options.maxBytes) : expected);
    }
    try {
        Writer(out, options).Write(value);
    } catch (const TooLong&) {
        return std::string();
    } catch (const LongEnough&) {
    }
    if (options.truncateAt && out.size() > options.truncateAt) out.resize(Utf8Boundary(out, options.truncateAt));
    if (options.maxBytes && out.size() > options.maxBytes) return std::string();
    return out;
}

void WriteJsonText(const ValueRef& value, const JsonWriteOptions& options, JsonSink& sink) {
    JsonWriteOptions streamed = options;
    streamed.maxBytes = streamed.truncateAt = 0;
    streamed.rebaseOffsets = false; // offsets count from the start of one text
    std::string piece;
    piece.reserve(2 * Writer::kSinkPiece);
    Writer(piece, streamed, &sink).Write(value);
}

} // namespace kova
