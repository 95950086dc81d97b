// Format and compress without an editor: the text parsed in place and written out piece by piece.
#pragma once

#include "kova/JsonText.h"

#include <functional>
#include <optional>
#include <string>

namespace vivu {

// Writes text formatted (mode 0) or compressed (mode 1) into sink, byte for byte what
// JsonIntake::RewriteJson leaves in the editor, without holding it whole. Returns the
// message RewriteJson would show instead, if any. The text is used up by parsing it in
// place: again gives it once more when a failure must say where it breaks.
std::optional<std::string> RewriteIntoSink(std::string text, int mode, kova::JsonSink& sink,
                                           const std::function<std::string()>& again);

} // namespace vivu
