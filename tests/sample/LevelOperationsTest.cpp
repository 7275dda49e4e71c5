#include "platform/ScriptedUi.h"
#include "sample/LevelDialogs.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using Samples = std::vector<std::int16_t>;

// Notes, at each redraw, what the user had been told and whether the document was marked yet.
class RecordingView : public CView {
public:
    RecordingView(CSampleDoc& doc, ScriptedUi& ui) : m_doc(doc), m_ui(ui) {}
    void OnUpdate(CView*, long) override {
        ++updates;
        messagesAtUpdate = m_ui.Messages().size();
        modifiedAtUpdate = m_doc.IsModified();
    }
    int updates = 0;
    std::size_t messagesAtUpdate = 0;
    bool modifiedAtUpdate = false;

private:
    CSampleDoc& m_doc;
    ScriptedUi& m_ui;
};

class LevelOperations : public ::testing::Test {
protected:
    void Load(const Samples& samples, bool stereo) {
        auto buffer = std::make_unique<std::int16_t[]>(samples.size());
        std::copy(samples.begin(), samples.end(), buffer.get());
        std::uint32_t frames = static_cast<std::uint32_t>(samples.size() / (stereo ? 2 : 1));
        doc.SetData(std::move(buffer), frames, 44100);
        doc.m_bStereo = stereo;
        doc.SetSampleRange(0, frames);
        doc.SetModifiedFlag(false);
    }
    Samples Audio() const { return Samples(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()); }
    // The operation left everything as it was and said `message`.
    void ExpectRefused(const Samples& before, const std::vector<std::string>& messages) {
        EXPECT_EQ(Audio(), before);
        EXPECT_EQ(ui.Messages(), messages);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(view.updates, 0);
    }
    void ExpectChanged() {
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(view.updates, 1);
        EXPECT_FALSE(view.modifiedAtUpdate) << "views redraw before the document is marked";
        EXPECT_GT(ui.BusyCount(), 0);
        EXPECT_TRUE(ui.AllAnswersUsed());
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    RecordingView view{doc, ui};

    void SetUp() override { doc.AddView(&view); }
};

TEST_F(LevelOperations, SixDecibelsIsExactlyAFactorOfTwoAndResultsTruncate) {
    Load({100, -3, 3, 7, -7, 0}, false);
    ASSERT_TRUE(doc.GainAdjust(6, 6, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{200, -6, 6, 14, -14, 0}));
    ASSERT_TRUE(doc.GainAdjust(-12, -12, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{50, -1, 1, 3, -3, 0}));
    Load({-3, 3, 7}, false);
    ASSERT_TRUE(doc.GainAdjust(-6, -6, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{-1, 1, 3})) << "-3 halves to -1, toward zero";
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LevelOperations, TheRampRunsOverTheMarkedRangeAndNeverReachesItsEnd) {
    // Begin 0 dB, End -96 dB over 4 frames: 1, 0.75 + 0.25·2^-16, 0.5 + 0.5·2^-16, 0.25 + 0.75·2^-16.
    // The last frame's 2^-16 part lifts 0.25 · 32767 = 8191.75 over 8192.
    Load({5, 32767, 32767, 32767, 32767, 5, -32767, -32767, -32767, -32767}, false);
    ASSERT_TRUE(doc.GainAdjust(0, -96, 50, 50, 1, 4));
    EXPECT_EQ(Audio(), (Samples{5, 32767, 24575, 16383, 8192, 5, -32767, -32767, -32767, -32767}));
    ASSERT_TRUE(doc.GainAdjust(0, -96, 0, 0, 6, 4));
    EXPECT_EQ(Audio(), (Samples{5, 32767, 24575, 16383, 8192, 5, -32767, -24575, -16383, -8192}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 2);
}

TEST_F(LevelOperations, WithoutAMarkTheRampCoversTheWholeSampleAndRightHasItsOwn) {
    Load({1000, 1000, 1000, 1000}, true);
    ASSERT_TRUE(doc.GainAdjust(0, -6, 6, 6, 0, 0));
    // Frame 1 of 2: left factor 0.5·1 + 0.5·0.5 = 0.75.
    EXPECT_EQ(Audio(), (Samples{1000, 2000, 750, 2000}));
    ExpectChanged();
}

TEST_F(LevelOperations, GainWrapsAroundInsteadOfClipping) {
    Load({20000, -20000, 16384, 1, -1, 0}, false);
    ASSERT_TRUE(doc.GainAdjust(6, 6, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{-25536, 25536, -32768, 2, -2, 0}));
    EXPECT_TRUE(ui.Messages().empty()) << "gain gives no clipping warning";
    // 99 dB: 2^16.5 · 1 = 92681.9, which keeps 92681 − 65536 in 16 bits.
    Load({1, -1, 0}, false);
    ASSERT_TRUE(doc.GainAdjust(99, 99, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{27145, -27145, 0}));
    // A gain whose factor overflows has no low bits to keep: it gives full scale, as loud as it gets;
    // silence stays silent, and a ramp toward it starts at its begin factor.
    Load({1, -1, 0}, false);
    ASSERT_TRUE(doc.GainAdjust(2147483647, 2147483647, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{32767, -32768, 0}));
    Load({100, 100, 100, -100}, false);
    ASSERT_TRUE(doc.GainAdjust(0, 100000, 0, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{100, 32767, 32767, -32768}));
    Load({100, -7, 5, 0}, true);
    ASSERT_TRUE(doc.GainAdjust(-1000, -1000, 100000, 0, 0, 0));
    EXPECT_EQ(Audio(), (Samples{0, -32768, 0, 0}));
}

TEST_F(LevelOperations, AMarkBeyondTheAudioIsRefusedBeforeTheDialog) {
    Load({1, 2, 3, 4}, false);
    EXPECT_FALSE(doc.OnGainAdjust(2, 3));
    ExpectRefused({1, 2, 3, 4}, {"The marked range lies beyond the end of the sample"});
    EXPECT_FALSE(doc.GainAdjust(0, 0, 0, 0, 4, 1));
}

TEST_F(LevelOperations, TheGainCommandTakesTheDialogsLevels) {
    Load({100, 100, 100, 100}, true);
    ui.QueueDialog<GainValues>(std::nullopt);
    EXPECT_FALSE(doc.OnGainAdjust(0, 0));
    ExpectRefused({100, 100, 100, 100}, {});

    ui.QueueDialog<GainValues>(GainValues{6, -6, 6, -6, true});
    ASSERT_TRUE(doc.OnGainAdjust(1, 1));
    EXPECT_EQ(Audio(), (Samples{100, 100, 200, 50}));
    ExpectChanged();
}

TEST_F(LevelOperations, NormalizeBringsThePeakOfAllChannelsTo32256) {
    Load({-16128, 8000, 1, -3, 0, 5}, true);
    ASSERT_TRUE(doc.OnNormalize());
    EXPECT_EQ(Audio(), (Samples{-32256, 16000, 2, -6, 0, 10}));
    ExpectChanged();

    Load({32767, -32768, 100}, false);
    ASSERT_TRUE(doc.OnNormalize());
    // 32256 / 32768 = 0.984375 exactly.
    EXPECT_EQ(Audio(), (Samples{32255, -32256, 98}));

    Load({0, 0, 0, 0}, false);
    ASSERT_TRUE(doc.OnNormalize());
    EXPECT_EQ(Audio(), (Samples{0, 0, 0, 0}));
}

TEST_F(LevelOperations, NormalizingChannelsIndependentlyGivesEachItsOwnFactor) {
    Load({-16128, 0, 4000, 1000, 3, 0}, true);
    ASSERT_TRUE(doc.OnNormalizeIndependently());
    // Left peak 16128: factor 2; right peak 1000: factor 32.256; the silent-right frame stays 0.
    EXPECT_EQ(Audio(), (Samples{-32256, 0, 8000, 32256, 6, 0}));
    ExpectChanged();
}

TEST_F(LevelOperations, StereoOnlyOperationsRefuseMonoSamples) {
    using Operation = bool (CSampleDoc::*)();
    for (Operation operation :
         {&CSampleDoc::OnNormalizeIndependently, &CSampleDoc::OnSwapChannels, &CSampleDoc::OnReduceToMono}) {
        ui = ScriptedUi();
        Load({1, 2, 3, 4}, false);
        EXPECT_FALSE((doc.*operation)());
        ExpectRefused({1, 2, 3, 4}, {"This function is for stereo samples"});
    }
}

TEST_F(LevelOperations, SwapExchangesTheChannelsOfEveryFrame) {
    Load({1, 2, 3, 4, -5, 6}, true);
    ASSERT_TRUE(doc.OnSwapChannels());
    EXPECT_EQ(Audio(), (Samples{2, 1, 4, 3, 6, -5}));
    ExpectChanged();
}

TEST_F(LevelOperations, RemixAtTheDefaultsLeavesTheAudioAndAtZeroDecibelsSumsBothSides) {
    Samples stereo{100, -7, 30000, 2000, -32768, 32767};
    Load(stereo, true);
    ui.QueueDialog<RemixValues>(RemixValues{});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_EQ(Audio(), stereo);
    ExpectChanged();

    ui.QueueDialog<RemixValues>(RemixValues{0, 0, 0, 0});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_EQ(Audio(), (Samples{93, 93, 32000, 32000, -1, -1}));
}

TEST_F(LevelOperations, RemixTreatsMinus96DecibelsAsSilence) {
    // Left from left at -12 dB gives 0.25; a right input of 32767 at -96 dB would add 0.49998.
    Load({1, 32767}, true);
    ui.QueueDialog<RemixValues>(RemixValues{-12, -96, -96, 0});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_EQ(Audio(), (Samples{0, 32767}));
    Load({1, 32767}, true);
    ui.QueueDialog<RemixValues>(RemixValues{-12, -95, -96, 0});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_EQ(Audio(), (Samples{1, 32767}));
}

TEST_F(LevelOperations, ARemixOf32768ClipsAndIsReportedAfterTheRedraw) {
    Load({16384, 16384, -16384, -16384}, true);
    ui.QueueDialog<RemixValues>(RemixValues{0, 0, -96, 0});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_EQ(Audio(), (Samples{-32768, 16384, -32768, -16384})) << "32768 wraps; -32768 fits";
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Warning: clipping was detected"});
    EXPECT_EQ(view.messagesAtUpdate, 0u);
    ExpectChanged();

    ui = ScriptedUi();
    Load({-16384, -16384}, true);
    ui.QueueDialog<RemixValues>(RemixValues{0, 0, 0, 0});
    ASSERT_TRUE(doc.OnRemixStereo());
    EXPECT_TRUE(ui.Messages().empty()) << "-32768 is in range";
}

TEST_F(LevelOperations, RemixIgnoresMonoSamplesAndRefusesValuesOutsideItsRange) {
    Load({1, 2}, false);
    EXPECT_TRUE(doc.OnRemixStereo()) << "no dialog is asked for";
    ExpectRefused({1, 2}, {});

    Load({1, 2}, true);
    ui.QueueDialog<RemixValues>(std::nullopt);
    EXPECT_FALSE(doc.OnRemixStereo());
    ui.QueueDialog<RemixValues>(RemixValues{0, 97, -96, 0});
    EXPECT_FALSE(doc.OnRemixStereo());
    ExpectRefused({1, 2}, {"Please enter an integer between -96 and 96."});
}

TEST_F(LevelOperations, ReducingToMonoAtTheDefaultsAveragesRoundingHalfUp) {
    Load({1, 2, -1, -2, 3, 4, -3, -4, 32767, -32768, -2, -4}, true);
    doc.SetLoopRange(1, 2);
    doc.SetSampleRange(1, 3);
    doc.SetModifiedFlag(false);
    ui.QueueDialog<MonoValues>(MonoValues{});
    ASSERT_TRUE(doc.OnReduceToMono());
    EXPECT_FALSE(doc.m_bStereo);
    EXPECT_EQ(Audio(), (Samples{2, -1, 4, -3, 0, -3})) << "-2.5 rounds down, not toward zero";
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength),
              std::tuple(6u, 1u, 3u, 1u, 2u));
    ExpectChanged();
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LevelOperations, ReducingToMonoWarnsOfClippingAndHonoursCancel) {
    Load({32767, 32767, 5, 6}, true);
    ui.QueueDialog<MonoValues>(std::nullopt);
    EXPECT_FALSE(doc.OnReduceToMono());
    EXPECT_TRUE(doc.m_bStereo);
    ExpectRefused({32767, 32767, 5, 6}, {});

    ui.QueueDialog<MonoValues>(MonoValues{0, -96});
    ASSERT_TRUE(doc.OnReduceToMono());
    EXPECT_EQ(Audio(), (Samples{32767, 5}));
    EXPECT_TRUE(ui.Messages().empty());

    Load({32767, 32767, 5, 6}, true);
    ui.QueueDialog<MonoValues>(MonoValues{0, 0});
    ASSERT_TRUE(doc.OnReduceToMono());
    EXPECT_EQ(Audio(), (Samples{-2, 11})) << "65534 wraps";
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Warning: clipping was detected"});
    EXPECT_EQ(view.messagesAtUpdate, 0u);
}
} // namespace
