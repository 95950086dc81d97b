// Text templates: "{1}", "{2}", ... filled with arguments.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kova {

// Fills "{n}" with argument n (from 1; empty when there is no such argument).
// In the template "\r", "\n", "\t", "\'", "\{", "\}" and "\\" are escapes, any
// other backslash stays as it is, and two single quotes or two backticks give
// one double quote (also right after a backslash, which then stays: "\''" is
// a backslash and a double quote). Arguments are inserted as they are.
std::string CreateString(std::string_view pattern, std::initializer_list<std::string_view> args = {});

} // namespace kova
