// The editing component: scintilla.dll and, for its lexers, lexilla.dll.
#pragma once

#include <windows.h>

namespace vivu {

// Loaded once, never unloaded. Missing libraries leave their handles null; the
// editors then have no control and do nothing.
struct EditorComponent {
    const wchar_t* scintillaName = L"scintilla.dll";
    const wchar_t* lexillaName = L"lexilla.dll";
    HINSTANCE module = nullptr;       // the program's own module
    HMODULE scintilla = nullptr;      // "scintilla.dll"
    HMODULE lexilla = nullptr;        // "lexilla.dll"
    bool tabHandlingDisabled = false; // written by every editor's Create

    // Loads what is not loaded yet; called by every editor's construction.
    void Load();
    // The lexer object for a lexer number (e.g. 120, JSON), or null.
    void* CreateLexer(int lexerNumber) const;
};

} // namespace vivu
