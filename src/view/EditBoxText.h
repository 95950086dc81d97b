// Text as a multi-line edit box needs it.
#pragma once

#include <string>
#include <string_view>

namespace vivu {

// A multi-line edit box breaks lines only at CR LF: lone LFs become CR LF.
std::string EditBoxText(std::string_view text);

} // namespace vivu
