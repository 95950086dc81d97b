// The About window: a window with a two-page tab control whose pages are panels holding the controls.
#include "ui/AboutWindow.h"

#include "app/ProgramVersion.h"
#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "kova/Version.h"
#include "ui/AvailableFace.h"
#include "ui/ControlColours.h"
#include "ui/Dpi.h"
#include "ui/ModalLoop.h"
#include "ui/MonitorPlacement.h"
#include "ui/PngImage.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace vivu {

namespace {

constexpr std::string_view kProgramName = "KOVA.VivuDivezi";
constexpr std::string_view kProgramVersion = kVersion;
constexpr std::string_view kBuildDate = "2020/4/4";
constexpr std::string_view kWebAddress = "https://kova.example.com/";
constexpr std::string_view kWebAddressShown = "kova.example.com";
constexpr std::string_view kSupportAddress = "https://kova.example.com/support";

constexpr wchar_t kWindowClass[] = L"VivuAboutWindow";
constexpr wchar_t kPanelClass[] = L"VivuAboutPanel";
constexpr COLORREF kBannerColour = RGB(0, 122, 204);
constexpr COLORREF kBannerText = RGB(255, 255, 255);
constexpr int kWindowX = 50, kWindowY = 50, kWindowWidth = 444, kWindowHeight = 350;

enum ParentKind { kOnWindow, kOnPageAbout, kOnPageNews, kOnBanner };

struct ControlRow {
    ParentKind parent;
    const wchar_t* windowClass;
    int id;
    int x, y, width, height;
    DWORD style;
    std::string text; // UTF-8
    bool titleFont = false;
};

std::string LinkMarkup(std::string_view address, std::string_view shown) {
    return kova::CreateString("<a href=''{1}''>{2}</a>", {address, shown});
}

// The window's template: geometry in the parent's client coordinates.
std::vector<ControlRow> ControlRows() {
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    return {
        {kOnPageAbout, kPanelClass, kAboutBanner, 12, 36, 400, 56, WS_CLIPCHILDREN, ""},
        {kOnBanner, WC_STATICW, kAboutLogo, 10, 12, 119, 32, SS_BITMAP | SS_REALSIZECONTROL, ""},
        {kOnBanner, WC_STATICW, kAboutTitle, 156, 0, 232, 56, label | SS_CENTERIMAGE, "VivuDivezi", true},
        {kOnPageAbout, WC_STATICW, kAboutVersion, 20, 100, 384, 20, label,
         kova::CreateString("{1} 版本 {2} - {3}", {kProgramName, kProgramVersion, kBuildDate})},
        {kOnPageAbout, WC_STATICW, kAboutKovaVersion, 20, 120, 384, 20, label,
         kova::CreateString("Powered By KOVA {1}", {kova::GetKOVAVersion()})},
        {kOnPageAbout, WC_STATICW, kAboutRights, 20, 140, 384, 20, label,
         "Copyright © 2020 VivuDivezi. 保留所有权利。"},
        {kOnPageAbout, WC_LINK, kAboutWebLink, 12, 164, 116, 20, WS_TABSTOP, LinkMarkup(kWebAddress, kWebAddressShown)},
        {kOnPageAbout, WC_LINK, kAboutSupportLink, 336, 164, 76, 20, WS_TABSTOP,
         LinkMarkup(kSupportAddress, "技术支持")},
        {kOnPageAbout, WC_STATICW, kAboutRule, 20, 186, 384, 2, SS_ETCHEDHORZ, ""},
        {kOnPageAbout, WC_STATICW, kAboutDescription, 20, 200, 384, 20, label, "用于查看JSON数据和辅助KOVA开发。"},
        {kOnPageNews, WC_EDITW, kAboutNews, 8, 32, 408, 228,
         WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, ""},
        {kOnWindow, WC_BUTTONW, IDOK, 352, 284, 80, 28, WS_TABSTOP | BS_DEFPUSHBUTTON, "确定"},
    };
}

HFONT CreateYaheiFont(int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, AvailableFace(L"微软雅黑").c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

// White on the maker's blue; in high contrast the theme's highlight.
ControlColours BannerColours(HBRUSH bannerBrush) {
    return DesignColours(kBannerText, kBannerColour, bannerBrush, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
}

// A multi-line edit control breaks lines only at CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool RegisterPanelClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, kPanelClass, &wc)) return true;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

std::string DefaultNewsPath() {
    return kova::PathJoin(kova::PathGetCurrentDir(), "NEWS.txt");
}

AboutWindow::AboutWindow(std::string_view newsPath) : newsPath_(newsPath) {}

AboutWindow::~AboutWindow() {
    DeleteFonts();
    if (logo_) DeleteObject(logo_);
    if (bannerBrush_) DeleteObject(bannerBrush_);
}

void AboutWindow::DeleteFonts() {
    if (font_) DeleteObject(font_);
    if (titleFont_) DeleteObject(titleFont_);
    font_ = titleFont_ = nullptr;
}

void AboutWindow::ShowModal(HWND owner, std::string_view mainCaption, std::string_view newsPath) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterPanelClass(instance, PanelProc)) return;
    const std::string path = newsPath.empty() ? DefaultNewsPath() : std::string(newsPath);
    AboutWindow window(path);
    window.ExpectDpiOf(owner);
    const POINT at = OnOwnersMonitor(owner, {window.Scale(kWindowX), window.Scale(kWindowY)});
    const RECT place{at.x, at.y, at.x + window.Scale(kWindowWidth), at.y + window.Scale(kWindowHeight)};
    const std::wstring caption = kova::Utf8ToWide(kova::CreateString("关于 {1}", {mainCaption}));
    if (!window.CreateBaseWindow(kWindowClass, nullptr, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, caption,
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, place, owner))
        return;
    window.Create();
    ShowWindow(window.Handle(), SW_SHOW);
    SetFocus(GetDlgItem(window.Handle(), IDOK));
    window.RunModalOver(owner);
}

LRESULT AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            CloseModal(Handle());
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kAboutTabs && header->code == TCN_SELCHANGE) {
            ShowPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void AboutWindow::OnDpiChanged(int) {
    // Built again at the new size: the window is small, and rebuilding keeps one way of placing it.
    const int page = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
    while (HWND child = GetWindow(Handle(), GW_CHILD)) DestroyWindow(child);
    Create();
    SetFocus(GetDlgItem(Handle(), IDOK));
    SendMessageW(tabs_, TCM_SETCURSEL, page, 0);
    ShowPage(page);
}

LRESULT CALLBACK AboutWindow::PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return Guarded(
        hwnd, [&] { return self->HandlePanelMessage(hwnd, message, wParam, lParam); },
        [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT AboutWindow::HandlePanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(panel, &client);
        const bool banner = GetDlgCtrlID(panel) == kAboutBanner;
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 banner ? BannerColours(bannerBrush_).brush : GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<LRESULT>(ControlColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if ((header->code == NM_CLICK || header->code == NM_RETURN) &&
            (header->idFrom == kAboutWebLink || header->idFrom == kAboutSupportLink)) {
            LinkClicked(lParam);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

void AboutWindow::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // The controls go before the fonts they use.
    HFONT oldFont = font_, oldTitleFont = titleFont_;
    font_ = CreateYaheiFont(Scale(-12), FW_NORMAL);
    titleFont_ = CreateYaheiFont(Scale(-32), FW_BOLD);
    if (!bannerBrush_) bannerBrush_ = CreateSolidBrush(kBannerColour);

    tabs_ = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, Scale(8), Scale(8),
                            Scale(424), Scale(268), Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutTabs)),
                            instance, nullptr);
    if (oldFont) DeleteObject(oldFont);
    if (oldTitleFont) DeleteObject(oldTitleFont);
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    const wchar_t* pageNames[] = {L"关于", L"更新说明"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(pageNames[i]);
        SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT page{0, 0, Scale(424), Scale(268)};
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    pageOrigin_ = {page.left, page.top};
    for (int i = 0; i < 2; ++i) {
        pages_[i] = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"",
                                    WS_CHILD | WS_CLIPCHILDREN | (i == 0 ? WS_VISIBLE : 0), page.left, page.top,
                                    page.right - page.left, page.bottom - page.top, tabs_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutPageAbout + i)), instance, this);
    }
    CreateControls();
    LoadNews();
}

