#include "ui/patch/RoutingPageModel.h"

#include "platform/ScriptedUi.h"

#include "patch/PatchBuilders.h"

#include <gtest/gtest.h>

namespace {
using Strings = std::vector<std::string>;

AddRoutingValues Entered(int source, int destination, int controller = 0, int stage = 0) {
    AddRoutingValues values;
    values.source = source;
    values.destination = destination;
    values.controller = controller;
    values.stage = stage;
    return values;
}

class RoutingPageModelTest : public ::testing::Test {
protected:
    ScriptedUi ui;
    ScopedUi scope{ui};
    CRoutingPageModel keys{KeyRoutingKind()};
    CRoutingPageModel continuous{ContinuousRoutingKind()};
};
} // namespace

TEST_F(RoutingPageModelTest, VelocityToEnvelopeDurationStartsAtFullAmountAndZooms) {
    ui.QueueDialog<AddRoutingValues>(Entered(kSourceVelocity, kDestinationEnvDuration, 0, 2));
    ASSERT_TRUE(keys.OnAdd());
    ASSERT_EQ(keys.GetCount(), 1);
    EXPECT_EQ(keys.GetEntry(0).stage, 1);
    EXPECT_EQ(keys.Descriptions(), Strings{"Velocity to AmpEnvDur 2"});
    EXPECT_EQ(keys.GetEntry(0).curve, std::vector<std::uint32_t>{PackPoint(1, 100)});
    EXPECT_EQ(keys.Selected(), 0);
    EXPECT_EQ(keys.Graph().GetYLow(), 0);
    EXPECT_EQ(keys.Graph().GetYHigh(), 200);
    EXPECT_EQ(keys.YLowLabel(), "0");
    EXPECT_EQ(keys.YHighLabel(), "+200%");
    EXPECT_TRUE(keys.ZoomEnabled());
    EXPECT_TRUE(keys.UnzoomEnabled());

    keys.Zoom();
    EXPECT_EQ(keys.Graph().GetYHigh(), 100);
    EXPECT_EQ(keys.Graph().GetYStep(), 10);
    EXPECT_FALSE(keys.ZoomEnabled());
    for (int i = 0; i < 8; ++i)
        keys.Unzoom();
    EXPECT_EQ(keys.Graph().GetYHigh(), 10000);
    EXPECT_EQ(keys.Graph().GetYStep(), 1000);
    EXPECT_FALSE(keys.UnzoomEnabled());
    EXPECT_TRUE(keys.ZoomEnabled());
}

TEST_F(RoutingPageModelTest, TheSameRoutingTwiceIsRefused) {
    ASSERT_TRUE(keys.AddRouting(Entered(kSourceController, kDestinationVolume, 7)));
    EXPECT_FALSE(keys.AddRouting(Entered(kSourceController, kDestinationVolume, 7)));
    EXPECT_EQ(ui.Messages(), Strings{"That routing is already in place."});
    EXPECT_TRUE(keys.AddRouting(Entered(kSourceController, kDestinationVolume, 8)));
    EXPECT_EQ(keys.Descriptions(), (Strings{"Controller 7 to Volume", "Controller 8 to Volume"}));
    ui.QueueDialog<AddRoutingValues>(std::nullopt);
    EXPECT_FALSE(keys.OnAdd());
    EXPECT_EQ(keys.GetCount(), 2);
}

TEST_F(RoutingPageModelTest, RangesAndLabelsFollowTheRoutingShown) {
    keys.AddRouting(Entered(kSourceKeyNumber, kDestinationVolume));
    EXPECT_EQ(keys.Graph().GetXLow(), 0);
    EXPECT_EQ(keys.Graph().GetXStep(), 12); // octave lines, red at middle C
    EXPECT_EQ(keys.YLowLabel(), "-60dB");
    EXPECT_EQ(keys.YHighLabel(), "+10dB");
    EXPECT_FALSE(keys.ZoomEnabled());
    keys.AddRouting(Entered(kSourceVelocity, kDestinationPitch));
    EXPECT_EQ(keys.Graph().GetXStep(), 10);
    EXPECT_EQ(keys.YLowLabel(), "-100%");
    EXPECT_EQ(keys.YHighLabel(), "+100%");

    EXPECT_EQ(continuous.Graph().GetXLow(), 1);
    continuous.AddRouting(Entered(kSourcePitchWheel, kDestinationPitch));
    EXPECT_EQ(continuous.Graph().GetXLow(), 1);
    EXPECT_EQ(continuous.Descriptions(), Strings{"Pitch Wheel to Pitch"});
    continuous.AddRouting(Entered(kSourceAftertouch, kDestinationVolume));
    EXPECT_EQ(continuous.YHighLabel(), "+10dB");
    EXPECT_FALSE(continuous.ZoomEnabled());

    // A destination the page does not know is told, and its curve still shown.
    CControllerRouting foreign;
    foreign.Add(MakeRouting<CControllerRoutingItem>(9, 6, {{1, 5}, {64, 9}}));
    continuous.LoadFrom(foreign);
    EXPECT_EQ(ui.Messages(), Strings{"Internal error: unexpected dest code"});
    EXPECT_EQ(continuous.Graph().GetPointCount(), 2);
    EXPECT_EQ(continuous.Descriptions(), Strings{"Error! to Error!"});
}

TEST_F(RoutingPageModelTest, DeleteShowsTheNextOrThePreviousRouting) {
    for (int destination : {kDestinationVolume, kDestinationPitch, kDestinationEnvHoldLevel})
        keys.AddRouting(Entered(kSourceVelocity, destination));
    EXPECT_TRUE(keys.OnDelete(2));
    EXPECT_EQ(keys.Selected(), 1);
    EXPECT_EQ(keys.Descriptions(), (Strings{"Velocity to Volume", "Velocity to Pitch"}));
    EXPECT_TRUE(keys.OnDelete(0));
    EXPECT_EQ(keys.Selected(), 0);
    EXPECT_TRUE(keys.OnDelete(0));
    EXPECT_EQ(keys.Selected(), -1);
    EXPECT_EQ(keys.Graph().GetPointCount(), 0);
    EXPECT_FALSE(keys.OnDelete(0));
}

TEST_F(RoutingPageModelTest, AnEditedCurveSurvivesSwitchingAndReachesTheList) {
    CNoteOnRouting list;
    list.Add(MakeRouting<CNoteOnRoutingItem>(kSourceVelocity, kDestinationVolume, {{1, -30}}));
    list.Add(MakeRouting<CNoteOnRoutingItem>(kSourceKeyNumber, kDestinationPitch, {{1, 0}}));
    keys.LoadFrom(list);
    EXPECT_EQ(keys.Selected(), 0);
    keys.Graph().SetPoint(1, 100, -10);
    keys.OnSelectionChanged(1);
    keys.OnSelectionChanged(0);
    EXPECT_EQ(keys.Graph().GetPointCount(), 2);
    keys.StoreCurve();
    keys.StoreTo(list);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItem(0).m_curve, (std::vector<std::uint32_t>{PackPoint(1, -30), PackPoint(100, -10)}));
    EXPECT_EQ(&list.GetItem(0).GetArchiveClass(), &CNoteOnRoutingItem::kClass);

    // The read-out shows plain numbers.
    keys.OnGraphNotify(CBreakpointGraphModel::kPointChanged, PackPoint(64, 5));
    EXPECT_EQ(keys.ReadOut(), "(64,5)");
}
