#include "testing/RecordingSurface.h"

#include <gtest/gtest.h>

TEST(DrawingSurface, MappingConvertsBothWaysWithTruncation) {
    // 128 logical columns over 200 pixels; 1024 units over 300 pixels, flipped upwards.
    SurfaceMapping mapping{{0, 1024}, {128, -1024}, {0, 0}, {200, 300}};
    EXPECT_EQ(LogicalToDevice(mapping, {64, 512}), (SurfacePoint{100, 150}));
    EXPECT_EQ(DeviceToLogical(mapping, {100, 150}), (SurfacePoint{64, 512}));
    // 1 pixel is 0.64 columns: truncated to 0; 299 pixels down is 1024 - 1020.58.
    EXPECT_EQ(DeviceToLogical(mapping, {1, 299}), (SurfacePoint{0, 4}));
    // Degenerate extents do not divide by zero.
    SurfaceMapping empty{{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    EXPECT_EQ(DeviceToLogical(empty, {5, 5}), (SurfacePoint{0, 0}));
}

TEST(DrawingSurface, RecordingKeepsWhatEachPrimitiveWasDrawnWith) {
    RecordingSurface surface;
    Pen red{PenStyle::Dotted, {255, 0, 0}};
    {
        ScopedPen scoped(surface, red);
        surface.Line({0, 1}, {2, 3});
    }
    surface.Polyline({{0, 0}, {1, 1}, {2, 0}});
    surface.Text({4, 5}, "44100 Hz mono");
    ASSERT_EQ(surface.Primitives().size(), 3u);
    EXPECT_EQ(surface.Primitives()[0].pen, red);
    EXPECT_EQ(surface.Primitives()[1].pen, Pen{});
    EXPECT_EQ(surface.OfKind(RecordingSurface::Kind::Text).front().text, "44100 Hz mono");
    EXPECT_EQ(surface.CurrentPen(), Pen{});
}

TEST(DrawingSurface, ClipIsKeptInPixelsAndNarrowedByASecondClip) {
    RecordingSurface surface;
    surface.Line({0, 0}, {1, 1});
    EXPECT_FALSE(surface.Primitives().back().clip.has_value());

    surface.ClipTo({0, 0, 200, 100});
    // A later mapping does not move the clip; a second clip in logical units is converted first.
    surface.SetMapping({{0, 0}, {20, 10}, {0, 0}, {200, 100}});
    surface.ClipTo({5, 2, 40, 40});
    surface.Line({0, 0}, {1, 1});
    EXPECT_EQ(surface.Primitives().back().clip, (SurfaceRect{50, 20, 200, 100}));

    // Rectangles that do not meet leave an empty clip, not an inverted one.
    surface.ClipTo({-10, -10, 1, 1});
    EXPECT_EQ(surface.CurrentClip(), (SurfaceRect{50, 20, 50, 20}));
}
