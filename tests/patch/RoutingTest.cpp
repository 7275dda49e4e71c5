#include "patch/Routing.h"

#include "PatchBuilders.h"
#include "archive/ObjectArchive.h"
#include "patch/PatchClasses.h"
#include "platform/ScriptedUi.h"
#include "support/ByteStrings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
std::unique_ptr<CNoteOnRoutingItem> Routing(int source, int destination, Points curve, int stage = 0,
                                            int controller = 0) {
    return MakeRouting<CNoteOnRoutingItem>(source, destination, curve, stage, controller);
}

const ControllerState kNoControllers{};
} // namespace

TEST(Routing, CopyMakesTheListAsLongAsTheSource) {
    CNoteOnRouting three;
    for (int i = 1; i <= 3; ++i)
        three.Add(Routing(i, i + 2, {{i, i * 10}}));
    CNoteOnRouting five;
    for (int i = 0; i < 5; ++i)
        five.Add(Routing(9, 9, {{0, 0}, {5, 5}}));
    CNoteOnRoutingItem* kept = &five.GetItem(0);

    five.CopyFrom(three);
    ASSERT_EQ(five.GetCount(), 3);
    EXPECT_EQ(&five.GetItem(0), kept);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(five.GetItem(i).m_nSource, three.GetItem(i).m_nSource);
        EXPECT_EQ(five.GetItem(i).m_nDestination, three.GetItem(i).m_nDestination);
        EXPECT_EQ(five.GetItem(i).m_curve, three.GetItem(i).m_curve);
        EXPECT_NE(&five.GetItem(i), &three.GetItem(i));
    }

    CNoteOnRouting empty;
    empty.CopyFrom(three);
    ASSERT_EQ(empty.GetCount(), 3);
    EXPECT_EQ(empty.GetItem(2).m_curve, three.GetItem(2).m_curve);
    empty.RemoveAt(1);
    EXPECT_EQ(empty.GetItem(1).m_nSource, 3);
}

TEST(Routing, ListsStoreTheirItemsTaggedUnderTheirOwnClass) {
    RegisterPatchClasses();
    CControllerRouting list;
    list.Add(MakeRouting<CControllerRoutingItem>(4, 2, {{0, 0}}));
    list.Add(MakeRouting<CControllerRoutingItem>(5, 1, {{0, 0}}));
    CObjectArchive store;
    list.Serialize(store);
    EXPECT_EQ(ToHex(store.Bytes()), ToHex(Cat({Hex("0200 FFFF 0100 1600"), Text("CControllerRoutingItem"),
                                               Hex("0400 0200 0000 0000 0100 00000000"),
                                               Hex("0180 0500 0100 0000 0000 0100 00000000")})));

    CObjectArchive load(store.Bytes());
    CControllerRouting loaded;
    loaded.Serialize(load);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetItem(1).m_nSource, 5);

    CObjectArchive emptyStore;
    CNoteOnRouting().Serialize(emptyStore);
    EXPECT_EQ(ToHex(emptyStore.Bytes()), "00 00");

    // A key-routing item in a continuous-routing list is not one of its items.
    CNoteOnRouting keyList;
    keyList.Add(Routing(2, 1, {{0, 0}}));
    CObjectArchive wrong;
    keyList.Serialize(wrong);
    CObjectArchive wrongLoad(wrong.Bytes());
    EXPECT_THROW(loaded.Serialize(wrongLoad), CArchiveException);
}

TEST(Routing, KeyRoutingsScaleDurationsAndMoveLaterPoints) {
    CNoteOnRouting routings;
    routings.Add(Routing(2, 4, {{1, 100}, {127, 200}}));
    CEnvelope envelope = MakeEnvelope({{0, 0}, {100, -10}, {300, -20}});
    float gain = 1.0f;
    routings.ApplyKeyRoutings(gain, envelope, 60, 127, kNoControllers);
    EXPECT_EQ(envelope.GetPointTime(1), 200);
    EXPECT_EQ(envelope.GetPointTime(2), 400);
    EXPECT_EQ(envelope.GetPointLevel(1), -10);
    EXPECT_EQ(envelope.GetPointLevel(2), -20);
    EXPECT_EQ(gain, 1.0f);

    // Half way up the curve, 150 %: the 100 ms segment becomes 150 ms; a 0 % stage vanishes.
    CEnvelope half = MakeEnvelope({{0, 0}, {100, -10}, {300, -20}});
    routings.ApplyKeyRoutings(gain, half, 60, 64, kNoControllers);
    EXPECT_EQ(half.GetPointTime(1), 150);
    EXPECT_EQ(half.GetPointTime(2), 350);
    CNoteOnRouting shrink;
    shrink.Add(Routing(1, 4, {{0, 0}}, 1));
    shrink.ApplyKeyRoutings(gain, half, 60, 64, kNoControllers);
    EXPECT_EQ(half.GetPointTime(1), 150);
    EXPECT_EQ(half.GetPointTime(2), 150);
}

