#include "ui/patch/PatchPropertySheetModel.h"

#include "platform/ScriptedUi.h"

#include "patch/PatchBuilders.h"

#include <gtest/gtest.h>

namespace {
using Model = CBreakpointGraphModel;

// The graph of a page, 200 x 70 pixels, with an owner so that clicks and drags count.
void Ready(Model& graph) {
    graph.SetClientSize(200, 70);
    graph.SetOwner([](int, std::uint32_t) {});
}

std::vector<std::pair<int, int>> Unpacked(const std::vector<std::uint32_t>& packed) {
    std::vector<std::pair<int, int>> points;
    for (std::uint32_t p : packed)
        points.emplace_back(PackedX(p), PackedY(p));
    return points;
}

CLayerParams Layer() {
    CLayerParams params;
    params.m_strLayerName = "Pad";
    params.m_nLevel = -2;
    params.m_envelope = MakeEnvelope({{0, 0}, {100, -6}, {250, -20}}, 300);
    params.m_envelope.SetLinearFlags(0b110);
    params.m_noteOnRouting.Add(
        MakeRouting<CNoteOnRoutingItem>(kSourceVelocity, kDestinationVolume, {{1, -30}}));
    params.m_xfade.SetValues(64, 20, CXfade::kExponential);
    return params;
}
} // namespace

TEST(EnvelopePage, ZoomSpansGridStepsAndLabels) {
    CEnvelopePageModel page;
    EXPECT_EQ(page.Graph().GetYLow(), -60);
    EXPECT_EQ(page.Graph().GetYHigh(), 10);
    EXPECT_EQ(page.SpanLabel(), "0.010s");
    EXPECT_EQ(page.Graph().GetXStep(), 1);
    page.Zoom(); // at 10 ms already
    EXPECT_EQ(page.ZoomIndex(), 0);
    page.SetZoom(3);
    EXPECT_EQ(page.SpanLabel(), "0.300s");
    EXPECT_EQ(page.Graph().GetXHigh(), 300);
    EXPECT_EQ(page.Graph().GetXStep(), 100);
    page.SetZoom(7);
    EXPECT_EQ(page.SpanLabel(), "30.000s");
    EXPECT_EQ(page.Graph().GetXStep(), 10000);
    page.Unzoom(); // at 30000 ms already
    EXPECT_EQ(page.ZoomIndex(), 7);
    page.Zoom();
    EXPECT_EQ(page.SpanLabel(), "10.000s");
    EXPECT_EQ(page.Graph().GetXStep(), 1000); // strictly below the span
}

TEST(EnvelopePage, LoadChoosesTheNarrowestSpanReachingTheLastPoint) {
    CEnvelopePageModel page;
    struct Case {
        int lastTime;
        std::string label;
    } cases[] = {{250, "0.300s"},    {11, "0.030s"},   {10, "0.010s"}, {3000, "3.000s"},
                 {30001, "30.000s"}, {40000, "0.010s"}}; // times are read as signed 16-bit numbers
    for (const Case& c : cases) {
        page.LoadFrom(MakeEnvelope({{0, 0}, {c.lastTime, -10}}), 0);
        EXPECT_EQ(page.SpanLabel(), c.label) << c.lastTime;
    }
    page.LoadFrom(MakeEnvelope({{0, 0}}), 0);
    EXPECT_EQ(page.SpanLabel(), "1.000s");
    EXPECT_EQ(page.Graph().GetPointCount(), 1);
}

TEST(EnvelopePage, ReadOutShowsTheMovingPointThenEmpties) {
    CEnvelopePageModel page;
    page.OnGraphNotify(Model::kPointChanged, PackPoint(120, -12));
    EXPECT_EQ(page.ReadOut(), "(120,-12)");
    page.OnGraphNotify(Model::kPointChanged, PackPoint(0, 6));
    EXPECT_EQ(page.ReadOut(), "(0,+6)");
    page.OnGraphNotify(Model::kEditEnded, 0);
    EXPECT_EQ(page.ReadOut(), "");
}

