#include "patch/Xfade.h"

#include "archive/ObjectArchive.h"
#include "support/ByteStrings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
CXfade Xfade(std::uint16_t center, std::uint16_t width, std::int32_t curve) {
    CXfade xfade;
    xfade.SetValues(center, width, curve);
    return xfade;
}
} // namespace

TEST(Xfade, NoCenterMeansNoFade) {
    for (std::int32_t curve : {0, 1, 2, 9}) {
        CXfade xfade = Xfade(0, 20, curve);
        for (std::uint16_t velocity : {0, 1, 64, 127, 65535}) {
            EXPECT_EQ(xfade.Gain(velocity, false), 1.0f);
            EXPECT_EQ(xfade.Gain(velocity, true), 1.0f);
        }
    }
}

TEST(Xfade, NoWidthSwitchesAtTheCenter) {
    CXfade xfade = Xfade(64, 0, CXfade::kInverseSquare);
    for (std::uint16_t velocity = 0; velocity < 128; ++velocity) {
        float below = velocity < 64 ? 1.0f : 0.0f;
        EXPECT_EQ(xfade.Gain(velocity, false), below) << velocity;
        EXPECT_EQ(xfade.Gain(velocity, true), 1.0f - below) << velocity;
    }
}

TEST(Xfade, EveryCurveMeetsTheNextLayerAtTheCenter) {
    CXfade linear = Xfade(64, 20, CXfade::kLinear);
    EXPECT_EQ(linear.Gain(64, false), 0.5f);
    EXPECT_EQ(linear.Gain(64, true), 0.5f);
    EXPECT_EQ(linear.Gain(74, false), 0.0f);
    EXPECT_EQ(linear.Gain(74, true), 1.0f);
    EXPECT_EQ(linear.Gain(54, false), 1.0f);
    EXPECT_EQ(linear.Gain(54, true), 0.0f);
    EXPECT_FLOAT_EQ(linear.Gain(59, false), 0.75f);

    CXfade square = Xfade(64, 20, CXfade::kInverseSquare);
    EXPECT_FLOAT_EQ(square.Gain(64, false), std::sqrt(0.5f));
    for (std::uint16_t velocity = 50; velocity < 80; ++velocity) {
        float owner = square.Gain(velocity, false);
        float next = square.Gain(velocity, true);
        EXPECT_NEAR(owner * owner + next * next, 1.0f, 1e-6) << velocity;
    }

    CXfade exponential = Xfade(64, 20, CXfade::kExponential);
    EXPECT_FLOAT_EQ(exponential.Gain(64, false), std::exp2(-0.5f));
    EXPECT_FLOAT_EQ(exponential.Gain(64, true), std::exp2(-0.5f));
    EXPECT_FLOAT_EQ(exponential.Gain(59, false), std::exp2(0.75f - 1));
    // Just inside the zone's far end it is near 2^-3, then it drops to nothing.
    CXfade wide = Xfade(64, 100, CXfade::kExponential);
    EXPECT_FLOAT_EQ(wide.Gain(113, false), std::exp2(5 * 0.01f - 3));
    EXPECT_EQ(wide.Gain(114, false), 0.0f);

    CXfade undefined = Xfade(64, 20, 7);
    EXPECT_EQ(undefined.Gain(60, false), 1.0f);
    EXPECT_EQ(undefined.Gain(60, true), 1.0f);
    EXPECT_EQ(undefined.Gain(80, false), 0.0f);
}

TEST(Xfade, FieldsAreArchivedAsWords) {
    CXfade xfade = Xfade(40000, 21, -1);
    CObjectArchive store;
    xfade.Serialize(store);
    EXPECT_EQ(ToHex(store.Bytes()), ToHex(Hex("409C 1500 FFFF")));
    CObjectArchive load(store.Bytes());
    CXfade loaded;
    loaded.Serialize(load);
    std::uint16_t center = 0;
    std::uint16_t width = 0;
    std::int32_t curve = 0;
    loaded.GetValues(center, width, curve);
    EXPECT_EQ(center, 40000);
    EXPECT_EQ(width, 21);
    EXPECT_EQ(curve, 65535); // read back unsigned
}
