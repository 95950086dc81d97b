// The snippet that loads the current document the way the user obtained it.
//
// The main window puts LoadingCodeGenerator(SourceKindName(combo index), model.kind,
// address box text, path box text) into the code box, reading both boxes at that moment:
//   - at start-up, after the window has been created, the last run restored and its
//     content parsed;
//   - when the current item of the source combo box changes (after the source page has
//     been switched to the same index);
//   - after a file has been loaded and parsed successfully;
//   - after a web address has been loaded and parsed successfully;
//   - when the result page's back button is clicked.
// The Parse command does not regenerate it: it empties the code box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vivu {

// SourceKind names; also what the settings file stores as the source type.
inline constexpr std::string_view kSourceClipboard = "Clipboard";
inline constexpr std::string_view kSourceWeb = "Web";
inline constexpr std::string_view kSourceFile = "File";

// The SourceKind name of the source combo box item at comboIndex (items "剪切板", "网址",
// "文件"): 1 is "Web", 2 is "File", anything else (0, or -1 for no current item) "Clipboard".
std::string_view SourceKindName(int comboIndex);

// The stored template for a source kind and a root kind (11 object, 12 array): lines joined
// with CR LF, no line break after the last, "{1}" standing for the address or the path in the
// web and file templates. Empty when rootKind names no document. A name other than "Web" or
// "File" counts as "Clipboard", as SourceKindName does for an unknown item.
std::string_view LoadingCodeTemplate(std::string_view sourceKind, int32_t rootKind);

// The code box text: the template with the web address (for "Web") or the file path (for
// "File") put in unchanged, so a Windows path keeps its single backslashes; the clipboard
// templates as stored; empty text when there is no document.
std::string LoadingCodeGenerator(std::string_view sourceKind, int32_t rootKind, std::string_view webAddress,
                                 std::string_view filePath);

} // namespace vivu
