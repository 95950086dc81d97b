// The anchor layout's registrations and re-layout arithmetic, on an in-memory window system.
#include "layout_fake_host.h"
#include "ui/LayoutManager.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

using layout_test::FakeLayoutHost;
using vivu::LayoutAnchors;
using vivu::LayoutHandle;
using vivu::LayoutManager;
using vivu::LayoutRect;

namespace {

// A bound manager over a window with a 640 × 400 client area.
struct Bound {
    FakeLayoutHost host;
    LayoutManager manager{host};
    LayoutHandle window = host.Add({0, 0, 640, 400});

    Bound() { manager.Bind(window); }
    void Resize(int32_t width, int32_t height) { host.At(window) = {0, 0, width, height}; }
};

} // namespace

TEST(LayoutRect, WidthHeightAndOffset) {
    struct Case {
        LayoutRect rect;
        int32_t width, height;
        int32_t dx, dy;
        LayoutRect offset;
    } cases[] = {
        {{0, 0, 0, 0}, 0, 0, 0, 0, {0, 0, 0, 0}},
        {{10, 20, 110, 50}, 100, 30, -10, 5, {0, 25, 100, 55}},
        {{-30, -40, -10, -5}, 20, 35, 30, 40, {0, 0, 20, 35}},
        {{50, 60, 40, 20}, -10, -40, 1, 1, {51, 61, 41, 21}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rect.Width(), c.width);
        EXPECT_EQ(c.rect.Height(), c.height);
        EXPECT_EQ(c.rect.Offset(c.dx, c.dy), c.offset);
    }
}

