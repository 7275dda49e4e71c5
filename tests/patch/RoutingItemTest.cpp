#include "patch/RoutingItem.h"

#include "PatchBuilders.h"
#include "archive/ObjectArchive.h"
#include "support/ByteStrings.h"

#include <gtest/gtest.h>

namespace {
CNoteOnRoutingItem Item(Points curve) {
    return std::move(*MakeRouting<CNoteOnRoutingItem>(0, 0, curve));
}
} // namespace

TEST(RoutingItem, CurvesAreFlatOutsideTheirPointsAndTruncateBetween) {
    CNoteOnRoutingItem single = Item({{1, 0}});
    for (int x : {0, 1, 64, 200})
        EXPECT_EQ(single.Evaluate(x), 0.0f) << x;

    CNoteOnRoutingItem ramp = Item({{0, -20}, {127, 0}});
    EXPECT_EQ(ramp.Evaluate(64), -10.0f); // trunc(64 * 20 / 127) - 20
    EXPECT_EQ(ramp.Evaluate(1), -20.0f);  // trunc(20 / 127) is 0
    EXPECT_EQ(ramp.Evaluate(126), -1.0f);
    EXPECT_EQ(ramp.Evaluate(127), 0.0f);
    EXPECT_EQ(ramp.Evaluate(200), 0.0f);

    CNoteOnRoutingItem raised = Item({{10, 100}, {100, 200}});
    EXPECT_EQ(raised.Evaluate(5), 0.0f); // below the first point: nothing, not 100
    EXPECT_EQ(raised.Evaluate(10), 100.0f);
    EXPECT_EQ(raised.Evaluate(55), 150.0f);

    // A falling segment truncates toward zero too: trunc(1 * -7 / 2) = -3.
    CNoteOnRoutingItem falling = Item({{0, 7}, {2, 0}, {10, 0}});
    EXPECT_EQ(falling.Evaluate(1), 4.0f);

    EXPECT_EQ(Item({}).Evaluate(5), 0.0f);
}

TEST(RoutingItem, WideCurvesDoNotOverflow) {
    // 65534 * 65535 does not fit 32 bits.
    CNoteOnRoutingItem item = Item({{-32768, -32768}, {32767, 32767}});
    EXPECT_EQ(item.Evaluate(32766), 32766.0f);
    EXPECT_EQ(item.Evaluate(0), 0.0f);
}

TEST(RoutingItem, CodesAreArchivedAsUnsignedWordsBeforeTheCurve) {
    CControllerRoutingItem item;
    item.m_nSource = 3;
    item.m_nDestination = 1;
    item.m_nController = 7;
    item.m_nStage = -1;
    item.m_curve = {PackPoint(1, -6)};
    CObjectArchive store;
    item.Serialize(store);
    EXPECT_EQ(ToHex(store.Bytes()), ToHex(Hex("0300 0100 0700 FFFF 0100 0100 FAFF")));

    CObjectArchive load(store.Bytes());
    CControllerRoutingItem loaded;
    loaded.Serialize(load);
    EXPECT_EQ(loaded.m_nSource, 3);
    EXPECT_EQ(loaded.m_nController, 7);
    EXPECT_EQ(loaded.m_nStage, 65535);
    EXPECT_EQ(loaded.m_curve, item.m_curve);
}

TEST(RoutingItem, CopyTakesTheCodesAndTheWholeCurve) {
    CNoteOnRoutingItem source = Item({{1, 100}, {127, 200}});
    source.m_nSource = 2;
    source.m_nDestination = 4;
    source.m_nController = 9;
    source.m_nStage = 3;
    CNoteOnRoutingItem copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.m_nSource, 2);
    EXPECT_EQ(copy.m_nDestination, 4);
    EXPECT_EQ(copy.m_nController, 9);
    EXPECT_EQ(copy.m_nStage, 3);
    EXPECT_EQ(copy.m_curve, source.m_curve);
    copy.CopyFrom(copy);
    EXPECT_EQ(copy.m_curve, source.m_curve);
}
