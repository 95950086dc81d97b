// KeyRegistry: member key texts numbered from 1 in the order they are first met.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vivu {

class KeyRegistry {
public:
    // The ItemCode of a key (kKeyCodeBase + its number), registering it when new.
    int32_t RegisterKey(std::string_view key);
    // The ItemCode of a registered key; 0 when it is not registered.
    int32_t CodeOf(std::string_view key) const;
    // The key registered under number (from 1); null when there is none.
    const std::string* KeyText(int32_t number) const;
    int32_t Count() const { return static_cast<int32_t>(keys_.size()); }
    void Clear();

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::vector<std::string> keys_; // number n is keys_[n - 1]
    std::unordered_map<std::string, int32_t, Hash, std::equal_to<>> numbers_;
};

} // namespace vivu
