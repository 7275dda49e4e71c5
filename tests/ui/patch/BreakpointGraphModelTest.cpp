#include "ui/patch/BreakpointGraphModel.h"

#include "testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
using Model = CBreakpointGraphModel;
using Strings = std::vector<std::string>;

std::string Text(std::int32_t x, std::int32_t y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// A primitive as "kind pen points" ("fill colour points" for fills), with "px" when drawn in
// plain pixels.
std::string Describe(const RecordingSurface::Primitive& p) {
    static const char* kinds[] = {"line", "polyline", "rect", "ellipse", "fill", "invert", "text"};
    std::string pen = p.kind == RecordingSurface::Kind::FillRect
                          ? (p.fill == Colour{255, 255, 255} ? "white" : "other")
                      : p.pen == Pen{PenStyle::Solid, {192, 192, 192}} ? "grey"
                      : p.pen == Pen{PenStyle::Solid, {255, 64, 64}}   ? "red"
                      : p.pen == Pen{PenStyle::Solid, {0, 0, 0}}       ? "black"
                      : p.pen == Pen{PenStyle::Dotted, {0, 128, 0}}    ? "green-dots"
                                                                       : "other";
    std::string text = std::string(kinds[static_cast<int>(p.kind)]) + " " + pen;
    if (p.mapping == SurfaceMapping{})
        text += " px";
    for (const auto& point : p.points) {
        // Appended in two steps: `" " + string` draws a false -Wrestrict from GCC 12 at -O3.
        text += ' ';
        text += Text(point.x, point.y);
    }
    return text;
}

Strings Paint(const Model& graph) {
    RecordingSurface surface;
    graph.Paint(surface);
    Strings drawn;
    for (const auto& primitive : surface.Primitives())
        drawn.push_back(Describe(primitive));
    return drawn;
}

// A 200 x 200 graph of 0..100 both ways: logical (x, y) sits at pixel (2x, 200 - 2y).
class BreakpointGraphModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        graph.SetXRange(0, 100, 0);
        graph.SetYRange(0, 100, 0);
        graph.SetClientSize(200, 200);
        graph.SetOwner([this](int kind, std::uint32_t value) {
            notices.push_back(kind == Model::kEditEnded && value == 0
                                  ? "end"
                                  : std::to_string(kind) + ":" + Text(PackedX(value), PackedY(value)));
        });
    }

    void SetPoints(const std::vector<std::pair<int, int>>& points) {
        graph.SetPointCount(0);
        for (std::size_t i = 0; i < points.size(); ++i)
            graph.SetPoint(static_cast<int>(i), points[i].first, points[i].second);
    }

    Strings Points() const {
        Strings points;
        for (std::uint32_t point : graph.GetPoints())
            points.push_back(Text(PackedX(point), PackedY(point)));
        return points;
    }

    Model graph;
    Strings notices;
};
} // namespace

TEST(BreakpointGraphPacking, XLowYHighBothSignExtended) {
    std::uint32_t point = PackPoint(-5, -32768);
    EXPECT_EQ(point, 0x8000FFFBu);
    EXPECT_EQ(PackedX(point), -5);
    EXPECT_EQ(PackedY(point), -32768);
    EXPECT_EQ(PackedY(PackPoint(0, 32767)), 32767);
    EXPECT_EQ(PackPoint(0x12345, 1), 0x00012345u); // x never spills into y
}

TEST(BreakpointGraphMapping, HalvesTheVerticalExtentsTowardZero) {
    Model graph;
    graph.SetXRange(-20, 108, 12);
    graph.SetYRange(-127, 0, 0);
    graph.SetClientSize(300, 101);
    EXPECT_EQ(graph.GetMapping(), (SurfaceMapping{{-20, 0}, {128, -63}, {0, 0}, {300, 50}}));
}

TEST_F(BreakpointGraphModelTest, ClickAddsAtThePointerInXOrderAndReleaseEndsTheEdit) {
    SetPoints({{0, 50}, {60, 20}});
    // Pixel (81, 103): x = 81 / 2 and y = 100 - 103 / 2, both truncated.
    EXPECT_TRUE(graph.OnLeftButtonDown({81, 103}));
    EXPECT_EQ(graph.GetSelectedPoint(), 1);
    graph.OnLeftButtonUp();
    graph.OnLeftButtonDown({180, 0});
    graph.OnLeftButtonUp();
    EXPECT_EQ(Points(), (Strings{"0,50", "40,49", "60,20", "90,100"}));
    EXPECT_EQ(notices, (Strings{"1:40,49", "end", "1:90,100", "end"}));
}

