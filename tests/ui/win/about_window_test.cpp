// The About window opened modally as the program opens it: a timer on the owner
// reads the open window's controls and closes it with its "确定" button.
#include "ui/AboutWindow.h"

#include "kova/Encoding.h"
#include "kova/File.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace vivu {
namespace {

constexpr char kMainCaption[] = "KOVA.Json助手1.2.1";

// What the open window showed.
struct AboutView {
    bool opened = false;
    bool closedByOk = false;
    bool ownerDisabled = false;
    std::wstring caption;
    std::map<int, std::wstring> texts; // by control id
    std::wstring webUrl;
    std::wstring supportUrl;
    bool hasLogo = false;
    bool newsPageShownOnSelect = false;
    RECT windowRect{};
};

HWND FindControl(HWND root, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        root,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetDlgCtrlID(child) != s->id) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring LinkUrl(HWND link) {
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_URL;
    item.iLink = 0;
    if (!SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return item.szUrl;
}

// The window this thread owns through owner, if it is up.
HWND FindOwnedWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetWindow(hwnd, GW_OWNER) != s->owner || !IsWindowVisible(hwnd)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// An owner window whose timer runs a callback inside the About window's modal loop.
class OwnerWindow {
public:
    OwnerWindow() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!GetClassInfoExW(instance, kClass, &wc)) {
            wc.lpfnWndProc = Proc;
            wc.hInstance = instance;
            wc.lpszClassName = kClass;
            RegisterClassExW(&wc);
        }
        hwnd_ = CreateWindowExW(0, kClass, L"about test owner", WS_POPUP, 600, 600, 200, 100, nullptr, nullptr,
                                instance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // Shown without activation: Wine then leaves it to no window manager, and closing it does not wait for one.
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() { DestroyWindow(hwnd_); }

    HWND Handle() const { return hwnd_; }
    std::function<void()> onTimer;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_TIMER && self && self->onTimer) {
            self->onTimer();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static constexpr wchar_t kClass[] = L"VivuAboutTestOwner";
    HWND hwnd_ = nullptr;
};

// Opens the About window, reads what it shows, and closes it with "确定".
AboutView OpenAbout(std::string_view newsPath = {}) {
    OwnerWindow owner;
    AboutView view;
    int ticks = 0;
    owner.onTimer = [&] {
        HWND about = FindOwnedWindow(owner.Handle());
        if (!about) return;
        if (view.opened) {
            // Still open after "确定" was clicked: close it so the test ends and reports.
            if (++ticks > 20) DestroyWindow(about);
            return;
        }
        view.opened = true;
        view.ownerDisabled = !IsWindowEnabled(owner.Handle());
        view.caption = TextOf(about);
        GetWindowRect(about, &view.windowRect);
        for (int id : {kAboutTitle, kAboutVersion, kAboutKovaVersion, kAboutRights, kAboutDescription, kAboutNews})
            view.texts[id] = TextOf(FindControl(about, id));
        view.webUrl = LinkUrl(FindControl(about, kAboutWebLink));
        view.supportUrl = LinkUrl(FindControl(about, kAboutSupportLink));
        view.hasLogo = SendMessageW(FindControl(about, kAboutLogo), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        // The second page comes up when its tab is chosen, and the first one goes.
        SendMessageW(FindControl(about, kAboutTabs), TCM_SETCURFOCUS, 1, 0);
        view.newsPageShownOnSelect = IsWindowVisible(FindControl(about, kAboutPageNews)) &&
                                     !IsWindowVisible(FindControl(about, kAboutPageAbout));
        SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    };
    SetTimer(owner.Handle(), 1, 50, nullptr);
    AboutWindow::ShowModal(owner.Handle(), kMainCaption, newsPath);
    KillTimer(owner.Handle(), 1);
    view.closedByOk = view.opened && ticks == 0;
    EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "the owner stays disabled after the window closed";
    return view;
}

class TempDir {
public:
    TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::filesystem::path(base) / (L"vivu-about-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(std::string_view name) const {
        return kova::WideToUtf8((path_ / kova::Utf8ToWide(name)).wstring());
    }

private:
    std::filesystem::path path_;
};

std::wstring W(std::string_view utf8) {
    return kova::Utf8ToWide(utf8);
}

TEST(AboutWindowTest, ShowsTheCaptionVersionsAndLinks) {
    TempDir dir;
    const AboutView view = OpenAbout(dir.File("NEWS.txt"));
    ASSERT_TRUE(view.opened);
    EXPECT_TRUE(view.closedByOk);
    EXPECT_TRUE(view.ownerDisabled);
    EXPECT_EQ(W("关于 KOVA.Json助手1.2.1"), view.caption);
    EXPECT_EQ(W("KOVA.VivuDivezi 版本 1.2.1 - 2020/4/4"), view.texts.at(kAboutVersion));
    EXPECT_EQ(W("Powered By KOVA 1.0.0"), view.texts.at(kAboutKovaVersion));
    EXPECT_EQ(W("用于查看JSON数据和辅助KOVA开发。"), view.texts.at(kAboutDescription));
    EXPECT_EQ(W("VivuDivezi"), view.texts.at(kAboutTitle));
    EXPECT_FALSE(view.texts.at(kAboutRights).empty());
    EXPECT_EQ(0u, view.webUrl.find(L"https://"));
    EXPECT_EQ(0u, view.supportUrl.find(L"https://"));
    EXPECT_NE(view.webUrl, view.supportUrl);
    EXPECT_TRUE(view.hasLogo);
    EXPECT_TRUE(view.newsPageShownOnSelect);
    EXPECT_EQ(444, view.windowRect.right - view.windowRect.left);
    EXPECT_EQ(350, view.windowRect.bottom - view.windowRect.top);
    // No NEWS.txt there: an empty box and no complaint.
    EXPECT_EQ(L"", view.texts.at(kAboutNews));
}

TEST(AboutWindowTest, ReadsTheNewsFileAgainOnEveryOpening) {
    TempDir dir;
    const std::string news = dir.File("NEWS.txt");
    ASSERT_TRUE(kova::WriteStringFile(news, "1.2.1\n- 第一条说明\n- second line", "UTF-8"));
    const AboutView first = OpenAbout(news);
    ASSERT_TRUE(first.opened);
    // Lines end in CR LF in the box, whatever the file had.
    EXPECT_EQ(W("1.2.1\r\n- 第一条说明\r\n- second line"), first.texts.at(kAboutNews));

    // Edited between two openings, now in GBK with CR LF.
    ASSERT_TRUE(kova::WriteStringFile(news, "1.2.2\r\n- 新的更新说明", "GBK"));
    const AboutView second = OpenAbout(news);
    ASSERT_TRUE(second.opened);
    EXPECT_EQ(W("1.2.2\r\n- 新的更新说明"), second.texts.at(kAboutNews));

    // As Notepad saves "Unicode": UTF-16LE after its byte-order mark.
    ASSERT_TRUE(
        kova::WriteFileBytes(news, "\xFF\xFE" + kova::ConvertStringEncoding("UTF-16 说明", "UTF-8", "UTF-16LE")));
    EXPECT_EQ(W("UTF-16 说明"), OpenAbout(news).texts.at(kAboutNews));
}

TEST(AboutWindowTest, ShowsTheNewsShippedBesideTheProgram) {
    const std::string shipped = DefaultNewsPath();
    ASSERT_TRUE(kova::FileExists(shipped)) << shipped << ": the build copies NEWS.txt beside the executables";
    const AboutView view = OpenAbout();
    ASSERT_TRUE(view.opened);
    const std::wstring text = view.texts.at(kAboutNews);
    EXPECT_NE(std::wstring::npos, text.find(W("KOVA.Json助手 更新说明"))) << kova::WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"1.2.1 (2020/4/4)\r\n"));
}

TEST(AboutWindowTest, CloseBoxClosesItToo) {
    OwnerWindow owner;
    bool seen = false;
    int ticks = 0;
    owner.onTimer = [&] {
        HWND about = FindOwnedWindow(owner.Handle());
        if (!about) return;
        if (!seen) {
            seen = true;
            SendMessageW(about, WM_CLOSE, 0, 0);
        } else if (++ticks > 20) {
            EndDialog(about, IDCANCEL); // still open: end it so the test can fail
        }
    };
    SetTimer(owner.Handle(), 1, 50, nullptr);
    AboutWindow::ShowModal(owner.Handle(), kMainCaption);
    KillTimer(owner.Handle(), 1);
    EXPECT_TRUE(seen);
    EXPECT_EQ(0, ticks);
}

} // namespace
} // namespace vivu
