// The anchor layout on real windows: reading control rectangles and moving controls after the window is resized.
#include "layout_win_window.h"
#include "ui/LayoutManager_win.h"

#include <gtest/gtest.h>

#include <vector>

using layout_test::CreateChild;
using layout_test::RectInParent;
using layout_test::TestWindow;
using vivu::LayoutRect;
using vivu::Win32LayoutManager;

namespace {

// A window with a control directly on it and a bordered panel (standing in for a tab page) with a control inside.
struct Scene {
    TestWindow window{50, 50, 900, 700};
    HWND direct = CreateChild(window.Handle(), L"BUTTON", L"direct", 10, 20, 80, 30);
    HWND panel = CreateChild(window.Handle(), L"STATIC", L"", 100, 100, 400, 300, WS_BORDER);
    HWND inner = CreateChild(panel, L"BUTTON", L"inner", 5, 6, 50, 25);
};

} // namespace

TEST(Win32Layout, ControlRectIsInTheParentsClientCoordinates) {
    Scene s;
    ASSERT_TRUE(s.window.Handle() && s.direct && s.panel && s.inner);
    Win32LayoutManager manager;
    struct Case {
        HWND control;
        LayoutRect expected;
    } cases[] = {
        {s.direct, {10, 20, 90, 50}},
        {s.panel, {100, 100, 500, 400}},
        {s.inner, {5, 6, 55, 31}},
    };
    // Where the window sits on the screen must not matter.
    for (const POINT at : {POINT{50, 50}, POINT{310, 170}}) {
        SetWindowPos(s.window.Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (const auto& c : cases) {
            EXPECT_EQ(manager.ControlRect(c.control), c.expected);
            EXPECT_EQ(manager.ControlRect(c.control), RectInParent(c.control));
        }
    }
}

// Every registered control moves by the change of the window's client size less the sizing frame, in its own
// parent's coordinates, whether it sits on the window or on a page inside it.
TEST(Win32Layout, ControlsFollowTheWindowWhenResized) {
    struct Edges {
        int left, top, right, bottom; // how many times the shift each edge moves
    };
    struct Row {
        const char* effect;
        int32_t anchorLeft, anchorTop, anchorRight, anchorBottom;
        bool onPanel;
        int x, y, width, height;
        Edges moves;
    } rows[] = {
        {"fixed", 1, 1, 0, 0, false, 10, 60, 80, 30, {0, 0, 0, 0}},
        {"follows the right edge", 0, 1, 1, 0, false, 700, 60, 48, 28, {1, 0, 1, 0}},
        {"widens", 1, 1, 1, 0, false, 10, 100, 600, 24, {0, 0, 1, 0}},
        {"grows both ways", 1, 1, 1, 1, false, 10, 140, 300, 200, {0, 0, 1, 1}},
        {"widens, follows the bottom edge", 1, 0, 1, 1, false, 10, 560, 600, 60, {0, 1, 1, 1}},
        {"follows the bottom-right corner", 0, 0, 1, 1, false, 700, 560, 48, 28, {1, 1, 1, 1}},
        {"on a page: widens", 1, 1, 1, 0, true, 8, 40, 200, 24, {0, 0, 1, 0}},
        {"on a page: follows the right edge", 0, 1, 1, 0, true, 300, 40, 48, 28, {1, 0, 1, 0}},
        {"on a page: grows downwards", 1, 1, 0, 1, true, 8, 80, 100, 100, {0, 0, 0, 1}},
    };
    for (const bool useMoveWindow : {false, true}) {
        SCOPED_TRACE(useMoveWindow ? "MoveWindow" : "SetWindowPos");
        TestWindow window(50, 50, 900, 700);
        // The page is registered too, so it grows along with its controls.
        HWND page = CreateChild(window.Handle(), L"STATIC", L"", 20, 200, 420, 300, WS_BORDER);
        ASSERT_TRUE(window.Handle() && page);
        Win32LayoutManager manager;
        manager.Bind(window.Handle());
        manager.Register(page);
        std::vector<HWND> controls;
        for (const Row& r : rows) {
            HWND parent = r.onPanel ? page : window.Handle();
            controls.push_back(CreateChild(parent, L"BUTTON", L"", r.x, r.y, r.width, r.height));
            ASSERT_TRUE(controls.back());
            manager.Register(controls.back(), r.anchorLeft, r.anchorTop, r.anchorRight, r.anchorBottom);
        }
        const SIZE before = layout_test::ClientSize(window.Handle());
        if (useMoveWindow)
            MoveWindow(window.Handle(), 40, 30, 1100, 800, TRUE);
        else
            SetWindowPos(window.Handle(), nullptr, 0, 0, 1100, 800, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const SIZE after = layout_test::ClientSize(window.Handle());
        ASSERT_EQ(after.cx - before.cx, 200);
        ASSERT_EQ(after.cy - before.cy, 100);

        ASSERT_TRUE(manager.Relayout());
        const int dx = 200 - GetSystemMetrics(SM_CXFRAME);
        const int dy = 100 - GetSystemMetrics(SM_CYFRAME);
        EXPECT_EQ(RectInParent(page), (LayoutRect{20, 200, 440 + dx, 500 + dy}));
        for (size_t i = 0; i < std::size(rows); ++i) {
            const Row& r = rows[i];
            SCOPED_TRACE(r.effect);
            const LayoutRect expected{r.x + r.moves.left * dx, r.y + r.moves.top * dy,
                                      r.x + r.width + r.moves.right * dx, r.y + r.height + r.moves.bottom * dy};
            EXPECT_EQ(RectInParent(controls[i]), expected);
        }
    }
}

TEST(Win32Layout, FirstPassAfterBindingShiftsByTheSizingFrame) {
    const int cx = GetSystemMetrics(SM_CXFRAME);
    const int cy = GetSystemMetrics(SM_CYFRAME);
    ASSERT_GT(cx, 0) << "the check below needs a sizing frame";
    ASSERT_GT(cy, 0) << "the check below needs a sizing frame";
    Scene s;
    HWND right = CreateChild(s.window.Handle(), L"BUTTON", L"right", 700, 60, 48, 28);
    HWND stretched = CreateChild(s.window.Handle(), L"EDIT", L"", 10, 100, 600, 24);
    HWND corner = CreateChild(s.window.Handle(), L"BUTTON", L"corner", 700, 560, 48, 28);
    Win32LayoutManager manager;
    manager.Bind(s.window.Handle());
    manager.Register(s.direct, 1, 1, 0, 0);
    manager.Register(right, 0, 1, 1, 0);
    manager.Register(stretched, 1, 1, 1, 0);
    manager.Register(corner, 0, 0, 1, 1);
    ASSERT_TRUE(manager.Relayout());
    EXPECT_EQ(RectInParent(s.direct), (LayoutRect{10, 20, 90, 50}));
    EXPECT_EQ(RectInParent(right), (LayoutRect{700 - cx, 60, 748 - cx, 88}));
    EXPECT_EQ(RectInParent(stretched), (LayoutRect{10, 100, 610 - cx, 124}));
    EXPECT_EQ(RectInParent(corner), (LayoutRect{700 - cx, 560 - cy, 748 - cx, 588 - cy}));
}

// A control with neither horizontal anchor centres on a sibling that has already moved in the same pass.
TEST(Win32Layout, CentresOnAMovedSibling) {
    Scene s;
    HWND bar = CreateChild(s.window.Handle(), L"STATIC", L"", 10, 400, 500, 30);
    HWND label = CreateChild(s.window.Handle(), L"STATIC", L"", 0, 440, 101, 20);
    Win32LayoutManager manager;
    manager.Bind(s.window.Handle());
    manager.Register(bar, 1, 1, 1, 0);
    manager.Register(label, 0, 1, 0, 0, 0, 0, bar, nullptr);
    SetWindowPos(s.window.Handle(), nullptr, 0, 0, 1100, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(manager.Relayout());
    const LayoutRect moved = RectInParent(bar);
    EXPECT_EQ(moved, (LayoutRect{10, 400, 510 + 200 - GetSystemMetrics(SM_CXFRAME), 430}));
    const int left = moved.left + (moved.Width() - 101) / 2;
    EXPECT_EQ(RectInParent(label), (LayoutRect{left, 440, left + 101, 460}));
}

// A destroyed control fails its move quietly and the others still move.
TEST(Win32Layout, DestroyedControlDoesNotStopThePass) {
    Scene s;
    HWND doomed = CreateChild(s.window.Handle(), L"BUTTON", L"doomed", 700, 10, 48, 28);
    HWND right = CreateChild(s.window.Handle(), L"BUTTON", L"right", 700, 60, 48, 28);
    Win32LayoutManager manager;
    manager.Bind(s.window.Handle());
    manager.Register(doomed, 0, 1, 1, 0);
    manager.Register(right, 0, 1, 1, 0);
    DestroyWindow(doomed);
    SetWindowPos(s.window.Handle(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(manager.Relayout());
    const int dx = 100 - GetSystemMetrics(SM_CXFRAME);
    EXPECT_EQ(RectInParent(right), (LayoutRect{700 + dx, 60, 748 + dx, 88}));
}
