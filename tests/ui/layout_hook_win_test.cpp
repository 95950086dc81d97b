// The minimum-size hook on a real top-level window: its WM_GETMINMAXINFO answer, resizes below the minimum, and
// how it chains to the window's own procedure.
#include "layout_win_window.h"
#include "ui/LayoutManager_win.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using layout_test::kProbeAnswer;
using layout_test::kProbeMessage;
using layout_test::OuterSize;
using layout_test::TestWindow;
using vivu::Win32LayoutManager;

namespace {

// Every field distinct, so a change to any of them shows.
MINMAXINFO Sentinel() {
    MINMAXINFO info{};
    info.ptReserved = {11, 12};
    info.ptMaxSize = {13, 14};
    info.ptMaxPosition = {15, 16};
    info.ptMinTrackSize = {17, 18};
    info.ptMaxTrackSize = {9019, 9020};
    return info;
}

MINMAXINFO AskMinMax(HWND window) {
    MINMAXINFO info = Sentinel();
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

// A handler as the main window has one, counting the probe messages it sees.
vivu::LayoutHookHandler CountingHandler(Win32LayoutManager& manager, int& probes) {
    return [&manager, &probes](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kProbeMessage) ++probes;
        Win32LayoutManager::HookMessage(window, message, wParam, lParam);
        return manager.CallPrevious(window, message, wParam, lParam);
    };
}

} // namespace

TEST(LayoutHook, AnswersMinMaxInfoWithTheMinimumTrackingSizeOnly) {
    TestWindow window(50, 50, 900, 700);
    ASSERT_TRUE(window.Handle());
    Win32LayoutManager manager;
    manager.Bind(window.Handle());

    struct Step {
        const char* what;
        bool install, remove;
        POINT minTrack;
    } steps[] = {
        {"before the hook", false, false, {17, 18}},
        {"hooked", true, false, {800, 600}},
        {"unhooked", false, true, {17, 18}},
        {"hooked again", true, false, {800, 600}},
    };
    const MINMAXINFO sent = Sentinel();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.install) {
            EXPECT_TRUE(manager.InstallHook());
        }
        if (s.remove) manager.RemoveHook();
        const MINMAXINFO got = AskMinMax(window.Handle());
        EXPECT_EQ(got.ptMinTrackSize.x, s.minTrack.x);
        EXPECT_EQ(got.ptMinTrackSize.y, s.minTrack.y);
        EXPECT_TRUE(SamePoint(got.ptReserved, sent.ptReserved));
        EXPECT_TRUE(SamePoint(got.ptMaxSize, sent.ptMaxSize));
        EXPECT_TRUE(SamePoint(got.ptMaxPosition, sent.ptMaxPosition));
        EXPECT_TRUE(SamePoint(got.ptMaxTrackSize, sent.ptMaxTrackSize));
    }
}

TEST(LayoutHook, HookMessageTouchesOnlyMinMaxInfo) {
    struct Case {
        UINT message;
        bool handled;
        POINT minTrack;
    } cases[] = {
        {WM_GETMINMAXINFO, true, {800, 600}},
        {WM_SIZE, false, {17, 18}},
        {WM_WINDOWPOSCHANGING, false, {17, 18}},
        {kProbeMessage, false, {17, 18}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        MINMAXINFO info = Sentinel();
        EXPECT_EQ(Win32LayoutManager::HookMessage(nullptr, c.message, 0, reinterpret_cast<LPARAM>(&info)), c.handled);
        EXPECT_TRUE(SamePoint(info.ptMinTrackSize, c.minTrack));
        EXPECT_TRUE(SamePoint(info.ptMaxTrackSize, Sentinel().ptMaxTrackSize));
    }
}

// The system asks WM_GETMINMAXINFO while resizing, so the hook holds the window at 800 × 600 or more.
TEST(LayoutHook, WindowCannotBeSizedBelowTheMinimum) {
    TestWindow window(50, 50, 900, 700);
    ASSERT_TRUE(window.Handle());
    Win32LayoutManager manager;
    manager.Bind(window.Handle());
    auto setSize = [&](int width, int height) {
        SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return OuterSize(window.Handle());
    };
    auto moveTo = [&](int width, int height) {
        MoveWindow(window.Handle(), 60, 60, width, height, TRUE);
        return OuterSize(window.Handle());
    };

    // Without the hook the small size is allowed, which shows the hook is what stops it below.
    SIZE size = setSize(300, 200);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 200);

    ASSERT_TRUE(manager.InstallHook());
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    } cases[] = {
        {300, 200, 800, 600}, {799, 599, 800, 600}, {1000, 300, 1000, 600}, {500, 900, 800, 900}, {900, 700, 900, 700},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        size = setSize(c.width, c.height);
        EXPECT_EQ(size.cx, c.expectedWidth);
        EXPECT_EQ(size.cy, c.expectedHeight);
        size = moveTo(c.width, c.height);
        EXPECT_EQ(size.cx, c.expectedWidth);
        EXPECT_EQ(size.cy, c.expectedHeight);
    }

    manager.RemoveHook();
    size = setSize(300, 200);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 200);
}