TEST_F(BreakpointGraphModelTest, ClicksThatCannotAddAreIgnoredSilently) {
    SetPoints({{0, 0}, {50, 10}});
    // Above point 1 (drawn at pixel (100, 180)), away from its circle.
    EXPECT_FALSE(graph.OnLeftButtonDown({101, 40}));
    EXPECT_FALSE(graph.OnPointerMove({150, 40}));
    graph.OnLeftButtonUp();
    graph.SetMaxPoints(2);
    EXPECT_FALSE(graph.OnLeftButtonDown({150, 100}));
    graph.SetMaxPoints(Model::kDefaultMaxPoints);
    graph.SetYRange(30, 30, 0);
    EXPECT_FALSE(graph.OnLeftButtonDown({150, 100}));
    graph.SetYRange(0, 100, 0);
    graph.SetOwner({});
    EXPECT_FALSE(graph.OnLeftButtonDown({150, 100}));
    EXPECT_EQ(Points(), (Strings{"0,0", "50,10"}));
    EXPECT_TRUE(notices.empty());
}

TEST_F(BreakpointGraphModelTest, DraggedPointStopsOneUnitFromEitherNeighbour) {
    SetPoints({{0, 0}, {20, 10}, {40, 40}, {60, 40}});
    ASSERT_TRUE(graph.OnLeftButtonDown({80, 121}));
    graph.OnPointerMove({20, 100});  // x 10: left of the left neighbour
    graph.OnPointerMove({500, -40}); // clamped to (200, 0): right of the right neighbour
    graph.OnPointerMove({90, 60});   // free
    graph.OnLeftButtonUp();
    EXPECT_EQ(notices, (Strings{"1:40,40", "1:21,50", "1:59,100", "1:45,70", "end"}));
    EXPECT_EQ(Points(), (Strings{"0,0", "20,10", "45,70", "60,40"}));
}

TEST_F(BreakpointGraphModelTest, FirstPointStaysAtXLowAndCannotBeRemoved) {
    graph.SetXRange(10, 110, 0); // logical (x, y) now at pixel (2 (x - 10), 200 - 2y)
    SetPoints({{10, 20}, {60, 20}});
    ASSERT_TRUE(graph.OnLeftButtonDown({0, 160}));
    graph.OnPointerMove({120, 60});
    graph.OnPointerMove({-30, 100});
    graph.OnLeftButtonUp();
    EXPECT_FALSE(graph.OnLeftDoubleClick({0, 100}));
    EXPECT_FALSE(graph.OnLeftDoubleClick({50, 50})); // no hit
    EXPECT_EQ(notices, (Strings{"1:10,20", "1:10,70", "1:10,50", "end"}));

    EXPECT_TRUE(graph.OnLeftDoubleClick({101, 161}));
    EXPECT_EQ(Points(), (Strings{"10,50"}));
    EXPECT_EQ(graph.GetSelectedPoint(), -1);
    EXPECT_EQ(notices.back(), "end");
}

TEST_F(BreakpointGraphModelTest, HandleSquareIsInclusiveTopLeftExclusiveBottomRightFirstWins) {
    SetPoints({{0, 0}, {20, 50}, {21, 50}}); // at pixels (40, 100) and (42, 100)
    EXPECT_EQ(graph.HitTest({37, 97}), 1);
    EXPECT_EQ(graph.HitTest({42, 102}), 1);
    EXPECT_EQ(graph.HitTest({43, 100}), 2);
    EXPECT_EQ(graph.HitTest({40, 103}), -1);
    EXPECT_EQ(graph.HitTest({36, 100}), -1);
}

TEST_F(BreakpointGraphModelTest, RightDragMovesOneUnitPerPixelAndEndsWithoutNotice) {
    graph.SetXRange(0, 10000, 0); // 50 units a pixel across, 100 over 200 pixels down
    SetPoints({{0, 0}, {5000, 50}, {9000, 0}});
    ASSERT_TRUE(graph.OnRightButtonDown({100, 100}));
    EXPECT_TRUE(graph.IsFineX());
    EXPECT_FALSE(graph.IsFineY());
    graph.OnPointerMove({103, 100});
    graph.OnPointerMove({101, 80});
    graph.OnRightButtonUp();
    EXPECT_FALSE(graph.IsFineX());
    // The left button drags by the mapped amount and ends with a notice.
    ASSERT_TRUE(graph.OnLeftButtonDown({100, 80}));
    graph.OnPointerMove({103, 80});
    graph.OnLeftButtonUp();
    EXPECT_EQ(notices, (Strings{"1:5000,50", "1:5003,50", "1:5001,60", "1:5001,60", "1:5150,60", "end"}));

    graph.SetYRange(-1000, 1000, 0); // now fine vertically only; (5150, 0) sits at (103, 100)
    graph.SetXRange(0, 100, 0);
    SetPoints({{0, 0}, {50, 0}});
    ASSERT_TRUE(graph.OnRightButtonDown({100, 100}));
    EXPECT_FALSE(graph.IsFineX());
    graph.OnPointerMove({110, 96});
    EXPECT_EQ(Points().back(), "55,4");
}

