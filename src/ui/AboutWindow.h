// The "关于" window: the program's name and version, the data library's version,
// the maker's links and the update notes from NEWS.txt.
#pragma once

#include "ui/WindowBase.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace vivu {

// Control ids, for finding the window's controls; "确定" is IDOK.
enum AboutControlId : int {
    kAboutTabs = 1001,
    kAboutPageAbout,
    kAboutPageNews,
    kAboutBanner,
    kAboutLogo,
    kAboutTitle,
    kAboutVersion,
    kAboutKovaVersion,
    kAboutRights,
    kAboutWebLink,
    kAboutSupportLink,
    kAboutRule,
    kAboutDescription,
    kAboutNews,
};

// The logo is an RCDATA resource of this name in the executable: AboutWindow.rc
// must be linked into it (CMake: link the target about_win).
inline constexpr wchar_t kAboutLogoResource[] = L"VIVU_ABOUT_LOGO";

// NEWS.txt in the program's directory.
std::string DefaultNewsPath();

class AboutWindow final : public WindowBase {
public:
    // Opens the window modally, owned by owner, and returns when it is closed.
    // mainCaption (UTF-8) is the main window's caption, shown after "关于 ". The
    // update notes are read from newsPath (default NEWS.txt beside the program)
    // on every opening, in whatever encoding the file has.
    static void ShowModal(HWND owner, std::string_view mainCaption, std::string_view newsPath = {});

    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

private:
    explicit AboutWindow(std::string_view newsPath);
    ~AboutWindow() override;

    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(int oldDpi) override;
    LRESULT HandlePanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

    void Create();
    void DeleteFonts();
    void CreateControls();
    void LoadLogo(HWND picture);
    void LoadNews();
    void ShowPage(int page);
    HBRUSH ControlColour(HWND control, HDC dc);
    void LinkClicked(LPARAM nmlink);

    HWND tabs_ = nullptr;
    HWND pages_[2] = {};
    POINT pageOrigin_{}; // page coordinates are the tab control's, the pages start lower
    HWND banner_ = nullptr;
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
    HBITMAP logo_ = nullptr;
    HBRUSH bannerBrush_ = nullptr;
    std::string newsPath_;
};

} // namespace vivu
