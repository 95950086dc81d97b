// A parsed JSON document: 16-byte values in large blocks it owns, its source text and its keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

// What a node holds (4 bits).
enum NodeTag : uint8_t {
    kTagNull,
    kTagInt,
    kTagMinusZero,  // the integer 0 written "-0"
    kTagNumberText, // any other number that is not an integer of 64 bits: its source text
    kTagFalse,
    kTagTrue,
    kTagText,
    kTagMap,
    kTagList,
};

struct NodeBlock;

// One value. Texts and kept number texts lie in the document's text (strings are
// decoded in place there), containers point to the block of their children.
struct Node {
    static constexpr uint32_t kNoOffset = 0xFFFFFFFF;

    mutable uint32_t offset; // where the value begins in the text it was read from or last written to
    uint32_t keyTag;         // key number << 4 | tag; key number 0 for elements and the root
    union {
        int64_t integer;
        struct {
            uint32_t start, length;
        } text;
        const NodeBlock* block;
    } u;

    NodeTag Tag() const { return static_cast<NodeTag>(keyTag & 15); }
    uint32_t KeyId() const { return keyTag >> 4; }
};
static_assert(sizeof(Node) == 16, "a node is 16 bytes");

// A container's children, stored right behind this header.
struct NodeBlock {
    uint32_t count;
    mutable uint32_t index; // 1 + the slot of its key index, built on the first lookup; 0 none
    const Node* Nodes() const { return reinterpret_cast<const Node*>(this + 1); }
    Node* Nodes() { return reinterpret_cast<Node*>(this + 1); }
};
static_assert(sizeof(NodeBlock) == 8, "children follow the header aligned");

// Immutable once built; released with a handful of frees, whatever its depth.
class Document {
public:
    // Strict JSON in UTF-8. The text becomes the document's own: its strings are
    // decoded in place. Null with errorOffset set when the text is not JSON.
    static std::shared_ptr<const Document> Parse(std::string text, size_t* errorOffset);

    const Node& Root() const { return root_; }
    // A text node's text, or a kept number text.
    std::string_view Text(const Node& node) const { return {text_.data() + node.u.text.start, node.u.text.length}; }
    std::string_view Key(uint32_t keyId) const { return keys_[keyId]; }
    // Position of the member with that key in a table's block, or -1.
    int FindMember(const NodeBlock& block, std::string_view key) const;
    // How many values it holds, the root included.
    size_t NodeCount() const { return nodeCount_; }

    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

private:
    friend class DocumentBuilder;
    Document() = default;

    uint32_t FindKeyId(std::string_view key) const;
    uint32_t FindKeyId(std::string_view key, uint64_t hash) const;
    uint32_t InternKey(std::string_view key);
    void AddKeySlot(uint32_t id);
    void* Allocate(size_t bytes);

    std::string text_;
    Node root_{};
    size_t nodeCount_ = 0;
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    std::byte* free_ = nullptr;
    size_t freeBytes_ = 0;
    size_t chunkBytes_ = 0;
    std::vector<std::string_view> keys_{std::string_view()}; // key number → text; 0 is no key
    std::vector<uint64_t> keyHashes_{0};                     // key number → hash of its text
    std::vector<uint64_t> keySlots_; // open addressing: upper half of the hash and key number, 0 free
    mutable std::vector<std::vector<uint32_t>> memberIndexes_; // of large tables: key number → position + 1
};

using DocumentPtr = std::shared_ptr<const Document>;

} // namespace kova
