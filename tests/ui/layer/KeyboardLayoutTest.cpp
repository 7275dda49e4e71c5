#include "ui/layer/KeyboardLayout.h"
#include "layer/LayerRecords.h"
#include "testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {
using Key = std::optional<std::uint16_t>;

// Every point inside a key's drawn outline, away from the lines, finds that key.
void ExpectInsideFindsKey(std::uint16_t key) {
    SurfaceRect rect = KeyRect(key);
    const int top = IsBlackKey(key) ? rect.top + 1 : 41; // low on the keyboard only white keys
    const int bottom = IsBlackKey(key) ? 40 : rect.bottom - 1;
    const int inset = IsBlackKey(key) ? 2 : 4; // clear of the black keys' zone
    for (int x = rect.left + inset; x < rect.right - inset; ++x)
        for (int y = top; y < bottom; ++y)
            ASSERT_EQ(KeyAt(x, y), Key(key)) << "key " << key << " at " << x << "," << y;
}
} // namespace

TEST(KeyboardLayout, KeysLieOctaveByOctaveFromTenToSevenHundredSixty) {
    EXPECT_EQ(KeyRect(0), (SurfaceRect{10, 10, 21, 61}));
    EXPECT_EQ(KeyRect(2), (SurfaceRect{20, 10, 31, 61}));
    EXPECT_EQ(KeyRect(1), (SurfaceRect{17, 10, 24, 41}));  // on the line x = 20
    EXPECT_EQ(KeyRect(10), (SurfaceRect{67, 10, 74, 41})); // A# on x = 70
    EXPECT_EQ(KeyRect(60), (SurfaceRect{360, 10, 371, 61}));
    EXPECT_EQ(KeyRect(127), (SurfaceRect{750, 10, 761, 61})); // G 9 ends on x = 760
    int blacks = 0;
    for (std::uint16_t key = 0; key <= kHighestKey; ++key) {
        blacks += IsBlackKey(key);
        ExpectInsideFindsKey(key);
    }
    EXPECT_EQ(blacks, 53);
}

TEST(KeyboardLayout, TheLineBetweenWhiteKeysIsNoKeyLowAndTheBlackKeyHigh) {
    // x = 20 divides C from D.
    EXPECT_EQ(KeyAt(20, 55), Key());
    EXPECT_EQ(KeyAt(20, 40), Key()); // y = 40 is already low
    EXPECT_EQ(KeyAt(20, 39), Key(1));
    EXPECT_EQ(KeyAt(20, 11), Key(1));
    // Between E and F, and B and the next C, there is no black key.
    EXPECT_EQ(KeyAt(40, 20), Key(5));
    EXPECT_EQ(KeyAt(39, 20), Key(4));
    EXPECT_EQ(KeyAt(80, 20), Key(12));
    EXPECT_EQ(KeyAt(79, 20), Key(11));
    EXPECT_EQ(KeyAt(80, 50), Key());
    // The black key reaches three pixels into the left white key and two into the right one.
    EXPECT_EQ(KeyAt(17, 20), Key(0));
    EXPECT_EQ(KeyAt(18, 20), Key(1));
    EXPECT_EQ(KeyAt(22, 20), Key(1));
    EXPECT_EQ(KeyAt(23, 20), Key(2));
}

TEST(KeyboardLayout, NothingOutsideTheKeys) {
    EXPECT_EQ(KeyAt(10, 30), Key()); // X = 0
    EXPECT_EQ(KeyAt(11, 30), Key(0));
    EXPECT_EQ(KeyAt(5, 30), Key());
    EXPECT_EQ(KeyAt(15, 10), Key()); // Y = 0
    EXPECT_EQ(KeyAt(15, 59), Key(0));
    EXPECT_EQ(KeyAt(15, 60), Key()); // Y = 50
    EXPECT_EQ(KeyAt(15, -100), Key());
    // Key 127's upper right edge would be key 128; right of x = 760 lie keys 129 and on.
    EXPECT_EQ(KeyAt(757, 20), Key(127));
    EXPECT_EQ(KeyAt(758, 20), Key());
    EXPECT_EQ(KeyAt(759, 20), Key());
    EXPECT_EQ(KeyAt(759, 50), Key(127));
    EXPECT_EQ(KeyAt(760, 50), Key());
    EXPECT_EQ(KeyAt(765, 50), Key());
    EXPECT_EQ(KeyAt(765, 20), Key());
    EXPECT_EQ(KeyAt(100000, 30), Key());
}