TEST(EnvelopePage, LinearFirstStageTouchesSegmentZeroOnly) {
    CEnvelopePageModel page;
    CEnvelope envelope = MakeEnvelope({{0, 0}, {50, -3}});
    envelope.SetLinearFlags(0b111);
    page.LoadFrom(envelope, 4);
    EXPECT_TRUE(page.m_bLinearFirstStage);
    page.m_bLinearFirstStage = false;
    std::int32_t level = 0;
    page.StoreTo(envelope, level);
    EXPECT_EQ(envelope.GetLinearFlags(), 0b110u);
    EXPECT_EQ(level, 4);
}

TEST(PropertySheet, DragApplyThenResetRestoresTheLayer) {
    CLayerParams params = Layer();
    CPatchPropertySheetModel sheet;
    sheet.SetLayerParams(&params);
    EXPECT_TRUE(sheet.IsEnabled());
    EXPECT_EQ(sheet.Title(), "Pad");
    EXPECT_EQ(sheet.m_envelope.SpanLabel(), "0.300s");

    // Drag the 100 ms point (pixel 66, 16 of 200 x 70 over 0..300 ms, 10..-60 dB) down and right.
    Model& graph = sheet.m_envelope.Graph();
    Ready(graph);
    ASSERT_TRUE(graph.OnLeftButtonDown({66, 16}));
    graph.OnPointerMove({100, 40});
    graph.OnLeftButtonUp();
    EXPECT_EQ(Unpacked(graph.GetPoints())[1], (std::pair<int, int>{150, -30}));
    sheet.m_xfade.m_nCenter = 0;
    sheet.m_keyRoutings.OnDelete(0);

    EXPECT_TRUE(sheet.ApplyPages());
    EXPECT_EQ(Unpacked(params.m_envelope.GetPoints())[1], (std::pair<int, int>{150, -30}));
    EXPECT_EQ(params.m_noteOnRouting.GetCount(), 0);
    // A center of 0 switches the fade off: full gain at every velocity.
    EXPECT_EQ(params.m_xfade.Gain(127, false), 1.0f);
    EXPECT_EQ(params.m_xfade.Gain(1, true), 1.0f);

    EXPECT_TRUE(sheet.RevertPages());
    CLayerParams original = Layer();
    EXPECT_EQ(params.m_envelope.GetPoints(), original.m_envelope.GetPoints());
    EXPECT_EQ(params.m_noteOnRouting.GetCount(), 1);
    EXPECT_EQ(params.m_xfade.m_nCenter, 64);
    EXPECT_EQ(Unpacked(sheet.m_envelope.Graph().GetPoints())[1], (std::pair<int, int>{100, -6}));
    EXPECT_EQ(sheet.m_keyRoutings.GetCount(), 1);
}

TEST(PropertySheet, WithoutLayerParamsTheActivePageIsDisabledAndNothingApplies) {
    CLayerParams params = Layer();
    CPatchPropertySheetModel sheet;
    sheet.SetActivePage(CPatchPropertySheetModel::kXfadePage);
    sheet.SetLayerParams(&params);
    sheet.SetLayerParams(nullptr);
    EXPECT_FALSE(sheet.IsEnabled());
    EXPECT_FALSE(sheet.m_xfade.ControlsEnabled());
    EXPECT_TRUE(sheet.m_envelope.ControlsEnabled()); // only the page in front follows
    EXPECT_EQ(sheet.m_xfade.m_nCenter, 64u);         // the pages keep what they show
    sheet.m_xfade.m_nCenter = 1;
    EXPECT_FALSE(sheet.ApplyPages());
    EXPECT_FALSE(sheet.RevertPages());
    EXPECT_EQ(params.m_xfade.m_nCenter, 64);
}

TEST(XfadePage, LoadStoreKeepsTheCurveAndSixteenBits) {
    CXfade xfade;
    xfade.SetValues(64, 20, CXfade::kExponential);
    CXfadePageModel page;
    page.LoadFrom(xfade);
    EXPECT_EQ(page.m_nCurve, 1);
    CXfade stored;
    page.StoreTo(stored);
    EXPECT_EQ(stored.m_nCenter, 64);
    EXPECT_EQ(stored.m_nWidth, 20);
    EXPECT_EQ(stored.m_nCurve, CXfade::kExponential);
    page.m_nCenter = 65536 + 70;
    page.m_nWidth = 21;
    page.StoreTo(stored);
    EXPECT_EQ(stored.m_nCenter, 70);
    EXPECT_EQ(stored.m_nWidth, 21);
}