TEST_F(BreakpointGraphModelTest, LeftReleaseDuringAFineDragEndsItToo) {
    graph.SetXRange(0, 10000, 0);
    SetPoints({{0, 0}, {5000, 50}});
    ASSERT_TRUE(graph.OnRightButtonDown({100, 100}));
    graph.OnLeftButtonUp();
    EXPECT_FALSE(graph.HasCapture());
    EXPECT_FALSE(graph.IsFineX());
    EXPECT_EQ(notices, (Strings{"1:5000,50", "end"}));
}

TEST_F(BreakpointGraphModelTest, OwnerShrinkingTheCurveMidDragDropsTheSelection) {
    SetPoints({{0, 0}, {50, 50}});
    ASSERT_TRUE(graph.OnLeftButtonDown({100, 100}));
    graph.SetPointCount(1);
    graph.OnPointerMove({150, 150});
    EXPECT_EQ(graph.GetSelectedPoint(), -1);
    graph.SetPoint(2, 70, -5); // beyond the end grows, filling with (0, 0)
    EXPECT_EQ(Points(), (Strings{"0,0", "0,0", "70,-5"}));
}

TEST(BreakpointGraphPainting, GridHandlesCurveAndHoldLineInOrder) {
    Model graph;
    graph.SetXRange(0, 100, 25);
    graph.SetYRange(-50, 50, 50);
    graph.SetClientSize(200, 100); // logical (x, y) at pixel (2x, 50 - y)
    graph.SetPoint(0, 0, 10);
    graph.SetPoint(1, 40, -20);

    RecordingSurface surface;
    Pen before{PenStyle::Solid, {1, 2, 3}};
    surface.SelectPen(before);
    graph.Paint(surface);
    Strings drawn;
    for (const auto& primitive : surface.Primitives()) {
        drawn.push_back(Describe(primitive));
        if (primitive.kind != RecordingSurface::Kind::FillRect) {
            EXPECT_EQ(primitive.clip, (SurfaceRect{0, 0, 200, 100})) << drawn.back();
        }
    }
    EXPECT_EQ(drawn,
              (Strings{"fill white px 0,0 200,100", "line grey 0,50 0,-50", "line grey 25,50 25,-50",
                       "line grey 50,50 50,-50", "line grey 75,50 75,-50", "line grey 0,-50 100,-50",
                       "line red 0,0 100,0", "ellipse black px -3,37 3,43", "ellipse black px 77,67 83,73",
                       "polyline black 0,10 40,-20", "line green-dots 40,-20 100,-20"}));
    EXPECT_EQ(surface.Primitives()[7].brush, (Brush{BrushStyle::Solid, {255, 255, 255}}));
    EXPECT_EQ(surface.CurrentPen(), before);
    EXPECT_EQ(surface.CurrentMapping(), SurfaceMapping{});
}

TEST(BreakpointGraphPainting, OctaveGridMarksMiddleCOnlyWithAStepOfTwelve) {
    Model graph;
    graph.SetXRange(0, 127, 12);
    graph.SetYRange(0, 100, 0);
    graph.SetClientSize(120, 100);
    Strings drawn = Paint(graph);
    ASSERT_EQ(drawn.size(), 12u); // the fill and 0, 12, ... 120
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(drawn[i + 1],
                  (i == 5 ? "line red " : "line grey ") + Text(i * 12, 100) + " " + Text(i * 12, 0));
    graph.SetXRange(0, 127, 10);
    drawn = Paint(graph);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "line red 60,100 60,0"), 0);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "line grey 60,100 60,0"), 1);
}

TEST(BreakpointGraphPainting, CurveStopsAtTheFirstPointBeyondXHighWithNoHoldLine) {
    Model graph;
    graph.SetXRange(0, 100, 0);
    graph.SetYRange(0, 100, 0);
    graph.SetClientSize(200, 200);
    for (auto [i, x] : {std::pair{0, 0}, {1, 50}, {2, 120}, {3, 130}})
        graph.SetPoint(i, x, 20);
    EXPECT_EQ(Paint(graph), (Strings{"fill white px 0,0 200,200", "ellipse black px -3,157 3,163",
                                     "ellipse black px 97,157 103,163", "polyline black 0,20 50,20 120,20"}));
    // With no range there is no scale: only the fill.
    EXPECT_EQ(Paint(Model{}).size(), 1u);
}