TEST(KeyboardLayout, RunsOfOneEntryShareAColourAndNeighbouringRunsAlternate) {
    CSample a, b;
    CLayer layer;
    // a on 0..4, b on 5..7, a again on 8 and, after a gap, on 11..13; b on 20 and 24.
    for (std::uint16_t key : {0, 1, 2, 3, 4})
        layer.m_keys.Set(key, &a);
    for (std::uint16_t key : {5, 6, 7})
        layer.m_keys.Set(key, &b);
    for (std::uint16_t key : {8, 11, 12, 13})
        layer.m_keys.Set(key, &a);
    for (std::uint16_t key : {20, 24})
        layer.m_keys.Set(key, &b);

    RecordingSurface surface;
    DrawKeyboard(surface, layer);
    std::map<std::uint16_t, Colour> fills;
    std::vector<std::uint16_t> order;
    for (const auto& primitive : surface.OfKind(RecordingSurface::Kind::Rectangle)) {
        EXPECT_EQ(primitive.pen, (Pen{PenStyle::Solid, Colour{0, 0, 0}, 1}));
        EXPECT_EQ(primitive.brush.style, BrushStyle::Solid);
        SurfaceRect rect{primitive.points[0].x, primitive.points[0].y, primitive.points[1].x,
                         primitive.points[1].y};
        for (std::uint16_t key = 0; key <= kHighestKey; ++key)
            if (KeyRect(key) == rect) {
                fills[key] = primitive.brush.colour;
                order.push_back(key);
            }
    }
    ASSERT_EQ(fills.size(), 128u);
    // White keys first, then black ones, each walk from key 0 up.
    EXPECT_EQ(order[0], 0);
    EXPECT_EQ(order[74], 127);
    EXPECT_EQ(order[75], 1);
    EXPECT_EQ(order[127], 126);

    // The first run takes the second pair of colours.
    EXPECT_EQ(fills[0], kWhiteRunB);
    EXPECT_EQ(fills[1], kBlackRunB);
    EXPECT_EQ(fills[4], kWhiteRunB);
    EXPECT_EQ(fills[5], kWhiteRunA);
    EXPECT_EQ(fills[6], kBlackRunA);
    EXPECT_EQ(fills[7], kWhiteRunA);
    EXPECT_EQ(fills[8], kBlackRunB);
    EXPECT_EQ(fills[9], kWhiteUnmapped);
    EXPECT_EQ(fills[10], kBlackUnmapped);
    EXPECT_EQ(fills[11], kWhiteRunB); // a's run goes on after the gap
    EXPECT_EQ(fills[13], kBlackRunB);
    EXPECT_EQ(fills[20], kBlackRunA);
    EXPECT_EQ(fills[24], kWhiteRunA); // b's run, interrupted, keeps its colour
    EXPECT_EQ(fills[127], kWhiteUnmapped);
}

TEST(KeyboardLayout, OctaveLabelsFromCMinusOneToCNine) {
    CLayer layer;
    RecordingSurface surface;
    DrawKeyboard(surface, layer);
    auto texts = surface.OfKind(RecordingSurface::Kind::Text);
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts.front().text, "C-1");
    EXPECT_EQ(texts.front().points[0], (SurfacePoint{10, 63}));
    EXPECT_EQ(texts[5].text, "C4");
    EXPECT_EQ(texts.back().text, "C9");
    EXPECT_EQ(texts.back().points[0], (SurfacePoint{710, 63}));
    // The surface's own pen, brush and font are put back.
    EXPECT_EQ(surface.CurrentPen(), Pen{});
    EXPECT_EQ(surface.CurrentFont(), Font{});
}
