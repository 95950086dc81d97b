// KeyRegistry: member key texts numbered from 1 in the order they are first met.
#include "view/KeyRegistry.h"

#include "view/ItemCode.h"

namespace vivu {

int32_t KeyRegistry::RegisterKey(std::string_view key) {
    if (auto found = numbers_.find(key); found != numbers_.end()) return kKeyCodeBase + found->second;
    keys_.emplace_back(key);
    const int32_t number = Count();
    numbers_.emplace(keys_.back(), number);
    return kKeyCodeBase + number;
}

int32_t KeyRegistry::CodeOf(std::string_view key) const {
    const auto found = numbers_.find(key);
    return found == numbers_.end() ? 0 : kKeyCodeBase + found->second;
}

const std::string* KeyRegistry::KeyText(int32_t number) const {
    if (number < 1 || number > Count()) return nullptr;
    return &keys_[number - 1];
}

void KeyRegistry::Clear() {
    keys_.clear();
    numbers_.clear();
}

} // namespace vivu
