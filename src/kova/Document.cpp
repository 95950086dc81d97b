// The document's blocks, its key numbers and the key indexes of large tables.
#include "kova/Document.h"

#include <algorithm>
#include <functional>

namespace kova {

namespace {

// Tables with fewer members are scanned: faster than an index there.
constexpr uint32_t kIndexedMembers = 12;
constexpr size_t kFirstChunkBytes = size_t(1) << 16;
constexpr size_t kLargestChunkBytes = size_t(1) << 26;

uint64_t HashOf(std::string_view key) {
    return std::hash<std::string_view>{}(key);
}

size_t HashOfId(uint32_t id) {
    return (id * 0x9E3779B97F4A7C15ull) >> 20;
}

} // namespace

void* Document::Allocate(size_t bytes) {
    bytes = (bytes + 7) & ~size_t(7);
    if (bytes > freeBytes_) {
        // Chunks double up to a limit, so a small document stays small and a large one takes few allocations.
        chunkBytes_ = std::min(std::max(chunkBytes_ * 2, kFirstChunkBytes), kLargestChunkBytes);
        const size_t size = std::max(chunkBytes_, bytes);
        chunks_.emplace_back(new std::byte[size]);
        free_ = chunks_.back().get();
        freeBytes_ = size;
    }
    void* at = free_;
    free_ += bytes;
    freeBytes_ -= bytes;
    return at;
}

uint32_t Document::FindKeyId(std::string_view key) const {
    return FindKeyId(key, HashOf(key));
}

// A slot holds a key number in its lower half and the upper half of the key's hash above it,
// which spares a look at the key text of most other keys on the way.
uint32_t Document::FindKeyId(std::string_view key, uint64_t hash) const {
    if (keySlots_.empty()) return 0;
    const size_t mask = keySlots_.size() - 1;
    const uint64_t tag = hash & ~uint64_t(0xFFFFFFFF);
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint64_t entry = keySlots_[slot];
        if (entry == 0) return 0;
        const uint32_t id = static_cast<uint32_t>(entry);
        if ((entry & ~uint64_t(0xFFFFFFFF)) == tag && keys_[id] == key) return id;
    }
}

void Document::AddKeySlot(uint32_t id) {
    const uint64_t hash = keyHashes_[id];
    const size_t mask = keySlots_.size() - 1;
    size_t slot = hash & mask;
    while (keySlots_[slot] != 0) slot = (slot + 1) & mask;
    keySlots_[slot] = (hash & ~uint64_t(0xFFFFFFFF)) | id;
}

uint32_t Document::InternKey(std::string_view key) {
    const uint64_t hash = HashOf(key);
    if (const uint32_t id = FindKeyId(key, hash)) return id;
    keys_.push_back(key);
    keyHashes_.push_back(hash);
    const uint32_t id = static_cast<uint32_t>(keys_.size() - 1);
    if (keys_.size() * 2 > keySlots_.size()) {
        keySlots_.assign(std::max<size_t>(64, keySlots_.size() * 2), 0);
        for (uint32_t k = 1; k <= id; ++k) AddKeySlot(k);
    } else {
        AddKeySlot(id);
    }
    return id;
}

int Document::FindMember(const NodeBlock& block, std::string_view key) const {
    const uint32_t id = FindKeyId(key);
    if (id == 0) return -1;
    const Node* nodes = block.Nodes();
    if (block.count < kIndexedMembers) {
        for (uint32_t i = 0; i < block.count; ++i)
            if (nodes[i].KeyId() == id) return static_cast<int>(i);
        return -1;
    }
    if (block.index == 0) {
        // Keys are unique within a table, so each key number goes in once.
        size_t capacity = 32;
        while (capacity < size_t(block.count) * 2) capacity *= 2;
        std::vector<uint32_t> slots(capacity, 0);
        for (uint32_t i = 0; i < block.count; ++i) {
            size_t slot = HashOfId(nodes[i].KeyId()) & (capacity - 1);
            while (slots[slot] != 0) slot = (slot + 1) & (capacity - 1);
            slots[slot] = i + 1;
        }
        memberIndexes_.push_back(std::move(slots));
        block.index = static_cast<uint32_t>(memberIndexes_.size());
    }
    const std::vector<uint32_t>& slots = memberIndexes_[block.index - 1];
    const size_t mask = slots.size() - 1;
    for (size_t slot = HashOfId(id) & mask;; slot = (slot + 1) & mask) {
        const uint32_t entry = slots[slot];
        if (entry == 0) return -1;
        if (nodes[entry - 1].KeyId() == id) return static_cast<int>(entry - 1);
    }
}

} // namespace kova