void AboutWindow::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlRow& row : ControlRows()) {
        HWND parent = Handle();
        int x = Scale(row.x), y = Scale(row.y);
        if (row.parent == kOnPageAbout || row.parent == kOnPageNews) {
            parent = pages_[row.parent == kOnPageAbout ? 0 : 1];
            x -= pageOrigin_.x;
            y -= pageOrigin_.y;
        } else if (row.parent == kOnBanner) {
            parent = banner_;
        }
        const DWORD exStyle = row.id == kAboutNews ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExW(exStyle, row.windowClass, kova::Utf8ToWide(row.text).c_str(),
                                       WS_CHILD | WS_VISIBLE | row.style, x, y, Scale(row.width), Scale(row.height),
                                       parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, this);
        if (!control) continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(row.titleFont ? titleFont_ : font_), FALSE);
        if (row.id == kAboutBanner) banner_ = control;
        if (row.id == kAboutLogo) LoadLogo(control);
    }
}

void AboutWindow::LoadLogo(HWND picture) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, kAboutLogoResource, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!resource) return;
    const void* bytes = LockResource(LoadResource(module, resource));
    if (!bytes) return;
    const PngImage image(std::string_view(static_cast<const char*>(bytes), SizeofResource(module, resource)));
    if (image.Empty()) return;
    // A static control cannot blend, so the logo is laid over the banner's colour once.
    if (logo_) DeleteObject(logo_); // the one a window at another dpi showed
    logo_ = image.CreateOpaqueBitmap(BannerColours(bannerBrush_).back);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));
}

void AboutWindow::LoadNews() {
    // A missing or unreadable file reads as empty text, which leaves the box empty.
    const std::string news = WithCrLf(kova::ReadStringFile(newsPath_));
    SetWindowTextW(GetDlgItem(pages_[1], kAboutNews), kova::Utf8ToWide(news).c_str());
}

void AboutWindow::ShowPage(int page) {
    for (int i = 0; i < 2; ++i) ShowWindow(pages_[i], i == page ? SW_SHOW : SW_HIDE);
}

HBRUSH AboutWindow::ControlColour(HWND control, HDC dc) {
    switch (GetDlgCtrlID(control)) {
    case kAboutTitle:
    case kAboutLogo:
        return reinterpret_cast<HBRUSH>(PaintWith(dc, BannerColours(bannerBrush_)));
    case kAboutNews:
        return reinterpret_cast<HBRUSH>(PaintWith(dc, DarkGreyOnWhite()));
    default:
        // The labels and links take the page's colour so they blend with it.
        return reinterpret_cast<HBRUSH>(PaintWith(dc, SystemColours(COLOR_WINDOWTEXT, COLOR_WINDOW)));
    }
}

void AboutWindow::LinkClicked(LPARAM nmlink) {
    const auto* link = reinterpret_cast<const NMLINK*>(nmlink);
    ShellExecuteW(Handle(), L"open", link->item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace vivu
