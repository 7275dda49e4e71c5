#include "platform/ScriptedUi.h"
#include "sample/CrossfadeDialog.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
class CountingView : public CView {
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

// 10 msec of radius is 440 frames.
constexpr std::uint32_t kRadius = 440;

class LoopCrossfade : public ::testing::Test {
protected:
    void SetUp() override { doc.AddView(&view); }

    // Mono audio in three parts: `before` up to the loop start, `loop` over the loop, `after`
    // from the loop end to the last frame.
    void Load(std::uint32_t loopStart, std::uint32_t loopLength, std::uint32_t afterLoop, std::int16_t before,
              std::int16_t loop, std::int16_t after, bool stereo = false) {
        std::uint32_t frames = loopStart + loopLength + afterLoop;
        int channels = stereo ? 2 : 1;
        auto buffer = std::make_unique<std::int16_t[]>(std::size_t{frames} * channels);
        for (std::uint32_t f = 0; f < frames; ++f)
            for (int c = 0; c < channels; ++c) {
                std::int16_t value = f < loopStart ? before : f < loopStart + loopLength ? loop : after;
                // The right channel carries the negated left.
                buffer[std::size_t{f} * channels + c] = static_cast<std::int16_t>(c == 0 ? value : -value);
            }
        doc.SetData(std::move(buffer), frames, 22050);
        doc.m_bStereo = stereo;
        doc.SetLoopRange(loopStart, loopLength);
        doc.SetModifiedFlag(false);
        original = Audio();
    }
    std::vector<std::int16_t> Audio() const {
        return {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()};
    }
    std::int16_t At(std::size_t frame, int channel = 0) const {
        return doc.m_pData[frame * doc.Channels() + channel];
    }
    bool Crossfade(std::uint32_t radiusMs, std::uint32_t contour) {
        ui.QueueDialog<CrossfadeValues>(CrossfadeValues{radiusMs, contour});
        return doc.OnCrossfadeLoop();
    }
    void ExpectUnchanged(const std::vector<std::string>& messages) {
        EXPECT_EQ(Audio(), original);
        EXPECT_EQ(ui.Messages(), messages);
        EXPECT_EQ(view.updates, 0);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    CountingView view;
    std::vector<std::int16_t> original;
};

TEST_F(LoopCrossfade, TheRadiusCounts44Point1FramesPerMillisecondInSinglePrecision) {
    EXPECT_EQ(CSampleDoc::CrossfadeRadiusFrames(1), 44u);
    EXPECT_EQ(CSampleDoc::CrossfadeRadiusFrames(10), 440u) << "44.099998 × 10, truncated";
    EXPECT_EQ(CSampleDoc::CrossfadeRadiusFrames(11), 485u);
    EXPECT_EQ(CSampleDoc::CrossfadeRadiusFrames(100), 4409u);
    EXPECT_EQ(CSampleDoc::CrossfadeRadiusFrames(10000), 440999u);
}

TEST_F(LoopCrossfade, WithoutALoopNoDialogIsShown) {
    Load(1000, 0, 1000, 1, 2, 3);
    EXPECT_FALSE(doc.OnCrossfadeLoop());
    ExpectUnchanged({"No loop has been set"});
}

TEST_F(LoopCrossfade, TheRadiusMayEqualTheLoopButNotExceedIt) {
    Load(1000, 485, 100, 1, 2, 3);
    EXPECT_TRUE(Crossfade(11, 0));
    Load(1000, 484, 100, 1, 2, 3);
    EXPECT_FALSE(Crossfade(11, 0));
    EXPECT_EQ(Audio(), original);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"The crossfade radius cannot exceed the loop size."});
}

TEST_F(LoopCrossfade, TheRadiusNeedsAsMuchMaterialBeforeTheLoop) {
    Load(440, 1000, 100, 1, 2, 3);
    EXPECT_FALSE(Crossfade(11, 0));
    ExpectUnchanged({"The requested radius requires more material than precedes loop start."});
    EXPECT_TRUE(Crossfade(10, 0));
    EXPECT_NE(Audio(), original);
}

TEST_F(LoopCrossfade, TheDialogsRangesAndCancelLeaveTheAudioAlone) {
    Load(1000, 1000, 100, 1, 2, 3);
    ui.QueueDialog<CrossfadeValues>(std::nullopt);
    EXPECT_FALSE(doc.OnCrossfadeLoop());
    EXPECT_FALSE(Crossfade(0, 0));
    EXPECT_FALSE(Crossfade(10001, 0));
    EXPECT_FALSE(Crossfade(10, 101));
    ExpectUnchanged({"Please enter an integer between 1 and 10000.",
                     "Please enter an integer between 1 and 10000.",
                     "Please enter an integer between 0 and 100."});
}