// Anchors move edges by the change of the client size less the sizing frame.
TEST(LayoutManager, AnchorsStretchFollowOrKeep) {
    struct Case {
        const char* effect;
        int32_t left, top, right, bottom;
        int32_t width, height; // the window's new client size (from 640 × 400)
        vivu::LayoutFrame frame;
        LayoutRect expected; // from {100, 50, 300, 80}
    } cases[] = {
        {"fixed", 1, 1, 0, 0, 840, 500, {4, 3}, {100, 50, 300, 80}},
        {"follows the right edge", 0, 1, 1, 0, 840, 500, {4, 3}, {296, 50, 496, 80}},
        {"widens", 1, 1, 1, 0, 840, 500, {4, 3}, {100, 50, 496, 80}},
        {"grows both ways", 1, 1, 1, 1, 840, 500, {4, 3}, {100, 50, 496, 177}},
        {"grows downwards", 1, 1, 0, 1, 840, 500, {4, 3}, {100, 50, 300, 177}},
        {"follows the bottom edge", 1, 0, 0, 1, 840, 500, {4, 3}, {100, 147, 300, 177}},
        {"widens, follows the bottom", 1, 0, 1, 1, 840, 500, {4, 3}, {100, 147, 496, 177}},
        {"follows the bottom-right corner", 0, 0, 1, 1, 840, 500, {4, 3}, {296, 147, 496, 177}},
        {"nothing anchored, no reference", 0, 0, 0, 0, 840, 500, {4, 3}, {100, 50, 300, 80}},
        {"follows the right edge leftwards", 0, 1, 1, 0, 540, 350, {4, 3}, {-4, 50, 196, 80}},
        {"shrinks both ways", 1, 1, 1, 1, 540, 350, {4, 3}, {100, 50, 196, 27}},
        {"any non-zero anchor is set", 0, 2, -1, 0, 840, 500, {0, 0}, {300, 50, 500, 80}},
        {"no frame", 0, 0, 1, 1, 641, 402, {0, 0}, {101, 52, 301, 82}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        Bound b;
        b.host.frame = c.frame;
        const LayoutHandle control = b.host.Add({100, 50, 300, 80});
        b.manager.Register(control, c.left, c.top, c.right, c.bottom);
        b.Resize(c.width, c.height);
        EXPECT_TRUE(b.manager.Relayout());
        EXPECT_EQ(b.host.At(control), c.expected);
    }
}

// With the window as it was at binding the shift is minus the frame: the first pass already moves controls.
TEST(LayoutManager, RightAfterBindingShiftIsMinusTheFrame) {
    struct Case {
        vivu::LayoutFrame frame;
    } cases[] = {{{4, 4}}, {{3, 5}}, {{8, 1}}, {{0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame.cx << " x " << c.frame.cy);
        Bound b;
        b.host.frame = c.frame;
        const LayoutHandle fixed = b.host.Add({10, 10, 60, 40});
        const LayoutHandle right = b.host.Add({500, 10, 550, 40});
        const LayoutHandle stretched = b.host.Add({10, 50, 630, 80});
        const LayoutHandle bottom = b.host.Add({10, 350, 60, 380});
        const LayoutHandle both = b.host.Add({10, 100, 630, 340});
        b.manager.Register(fixed, 1, 1, 0, 0);
        b.manager.Register(right, 0, 1, 1, 0);
        b.manager.Register(stretched, 1, 1, 1, 0);
        b.manager.Register(bottom, 1, 0, 0, 1);
        b.manager.Register(both);
        ASSERT_TRUE(b.manager.Relayout());
        const int32_t cx = c.frame.cx, cy = c.frame.cy;
        EXPECT_EQ(b.host.At(fixed), (LayoutRect{10, 10, 60, 40}));
        EXPECT_EQ(b.host.At(right), (LayoutRect{500 - cx, 10, 550 - cx, 40}));
        EXPECT_EQ(b.host.At(stretched), (LayoutRect{10, 50, 630 - cx, 80}));
        EXPECT_EQ(b.host.At(bottom), (LayoutRect{10, 350 - cy, 60, 380 - cy}));
        EXPECT_EQ(b.host.At(both), (LayoutRect{10, 100, 630 - cx, 340 - cy}));
    }
}

// An axis with neither anchor centres the control on its reference, never wider than the reference.
TEST(LayoutManager, CentresOnReference) {
    struct Case {
        const char* what;
        bool vertical;
        LayoutRect reference;
        LayoutRect expected; // from {0, 0, 100, 100}, the other axis kept
    } cases[] = {
        {"wider reference", false, {50, 500, 350, 520}, {150, 0, 250, 100}},
        {"odd difference truncates", false, {50, 500, 153, 520}, {51, 0, 151, 100}},
        {"difference of one", false, {50, 500, 151, 520}, {50, 0, 150, 100}},
        {"same width", false, {7, 500, 107, 520}, {7, 0, 107, 100}},
        {"narrower reference", false, {20, 500, 80, 520}, {20, 0, 80, 100}},
        {"negative origin", false, {-30, 500, 171, 520}, {20, 0, 120, 100}},
        {"wider reference", true, {500, 50, 520, 350}, {0, 150, 100, 250}},
        {"odd difference truncates", true, {500, 50, 520, 153}, {0, 51, 100, 151}},
        {"narrower reference", true, {500, 20, 520, 80}, {0, 20, 100, 80}},
        {"negative origin", true, {500, -31, 520, 170}, {0, 19, 100, 119}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << (c.vertical ? " (vertical)" : " (horizontal)"));
        Bound b;
        b.host.frame = {4, 3};
        const LayoutHandle reference = b.host.Add(c.reference);
        const LayoutHandle control = b.host.Add({0, 0, 100, 100});
        // The other axis is anchored to its near edge, so it stays.
        if (c.vertical)
            b.manager.Register(control, 1, 0, 0, 0, 0, 0, nullptr, reference);
        else
            b.manager.Register(control, 0, 1, 0, 0, 0, 0, reference, nullptr);
        b.Resize(900, 700);
        ASSERT_TRUE(b.manager.Relayout());
        EXPECT_EQ(b.host.At(control), c.expected);
    }
}

TEST(LayoutManager, AnchorsTakePrecedenceOverReferences) {
    struct Case {
        int32_t left, top, right, bottom;
        LayoutRect expected; // from {0, 0, 100, 100}, shift (196, 97)
    } cases[] = {
        {1, 1, 0, 0, {0, 0, 100, 100}},
        {0, 0, 1, 1, {196, 97, 296, 197}},
        {1, 0, 1, 0, {0, 150, 296, 250}}, // horizontal anchored, vertical centred
        {0, 1, 0, 1, {150, 0, 250, 197}}, // vertical anchored, horizontal centred
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << c.top << c.right << c.bottom);
        Bound b;
        b.host.frame = {4, 3};
        const LayoutHandle reference = b.host.Add({50, 50, 350, 350});
        const LayoutHandle control = b.host.Add({0, 0, 100, 100});
        b.manager.Register(control, c.left, c.top, c.right, c.bottom, 0, 0, reference, reference);
        b.Resize(840, 500);
        ASSERT_TRUE(b.manager.Relayout());
        EXPECT_EQ(b.host.At(control), c.expected);
    }
}

// The reference is read during the pass: one registered earlier has already moved, one registered later not yet.
TEST(LayoutManager, ReferenceIsReadWhereItIsDuringThePass) {
    for (const bool referenceFirst : {true, false}) {
        SCOPED_TRACE(referenceFirst ? "reference registered first" : "reference registered last");
        Bound b;
        const LayoutHandle reference = b.host.Add({100, 10, 300, 40});
        const LayoutHandle control = b.host.Add({0, 50, 100, 80});
        if (referenceFirst) b.manager.Register(reference, 1, 1, 1, 0);
        b.manager.Register(control, 0, 1, 0, 0, 0, 0, reference);
        if (!referenceFirst) b.manager.Register(reference, 1, 1, 1, 0);
        b.Resize(840, 400);
        ASSERT_TRUE(b.manager.Relayout());
        EXPECT_EQ(b.host.At(reference), (LayoutRect{100, 10, 500, 40}));
        // Centred on {100, 500} after the reference moved, on {100, 300} before.
        EXPECT_EQ(b.host.At(control), referenceFirst ? (LayoutRect{250, 50, 350, 80}) : (LayoutRect{150, 50, 250, 80}));
    }
}

TEST(LayoutManager, MinimumSizeExtendsTheFarEdge) {
    struct Case {
        const char* what;
        LayoutAnchors anchors;
        LayoutRect initial;
        int32_t width, height; // new client size (from 640 × 400), no frame
        LayoutRect expected;
    } cases[] = {
        {"stretched below the minimum width", {1, 1, 1, 0, 50, 0}, {10, 10, 110, 40}, 560, 400, {10, 10, 60, 40}},
        {"stretched to exactly the minimum", {1, 1, 1, 0, 50, 0}, {10, 10, 110, 40}, 590, 400, {10, 10, 60, 40}},
        {"above the minimum", {1, 1, 1, 0, 50, 0}, {10, 10, 110, 40}, 600, 400, {10, 10, 70, 40}},
        {"following control narrower than its minimum",
         {0, 1, 1, 0, 50, 0},
         {200, 10, 230, 40},
         640,
         400,
         {200, 10, 250, 40}},
        {"stretched below the minimum height", {1, 1, 1, 1, 0, 40}, {10, 10, 110, 100}, 640, 320, {10, 10, 110, 50}},
        {"both minimums", {1, 1, 1, 1, 50, 40}, {10, 10, 110, 100}, 500, 300, {10, 10, 60, 50}},
        {"inverted by shrinking", {1, 1, 1, 1, 5, 6}, {10, 10, 110, 100}, 400, 200, {10, 10, 15, 16}},
        {"no minimum keeps the shrunk size", {1, 1, 1, 1, 0, 0}, {10, 10, 110, 100}, 560, 350, {10, 10, 30, 50}},
        {"centred on a narrow reference", {0, 1, 0, 0, 80, 0}, {0, 0, 100, 30}, 640, 400, {300, 0, 380, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bound b;
        LayoutAnchors anchors = c.anchors;
        if (!anchors.left && !anchors.right) anchors.horizontalRef = b.host.Add({300, 0, 340, 20});
        const LayoutHandle control = b.host.Add(c.initial);
        b.manager.RegisterRecord(control, anchors);
        b.Resize(c.width, c.height);
        ASSERT_TRUE(b.manager.Relayout());
        EXPECT_EQ(b.host.At(control), c.expected);
    }
}

TEST(LayoutManager, RegisterDefaultsToAllAnchorsAndReadsTheRectangle) {
    Bound b;
    const LayoutHandle control = b.host.Add({5, 6, 70, 80});
    b.manager.Register(control);
    ASSERT_EQ(b.manager.Registrations().size(), 1u);
    const auto& record = b.manager.Registrations()[0];
    EXPECT_EQ(record.control, control);
    EXPECT_EQ(record.anchors, (LayoutAnchors{1, 1, 1, 1, 0, 0, nullptr, nullptr}));
    EXPECT_EQ(record.initial, (LayoutRect{5, 6, 70, 80}));
}

TEST(LayoutManager, RegisteringAgainReplacesInPlace) {
    Bound b;
    const LayoutHandle first = b.host.Add({10, 10, 60, 40});
    const LayoutHandle second = b.host.Add({100, 10, 150, 40});
    const LayoutHandle third = b.host.Add({200, 10, 250, 40});
    b.manager.Register(first, 1, 1, 0, 0);
    b.manager.Register(second, 1, 1, 0, 0);
    b.manager.Register(third, 1, 1, 0, 0);
    b.host.At(second) = {110, 20, 170, 60};
    b.manager.Register(second, 0, 1, 1, 0, 70);

    ASSERT_EQ(b.manager.Registrations().size(), 3u);
    EXPECT_EQ(b.manager.FindRegistration(first), 1u);
    EXPECT_EQ(b.manager.FindRegistration(second), 2u);
    EXPECT_EQ(b.manager.FindRegistration(third), 3u);
    const auto& record = b.manager.Registrations()[1];
    EXPECT_EQ(record.anchors, (LayoutAnchors{0, 1, 1, 0, 70, 0, nullptr, nullptr}));
    EXPECT_EQ(record.initial, (LayoutRect{110, 20, 170, 60}));

    b.Resize(740, 400);
    ASSERT_TRUE(b.manager.Relayout());
    // Moves from the re-read rectangle with the new anchors, widened to its new minimum.
    EXPECT_EQ(b.host.At(second), (LayoutRect{210, 20, 280, 60}));
}

TEST(LayoutManager, UnregisterAndFind) {
    Bound b;
    const LayoutHandle a = b.host.Add({});
    const LayoutHandle c = b.host.Add({});
    const LayoutHandle d = b.host.Add({});
    const LayoutHandle never = b.host.Add({});
    b.manager.Register(a);
    b.manager.Register(c);
    b.manager.Register(d);
    struct Step {
        LayoutHandle control;
        bool removed;
        size_t findA, findC, findD;
    } steps[] = {
        {never, false, 1, 2, 3}, {c, true, 1, 0, 2}, {c, false, 1, 0, 2}, {a, true, 0, 0, 1}, {d, true, 0, 0, 0},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(b.manager.Unregister(s.control), s.removed);
        EXPECT_EQ(b.manager.FindRegistration(a), s.findA);
        EXPECT_EQ(b.manager.FindRegistration(c), s.findC);
        EXPECT_EQ(b.manager.FindRegistration(d), s.findD);
    }
    EXPECT_TRUE(b.manager.Registrations().empty());
}

TEST(LayoutManager, RelayoutNeedsABoundWindow) {
    FakeLayoutHost host;
    LayoutManager manager(host);
    const LayoutHandle control = host.Add({10, 10, 60, 40});
    manager.Register(control);
    EXPECT_EQ(manager.GetWindow(), nullptr);
    EXPECT_FALSE(manager.Relayout());
    EXPECT_TRUE(host.moves.empty());

    // SetWindow binds without dropping what is registered.
    const LayoutHandle window = host.Add({0, 0, 300, 200});
    manager.SetWindow(window);
    EXPECT_EQ(manager.GetWindow(), window);
    EXPECT_EQ(manager.FindRegistration(control), 1u);
    EXPECT_TRUE(manager.Relayout());
    EXPECT_EQ(host.moves.size(), 1u);
}

TEST(LayoutManager, RelayoutMovesEveryControlInRegistrationOrder) {
    Bound b;
    std::vector<LayoutHandle> controls;
    for (int i = 0; i < 4; ++i) controls.push_back(b.host.Add({i, i, i + 10, i + 10}));
    for (const int i : {2, 0, 3, 1}) b.manager.Register(controls[i]);
    ASSERT_TRUE(b.manager.Relayout());
    ASSERT_EQ(b.host.moves.size(), 4u);
    EXPECT_EQ(b.host.moves[0].first, controls[2]);
    EXPECT_EQ(b.host.moves[1].first, controls[0]);
    EXPECT_EQ(b.host.moves[2].first, controls[3]);
    EXPECT_EQ(b.host.moves[3].first, controls[1]);
}

// The size compared against is the client rectangle at binding; binding again takes the new one.
TEST(LayoutManager, BindTakesTheClientRectangleAndClears) {
    FakeLayoutHost host;
    LayoutManager manager(host);
    const LayoutHandle window = host.Add({0, 0, 640, 400});
    const LayoutHandle control = host.Add({100, 10, 200, 40});

    manager.Bind(window);
    EXPECT_EQ(manager.InitialClientRect(), (LayoutRect{0, 0, 640, 400}));
    manager.Register(control, 0, 1, 1, 0);

    // Without a handle, Bind only drops the registrations.
    host.At(window) = {0, 0, 700, 400};
    manager.Bind();
    EXPECT_EQ(manager.GetWindow(), window);
    EXPECT_EQ(manager.InitialClientRect(), (LayoutRect{0, 0, 640, 400}));
    EXPECT_TRUE(manager.Registrations().empty());

    manager.Bind(window);
    EXPECT_EQ(manager.InitialClientRect(), (LayoutRect{0, 0, 700, 400}));
    manager.Register(control, 0, 1, 1, 0);
    host.At(window) = {0, 0, 750, 400};
    ASSERT_TRUE(manager.Relayout());
    EXPECT_EQ(host.At(control), (LayoutRect{150, 10, 250, 40}));
}

// Only the client size counts, not where the client rectangle starts.
TEST(LayoutManager, ShiftComesFromClientSizeOnly) {
    Bound b;
    const LayoutHandle control = b.host.Add({100, 10, 200, 40});
    b.manager.Register(control, 0, 1, 1, 0);
    b.host.At(b.window) = {50, 30, 690, 430};
    ASSERT_TRUE(b.manager.Relayout());
    EXPECT_EQ(b.host.At(control), (LayoutRect{100, 10, 200, 40}));
}

// Each dpi on the way places the controls as a window started there would, and back at 96 every one is where
// it was registered: rescaling starts from the registered places, never from places already rounded.
TEST(LayoutManager, RescalingKeepsNoRoundingFromEarlierDpis) {
    Bound b;
    std::vector<LayoutHandle> controls;
    for (int32_t v = 0; v < 40; ++v) b.manager.Register(controls.emplace_back(b.host.Add({v, v + 1, v + 50, v + 3})));
    const auto at = [](int32_t v, int32_t dpi) { return (v * dpi + 48) / 96; };
    int32_t from = 96;
    for (const int32_t dpi : {120, 144, 96}) {
        b.manager.Rescale(std::exchange(from, dpi), dpi);
        b.Resize(at(640, dpi) + 7, at(400, dpi) + 5);
        ASSERT_TRUE(b.manager.Relayout());
        for (int32_t v = 0; v < 40; ++v)
            EXPECT_EQ(b.host.At(controls[v]),
                      (LayoutRect{at(v, dpi), at(v + 1, dpi), at(v + 50, dpi) + 7, at(v + 3, dpi) + 5}))
                << v << " at " << dpi;
    }
}
