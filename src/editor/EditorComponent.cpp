// Loading Scintilla and Lexilla at run time.
#include "editor/EditorComponent.h"

namespace vivu {

namespace {
template <typename F> F Proc(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}
} // namespace

void EditorComponent::Load() {
    if (!module) module = GetModuleHandleW(nullptr);
    if (!scintilla) scintilla = LoadLibraryW(scintillaName);
    if (!lexilla) lexilla = LoadLibraryW(lexillaName);
}

void* EditorComponent::CreateLexer(int lexerNumber) const {
    // Scintilla 5 keeps its lexers in Lexilla, which names them; numbers map to names.
    using NameFromId = const char*(__stdcall*)(int);
    using Create = void*(__stdcall*)(const char*);
    auto nameFromId = Proc<NameFromId>(lexilla, "LexerNameFromID");
    auto create = Proc<Create>(lexilla, "CreateLexer");
    if (!nameFromId || !create) return nullptr;
    const char* name = nameFromId(lexerNumber);
    return name ? create(name) : nullptr;
}

} // namespace vivu