TEST_F(LoopCrossfade, ContourZeroFadesLinearlyIntoAndOutOfTheLoopEnd) {
    const std::uint32_t loopStart = 1000, loopLength = 2000, loopEnd = loopStart + loopLength;
    Load(loopStart, loopLength, 1000, 30000, -20000, 10000);
    ASSERT_TRUE(Crossfade(10, 0));
    // Into the loop end: the loop's own -20000 turns into the 30000 before the loop start.
    EXPECT_EQ(At(loopEnd - kRadius), -20000) << "the first frame keeps its own value";
    EXPECT_EQ(At(loopEnd - kRadius + 110), static_cast<std::int16_t>(30000 * 0.25 - 20000 * 0.75));
    EXPECT_EQ(At(loopEnd - kRadius + 220), 5000);
    EXPECT_EQ(At(loopEnd - 1), 29886) << "30000 · 439/440 − 20000/440, truncated";
    // Out of it: the frames after the loop start as the loop start and return to their own.
    EXPECT_EQ(At(loopEnd), -20000);
    EXPECT_EQ(At(loopEnd + 220), -5000);
    EXPECT_EQ(At(loopEnd + kRadius), 10000) << "beyond the radius nothing changes";
    EXPECT_EQ(At(loopEnd - kRadius - 1), -20000);
    EXPECT_EQ(At(loopStart - 1), 30000);
}

TEST_F(LoopCrossfade, ContourHundredGivesEqualSquares) {
    // Fading 30000 in against silence shows one weight; the other, against the loop end's own.
    Load(1000, 1000, 0, 30000, 0, 0);
    ASSERT_TRUE(Crossfade(10, 100));
    std::vector<std::int16_t> rising = Audio();
    Load(1000, 1000, 0, 0, 30000, 0);
    ASSERT_TRUE(Crossfade(10, 100));
    std::vector<std::int16_t> falling = Audio();
    for (std::uint32_t i = 0; i < kRadius; ++i) {
        double g = rising[2000 - kRadius + i] / 30000.0;
        double h = falling[2000 - kRadius + i] / 30000.0;
        double t = static_cast<double>(i) / kRadius;
        EXPECT_NEAR(g * g + h * h, 1.0, 2 * 2.0 / 30000) << i;
        if (i > 0) {
            EXPECT_GT(g, t) << "the equal-power fade rises faster than the linear one";
        }
    }
}

TEST_F(LoopCrossfade, WeightsAboveOneWrapAround) {
    // At the middle of an equal-squares fade both weights are 0.7071: 2 · 0.7071 · 30000 > 32767.
    Load(1000, 1000, 0, 30000, 30000, 0);
    ASSERT_TRUE(Crossfade(10, 100));
    EXPECT_EQ(At(2000 - kRadius + kRadius / 2), -23110) << "42426 kept in 16 bits";
}

TEST_F(LoopCrossfade, BothChannelsOfAFrameShareTheWeights) {
    Load(1000, 1000, 1000, 30000, 0, 0, true);
    ASSERT_TRUE(Crossfade(10, 37));
    for (std::size_t frame = 0; frame < doc.m_nFrames; ++frame)
        ASSERT_EQ(At(frame, 1), -At(frame, 0)) << frame;
    EXPECT_NE(Audio(), original);
}

TEST_F(LoopCrossfade, ShortTailsAndLoopsEndingAtTheLastFrame) {
    // Only 100 frames follow the loop: the fade out of it spans those.
    Load(1000, 1000, 100, 0, 20000, 10000);
    ASSERT_TRUE(Crossfade(10, 0));
    EXPECT_EQ(At(2000), 20000);
    EXPECT_EQ(At(2050), 15000);
    EXPECT_EQ(At(2099), 10100);
    // Nothing follows the loop: only the fade into its end is made.
    Load(1000, 1000, 0, 0, 20000, 0);
    ASSERT_TRUE(Crossfade(10, 0));
    EXPECT_EQ(At(1999), 45);
}

TEST_F(LoopCrossfade, ItRedrawsButDoesNotMarkTheDocument) {
    Load(1000, 1000, 1000, 30000, 0, 0);
    ASSERT_TRUE(Crossfade(10, 0));
    EXPECT_EQ(view.updates, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(ui.BusyCount(), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LoopCrossfade, ALoopBeyondTheAudioIsAnInternalError) {
    Load(1000, 1000, 0, 1, 2, 3);
    doc.m_nLoopLength = 1500; // no operation leaves a loop like this
    EXPECT_FALSE(doc.CrossfadeLoop(10, 0));
    ExpectUnchanged({"Internal error: the loop reaches beyond the audio"});
}
} // namespace
