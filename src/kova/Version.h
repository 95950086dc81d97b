// The data library's version, as the About window shows it.
#pragma once

#include <string>

namespace kova {

inline std::string GetKOVAVersion() {
    return "1.0.0";
}

} // namespace kova
