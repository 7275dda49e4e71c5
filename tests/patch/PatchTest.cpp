#include "patch/Patch.h"

#include "archive/ObjectArchive.h"
#include "archive/PackedPoint.h"
#include "patch/PatchClasses.h"
#include "support/ByteStrings.h"

#include <gtest/gtest.h>

namespace {
ByteString Stored(CObject& object) {
    CObjectArchive ar;
    ar.StoreObject(&object);
    return ar.Bytes();
}

template <class T> std::unique_ptr<T> Loaded(const ByteString& bytes) {
    RegisterPatchClasses();
    CObjectArchive ar(bytes);
    std::unique_ptr<T> object = ar.LoadOwned<T>();
    EXPECT_EQ(ar.Remaining(), 0u);
    return object;
}

std::unique_ptr<CLayerParams> RichLayer() {
    auto layer = std::make_unique<CLayerParams>();
    layer->m_strLayerName = "Strings";
    layer->m_nLevel = -4;
    layer->m_envelope.SetPoint(1, 120, -9);
    layer->m_envelope.SetRelease(700);
    layer->m_envelope.SetLinear(0, true);
    layer->m_xfade.SetValues(5, 6, 2);
    auto key = std::make_unique<CNoteOnRoutingItem>();
    key->m_nSource = 2;
    key->m_nDestination = 1;
    layer->m_noteOnRouting.Add(std::move(key));
    auto wheel = std::make_unique<CControllerRoutingItem>();
    wheel->m_nSource = 4;
    wheel->m_nDestination = 2;
    wheel->m_curve = {PackPoint(-8192, -100), PackPoint(8191, 100)};
    layer->m_controllerRouting.Add(std::move(wheel));
    return layer;
}
} // namespace

TEST(Patch, ANewPatchIsThirteenBytesAfterItsClassRecord) {
    CPatch patch;
    EXPECT_EQ(patch.m_strName, "New Patch");
    EXPECT_EQ(patch.m_nNumber, 0);
    EXPECT_EQ(ToHex(Stored(patch)), ToHex(Cat({Hex("FFFF 0100 0600"), Text("CPatch"), Hex("09"),
                                               Text("New Patch"), Hex("0000 0000 0000")})));
}

TEST(Patch, SixteenBitFieldsAreTruncatedAndSignExtended) {
    CPatch patch;
    patch.m_nMasterLevel = -1;
    patch.m_nReserved = 40000;
    auto layer = std::make_unique<CLayerParams>();
    layer->m_nLevel = -70000;
    patch.m_layers.push_back(std::move(layer));
    auto loaded = Loaded<CPatch>(Stored(patch));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->m_nMasterLevel, -1);
    EXPECT_EQ(loaded->m_nReserved, 40000 - 65536);
    ASSERT_EQ(loaded->m_layers.size(), 1u);
    EXPECT_EQ(loaded->m_layers[0]->m_nLevel, -70000 + 65536);
}

TEST(Patch, LayersStoreKeyRoutingsBeforeTheCrossfade) {
    auto layer = RichLayer();
    ByteString expected =
        Cat({Hex("FFFF 0100 0C00"), Text("CLayerParams"), Hex("07"), Text("Strings"), Hex("FCFF"),
             // envelope: release, flags, two points
             Hex("BC020000 01000000 0200 00000000 7800F7FF"),
             // key routings
             Hex("0100 FFFF 0100 1200"), Text("CNoteOnRoutingItem"), Hex("0200 0100 0000 0000 0100 00000000"),
             // crossfade
             Hex("0500 0600 0200"),
             // continuous routings
             Hex("0100 FFFF 0100 1600"), Text("CControllerRoutingItem"),
             Hex("0400 0200 0000 0000 0200 00E09CFF FF1F6400")});
    EXPECT_EQ(ToHex(Stored(*layer)), ToHex(expected));

    auto loaded = Loaded<CLayerParams>(expected);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->m_strLayerName, "Strings");
    EXPECT_EQ(loaded->m_envelope.GetPoints(), layer->m_envelope.GetPoints());
    EXPECT_EQ(loaded->m_envelope.GetRelease(), 700);
    EXPECT_TRUE(loaded->m_envelope.IsLinear(0));
    EXPECT_EQ(loaded->m_xfade.m_nCenter, 5);
    ASSERT_EQ(loaded->m_noteOnRouting.GetCount(), 1);
    ASSERT_EQ(loaded->m_controllerRouting.GetCount(), 1);
    EXPECT_EQ(loaded->m_controllerRouting.GetItem(0).m_curve, layer->m_controllerRouting.GetItem(0).m_curve);
}

TEST(Patch, CopiesAreDeepAndKeepTheirNumber) {
    CPatch source;
    source.m_strName = "Choir";
    source.m_nMasterLevel = -2;
    source.m_nReserved = 3;
    source.m_nNumber = 12;
    source.m_layers.push_back(RichLayer());
    source.m_layers.push_back(std::make_unique<CLayerParams>());
    source.m_layers[0]->m_envelope.Initialize(44100, false);

    CPatch copy;
    copy.m_nNumber = 40;
    copy.m_layers.push_back(std::make_unique<CLayerParams>());
    copy.m_layers.push_back(std::make_unique<CLayerParams>());
    copy.m_layers.push_back(std::make_unique<CLayerParams>());
    copy.CopyFrom(source);
    EXPECT_EQ(copy.m_nNumber, 40);
    EXPECT_EQ(copy.m_strName, "Choir");
    EXPECT_EQ(copy.m_nMasterLevel, -2);
    EXPECT_EQ(copy.m_nReserved, 3);
    ASSERT_EQ(copy.m_layers.size(), 2u);
    EXPECT_NE(copy.m_layers[0].get(), source.m_layers[0].get());
    EXPECT_NE(&copy.m_layers[0]->m_noteOnRouting.GetItem(0), &source.m_layers[0]->m_noteOnRouting.GetItem(0));
    // Equal in every archived byte; the envelope's tables are not copied.
    copy.m_nNumber = source.m_nNumber;
    EXPECT_EQ(ToHex(Stored(copy)), ToHex(Stored(source)));
    EXPECT_FALSE(copy.m_layers[0]->m_envelope.IsInitialized());

    source.m_layers[0]->m_noteOnRouting.GetItem(0).m_nStage = 5;
    source.m_layers[0]->m_envelope.SetPoint(0, 1, 1);
    EXPECT_EQ(copy.m_layers[0]->m_noteOnRouting.GetItem(0).m_nStage, 0);
    EXPECT_EQ(copy.m_layers[0]->m_envelope.GetPoint(0), 0u);

    copy.CopyFrom(copy);
    EXPECT_EQ(copy.m_layers.size(), 2u);
}
