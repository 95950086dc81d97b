// Start-up and shutdown of kova-json.exe.
#include "app/ProcessObjects.h"
#include "app/SettingsLocation.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "ui/MainWindow.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

// %LOCALAPPDATA%\KOVA.VivuDivezi, for a program unpacked where it cannot write; empty without LOCALAPPDATA.
std::string UserDataDir() {
    const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (size == 0) return {};
    std::wstring dir(size, L'\0');
    dir.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", dir.data(), size));
    if (dir.empty()) return {};
    return kova::PathJoin(kova::WideToUtf8(dir), vivu::kUserDataFolderName);
}

// The first argument as a full path (a relative one is taken from the current folder), or empty.
std::string StartFile() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return {};
    std::wstring name = count > 1 ? args[1] : L"";
    LocalFree(args);
    if (name.empty()) return {};
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return kova::WideToUtf8(name);
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(name.c_str(), size, full.data(), nullptr));
    return kova::WideToUtf8(full);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_LINK_CLASS |
                     ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    vivu::ProcessObjects objects;
    objects.userDataDir = UserDataDir();
    objects.startFile = StartFile();
    objects.Create();
    int exitCode = 0;
    {
        vivu::MainWindow window(objects);
        if (!window.Create(showCommand)) return 1;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (window.TranslateShortcut(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
    }
    objects.TearDown();
    return exitCode;
}