TEST(Routing, KeyRoutingsChangeLevelsGainAndRelease) {
    ControllerState controllers{};
    controllers[7] = 127;
    CNoteOnRouting routings;
    routings.Add(Routing(1, 1, {{0, -6}, {127, -6}}));         // key: -6 dB
    routings.Add(Routing(3, 1, {{0, 0}, {127, -12}}, 0, 7));   // controller 7 at 127: -12 dB
    routings.Add(Routing(2, 3, {{0, 5}}, 0));                  // point 0: +5 dB
    routings.Add(Routing(2, 3, {{0, 5}}, 2));                  // the last point: never this way
    routings.Add(Routing(2, 3, {{0, 5}}, 9));                  // past the end
    routings.Add(Routing(2, 5, {{0, -3}, {100, -3}}));         // hold level: -3 dB
    routings.Add(Routing(2, 6, {{0, 50}}));                    // release at 50 %
    routings.Add(Routing(3, 1, {{0, -60}, {1, -60}}, 0, 500)); // a controller that does not exist reads 0
    CEnvelope envelope = MakeEnvelope({{0, 0}, {100, -10}, {300, -20}}, 301);
    float gain = 1.0f;
    routings.ApplyKeyRoutings(gain, envelope, 60, 100, controllers);
    EXPECT_FLOAT_EQ(gain, 1.0f * DbToGain(-6) * DbToGain(-12) * DbToGain(-60));
    EXPECT_NEAR(gain, std::exp2(-13.0), 1e-8);
    EXPECT_EQ(envelope.GetPointLevel(0), 5);
    EXPECT_EQ(envelope.GetPointLevel(1), -10);
    EXPECT_EQ(envelope.GetPointLevel(2), -23);
    EXPECT_EQ(envelope.GetPointTime(2), 300);
    EXPECT_EQ(envelope.GetRelease(), 151); // trunc(301 * 0.5 + 0.5)
}

TEST(Routing, WrittenBackPointsKeepTheirLowSixteenBits) {
    CNoteOnRouting routings;
    routings.Add(Routing(2, 3, {{0, 1000}}, 0));
    routings.Add(Routing(2, 4, {{0, 200}}, 0));
    // Times are read as signed: 40000 ms is -25536 here, and moves by the same 30000 ms.
    CEnvelope envelope = MakeEnvelope({{0, 32000}, {30000, 0}, {40000, 0}});
    float gain = 1.0f;
    routings.ApplyKeyRoutings(gain, envelope, 60, 100, kNoControllers);
    EXPECT_EQ(envelope.GetPointLevel(0), 33000 - 65536);
    EXPECT_EQ(envelope.GetPointTime(1), 60000);
    EXPECT_EQ(envelope.GetPointTime(2), 4464);
}

TEST(Routing, UnknownSourcesStopTheListAndUnknownDestinationsAreSkipped) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CNoteOnRouting pitch;
    pitch.Add(Routing(2, 2, {{0, 50}}));
    pitch.Add(Routing(2, 0, {{0, 50}}));
    pitch.Add(Routing(2, 1, {{0, -6}}));
    CEnvelope envelope = MakeEnvelope({{0, 0}, {100, -10}});
    float gain = 1.0f;
    pitch.ApplyKeyRoutings(gain, envelope, 60, 100, kNoControllers);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_EQ(envelope.GetPoints(), MakeEnvelope({{0, 0}, {100, -10}}).GetPoints());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Internal error: unexpected key destination",
                                                       "Internal error: unexpected key destination"}));

    ScriptedUi sourceUi;
    ScopedUi sourceScope(sourceUi);
    CNoteOnRouting stopped;
    stopped.Add(Routing(2, 1, {{0, -6}}));
    stopped.Add(Routing(4, 1, {{0, -6}}));
    stopped.Add(Routing(2, 1, {{0, -6}}));
    gain = 1.0f;
    stopped.ApplyKeyRoutings(gain, envelope, 60, 100, kNoControllers);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_EQ(sourceUi.Messages(), std::vector<std::string>{"Internal error: unexpected key source"});
}