// The handler sees every message and its result is the window procedure's result.
TEST(LayoutHook, HandlerChainsToTheWindowsOwnProcedure) {
    TestWindow window(50, 50, 900, 700);
    ASSERT_TRUE(window.Handle());
    Win32LayoutManager manager;
    manager.Bind(window.Handle());
    int probes = 0;
    ASSERT_TRUE(manager.InstallHook(CountingHandler(manager, probes)));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(SendMessageW(window.Handle(), kProbeMessage, 0, 0), kProbeAnswer);
        EXPECT_EQ(probes, i);
    }
    EXPECT_EQ(AskMinMax(window.Handle()).ptMinTrackSize.x, 800);

    // A handler that answers by itself decides the result.
    Win32LayoutManager own;
    own.Bind(window.Handle());
    ASSERT_TRUE(own.InstallHook(
        [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT { return message == kProbeMessage ? 77 : 0; }));
    EXPECT_EQ(SendMessageW(window.Handle(), kProbeMessage, 0, 0), 77);
    EXPECT_EQ(probes, 3); // the newer hook runs first and did not pass the message on
    own.RemoveHook();
    EXPECT_EQ(SendMessageW(window.Handle(), kProbeMessage, 0, 0), kProbeAnswer);
    EXPECT_EQ(probes, 4);
}

TEST(LayoutHook, WithoutAHandlerItAppliesTheMinimumAndChains) {
    TestWindow window(50, 50, 900, 700);
    Win32LayoutManager manager;
    manager.Bind(window.Handle());
    ASSERT_TRUE(manager.InstallHook());
    EXPECT_EQ(SendMessageW(window.Handle(), kProbeMessage, 0, 0), kProbeAnswer);
    const MINMAXINFO got = AskMinMax(window.Handle());
    EXPECT_TRUE(SamePoint(got.ptMinTrackSize, {800, 600}));
}

// Limits are stored and compared; a hook already in place keeps its first handler.
TEST(LayoutHook, InstallingAgainOnlyStoresLimits) {
    TestWindow window(50, 50, 900, 700);
    Win32LayoutManager manager;
    manager.Bind(window.Handle());
    int first = 0, second = 0;
    using Limits = std::array<int32_t, 4>;
    struct Step {
        bool useSecond;
        vivu::LayoutHookLimits limits;
        Limits stored;
    } steps[] = {
        {false, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {true, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {true, {std::nullopt, 9, std::nullopt, std::nullopt}, {1, 9, 3, 4}},
        {true, {}, {1, 9, 3, 4}},
    };
    for (const auto& s : steps) {
        EXPECT_TRUE(manager.InstallHook(CountingHandler(manager, s.useSecond ? second : first), s.limits));
        EXPECT_TRUE(manager.HookInstalled());
        EXPECT_EQ(manager.HookLimits(), s.stored);
        SendMessageW(window.Handle(), kProbeMessage, 0, 0);
    }
    EXPECT_EQ(first, 4);
    EXPECT_EQ(second, 0);

    // Once removed, omitted limits are 0 again and the new handler is the one installed.
    manager.RemoveHook();
    EXPECT_FALSE(manager.HookInstalled());
    EXPECT_TRUE(manager.InstallHook(CountingHandler(manager, second)));
    EXPECT_EQ(manager.HookLimits(), (Limits{0, 0, 0, 0}));
    SendMessageW(window.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(second, 1);
}

TEST(LayoutHook, NeedsABoundWindow) {
    Win32LayoutManager manager;
    EXPECT_FALSE(manager.InstallHook({}, {1, 2, 3, 4}));
    EXPECT_FALSE(manager.HookInstalled());
    EXPECT_EQ(manager.CallPrevious(nullptr, kProbeMessage, 0, 0), 0);
}

// The hook lets go when the window is destroyed, and when the manager is, so neither outlives the other.
TEST(LayoutHook, EndsWithTheWindowOrTheManager) {
    {
        auto window = std::make_unique<TestWindow>(50, 50, 900, 700);
        Win32LayoutManager manager;
        manager.Bind(window->Handle());
        ASSERT_TRUE(manager.InstallHook());
        window.reset();
        EXPECT_FALSE(manager.HookInstalled());
    }
    TestWindow window(50, 50, 900, 700);
    {
        Win32LayoutManager manager;
        manager.Bind(window.Handle());
        ASSERT_TRUE(manager.InstallHook());
    }
    EXPECT_EQ(SendMessageW(window.Handle(), kProbeMessage, 0, 0), kProbeAnswer);
    EXPECT_TRUE(SamePoint(AskMinMax(window.Handle()).ptMinTrackSize, Sentinel().ptMinTrackSize));
}
