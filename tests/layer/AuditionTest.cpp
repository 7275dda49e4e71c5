#include "layer/AuditionCopy.h"
#include "layer/LayerDoc.h"
#include "layer/PatchAudition.h"
#include "patch/Patch.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {
// A mono (or stereo) document holding `values` at `rate`, playing at `pitch`.
std::unique_ptr<CSampleDoc> Sample(const std::vector<std::int16_t>& values, std::uint32_t rate, double pitch,
                                   bool stereo = false) {
    auto doc = std::make_unique<CSampleDoc>();
    auto data = std::make_unique<std::int16_t[]>(values.size());
    std::copy(values.begin(), values.end(), data.get());
    doc->m_bStereo = stereo;
    doc->SetData(std::move(data), static_cast<std::uint32_t>(values.size() / (stereo ? 2 : 1)), rate);
    doc->m_dPitch = pitch;
    return doc;
}

std::vector<std::int16_t> Ramp(std::size_t count, int step) {
    std::vector<std::int16_t> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = static_cast<std::int16_t>(static_cast<int>(i) * step);
    return values;
}

std::vector<std::int16_t> Values(const CSampleDoc& doc) {
    return {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()};
}

const double kA4 = 440.0;
const double kA3 = 220.0;
} // namespace

TEST(KeyCopy, RetunesByTheNoteOverThePitchAndScalesTheLoop) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    // A 44100-frame sample at A 4 with a loop of 100 at 22050, played at C 4: e = 0.5946.
    auto source = Sample(std::vector<std::int16_t>(44100, 7), 44100, kA4);
    source->SetLoopRange(22050, 100);
    auto copy = PrepareKeyCopy(*source, 60);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_nFrames, 74165u);
    EXPECT_EQ(copy->m_nRate, 44100u);
    EXPECT_EQ(copy->m_nLoopStart, 37083u);
    EXPECT_EQ(copy->m_nLoopLength, 168u); // 168.18 + 0.5, truncated
    EXPECT_EQ(copy->m_nStart, 0u);
    EXPECT_EQ(copy->m_nLength, 74165u);

    // An octave up halves it; interpolation between neighbours, truncated toward zero.
    auto ramp = Sample(Ramp(9, -100), 22050, kA3);
    copy = PrepareKeyCopy(*ramp, 57 + 12);
    ASSERT_TRUE(copy);
    EXPECT_EQ(Values(*copy), (std::vector<std::int16_t>{0, -200, -400, -600}));
    copy = PrepareKeyCopy(*ramp, 57 - 12); // an octave down: halfway values
    EXPECT_EQ(Values(*copy), (std::vector<std::int16_t>{0, -50, -100, -150, -200, -250, -300, -350, -400,
                                                        -450, -500, -550, -600, -650, -700, -750}));
}

TEST(KeyCopy, CopiesExactlyNearTheSamplesOwnPitchReadsTheLeftChannelFromTheStart) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    // Stereo, left = ramp, right = noise; start at 2, stop 6 frames later.
    std::vector<std::int16_t> interleaved;
    for (int i = 0; i < 10; ++i) {
        interleaved.push_back(static_cast<std::int16_t>(i * 10));
        interleaved.push_back(static_cast<std::int16_t>(-1234));
    }
    auto source = Sample(interleaved, 44100, NoteFrequency(69) * 1.0009, true); // within 0.1 %: copied
    source->SetSampleRange(2, 6);
    auto copy = PrepareKeyCopy(*source, 69);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->m_bStereo);
    EXPECT_EQ(Values(*copy), (std::vector<std::int16_t>{20, 30, 40, 50, 60}));

    // No pitch: played as it is. A loop starting before the sample start starts the copy's loop at 0.
    source->m_dPitch = 0;
    source->m_nLoopStart = 1;
    source->m_nLoopLength = 4;
    source->m_nStart = 3;
    source->m_nLength = 7;
    copy = PrepareKeyCopy(*source, 20);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_nFrames, 6u);
    EXPECT_EQ(copy->m_nLoopStart, 0u);

    // A nonsensical pitch plays the sample as it is too.
    source->m_dPitch = -440;
    copy = PrepareKeyCopy(*source, 20);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_nFrames, 6u);
}

TEST(KeyCopy, ACopyTooLongToHoldIsRefused) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    // A sample pitched at 20 kHz played on key 0 would stretch 2400-fold.
    auto source = Sample(std::vector<std::int16_t>(1'000'000), 44100, 20000);
    EXPECT_FALSE(PrepareKeyCopy(*source, 0));
    // An absurd pitch would stretch it beyond any count of frames.
    source->m_dPitch = 1e30;
    EXPECT_FALSE(PrepareKeyCopy(*source, 60));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Not enough memory", "Not enough memory"}));
}

TEST(VoiceCopy, AnUnloopedSampleStopsAfterItsLengthAtTheAuditionRate) {
    // 22050 Hz at its own pitch: h = 0.5, every source frame twice.
    auto source = Sample(Ramp(11, 10), 22050, kA4);
    auto copy = PrepareVoiceCopy(*source, 69);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_nRate, kAuditionRate);
    EXPECT_EQ(copy->m_nFrames, 20u); // (11 - 1) / 0.5
    EXPECT_EQ(copy->m_pData[1], 5);
    EXPECT_EQ(copy->m_pData[19], 95);
    EXPECT_EQ(copy->m_nLength, 20u);

    // Long samples are cut at the buffer.
    auto longSource = Sample(std::vector<std::int16_t>(400000, 3), 44100, kA4);
    EXPECT_EQ(PrepareVoiceCopy(*longSource, 69)->m_nFrames, kVoiceFrames);
}

TEST(VoiceCopy, ALoopedSampleFillsTheBufferRepeatingItsLoopAtTheLoopPitch) {
    std::vector<std::int16_t> values = {1, 2, 3, 4, 10, 20, 30, 40, 99, 99};
    auto source = Sample(values, 44100, kA4);
    source->SetLoopRange(4, 4);
    auto copy = PrepareVoiceCopy(*source, 69);
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->m_nFrames, kVoiceFrames);
    std::vector<std::int16_t> head(copy->m_pData.get(), copy->m_pData.get() + 14);
    EXPECT_EQ(head, (std::vector<std::int16_t>{1, 2, 3, 4, 10, 20, 30, 40, 10, 20, 30, 40, 10, 20}));
    EXPECT_EQ(copy->m_pData[kVoiceFrames - 1], 40);

    // The loop has its own pitch an octave below the note: the loop plays at double speed.
    source->m_dLoopPitch = kA3;
    copy = PrepareVoiceCopy(*source, 69);
    head.assign(copy->m_pData.get(), copy->m_pData.get() + 12);
    EXPECT_EQ(head, (std::vector<std::int16_t>{1, 2, 3, 4, 10, 20, 30, 40, 10, 30, 10, 30}));
}

TEST(VoiceCopy, ALoopOverTheWholeSampleReadsItsLastFrameForTheLookAhead) {
    // At half speed the last value of each pass lies between the last frame and the one after it,
    // which does not exist: the last frame stands in.
    auto source = Sample({0, 100, 200, 300}, 22050, kA4);
    source->SetLoopRange(0, 4);
    auto copy = PrepareVoiceCopy(*source, 69);
    ASSERT_TRUE(copy);
    std::vector<std::int16_t> head(copy->m_pData.get(), copy->m_pData.get() + 10);
    EXPECT_EQ(head, (std::vector<std::int16_t>{0, 50, 100, 150, 200, 250, 300, 300, 0, 50}));
}

TEST(VoiceCopy, AStartBeyondTheLoopEndStillEndsAndReadsInsideTheLoop) {
    auto source = Sample(Ramp(1000, 1), 44100, kA4 * 3); // a third of a frame a value
    source->SetLoopRange(10, 5);
    source->m_nStart = 900; // as a damaged file might leave it
    auto copy = PrepareVoiceCopy(*source, 69);
    ASSERT_TRUE(copy);
    for (std::uint32_t i = 0; i < kVoiceFrames; i += 997) {
        EXPECT_GE(copy->m_pData[i], 10);
        EXPECT_LT(copy->m_pData[i], 15);
    }
}

namespace {
class PatchAuditionTest : public ::testing::Test {
protected:
    // A layer named `name` mapping every key to a WAV of `frames` values of `value` at A 4 (looped
    // when `loop`).
    void AddLayer(const std::string& name, std::int16_t value, std::uint32_t frames = 1000,
                  bool loop = false) {
        auto doc = Sample(std::vector<std::int16_t>(frames, value), 44100, kA4);
        if (loop)
            doc->SetLoopRange(0, frames);
        std::string path = dir.File(name + ".wav");
        ASSERT_TRUE(doc->OnSaveDocument(path));
        auto entry = std::make_unique<CSample>();
        entry->m_strPath = path;
        auto layer = std::make_unique<CLayer>();
        for (std::uint16_t key = 0; key <= kHighestKey; ++key)
            layer->m_keys.Set(key, entry.get());
        layers.AddSample(name, std::move(entry));
        layers.SetLayer(name, std::move(layer));
    }
    CLayerParams& AddParams(const std::string& layerName) {
        patch.m_layers.push_back(std::make_unique<CLayerParams>());
        patch.m_layers.back()->m_strLayerName = layerName;
        return *patch.m_layers.back();
    }
    // A voice of `value` at layer level `level` (0 dB stands 4 dB down) under a flat envelope.
    static int Voice(std::int16_t value, int level = 0) {
        return static_cast<int>(static_cast<float>(value) *
                                static_cast<float>(std::pow(2.0, (level - 4) / 6.0)));
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CLayerDoc layers;
    CPatch patch;
    CPatchAudition audition;
};
} // namespace

TEST_F(PatchAuditionTest, MixesEachLayerAtItsLevelFadesOutAndWarnsOfMissingLayers) {
    AddLayer("Low", 1000);
    AddLayer("Loop", 300, 500, true);
    AddParams("Low");
    AddParams("Gone");
    AddParams("Loop").m_nLevel = 10; // +6 dB over the default
    const std::int16_t* out = audition.Render(layers, patch, 69, 100);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Warning: Gone does not exist"});
    EXPECT_EQ(audition.PreparedVoices(), 2);
    EXPECT_EQ(out[0], Voice(1000) + Voice(300, 10));
    EXPECT_EQ(out[998], Voice(1000) + Voice(300, 10)); // the unlooped voice ends after 999 values
    EXPECT_EQ(out[999], Voice(300, 10));
    EXPECT_EQ(out[kVoiceFrames - CPatchAudition::kFadeValues], Voice(300, 10) * 19 / 20);
    EXPECT_EQ(out[kVoiceFrames - 1], 0);
}

TEST_F(PatchAuditionTest, SumsWrapAroundAtSixteenBits) {
    AddLayer("Loud", 30000, 100);
    AddParams("Loud").m_nLevel = 4; // gain 1
    AddParams("Loud").m_nLevel = 4;
    const std::int16_t* out = audition.Render(layers, patch, 69, 100);
    EXPECT_EQ(out[0], static_cast<std::int16_t>(60000 - 65536));
}

TEST_F(PatchAuditionTest, OnlyTwelveVoicesAreRendered) {
    AddLayer("One", 10, 100);
    for (int i = 0; i < 13; ++i)
        AddParams("One").m_nLevel = 4;
    EXPECT_EQ(audition.Render(layers, patch, 60, 100)[0], 120);
    EXPECT_EQ(audition.PreparedVoices(), CPatchAudition::kVoices);
}

TEST_F(PatchAuditionTest, VelocityCrossfadeChoosesTheLayer) {
    AddLayer("Soft", 1000, 100);
    AddLayer("Hard", 3000, 100);
    AddParams("Soft").m_xfade.SetValues(64, 20, CXfade::kLinear);
    AddParams("Hard").m_xfade.SetValues(0, 0, CXfade::kLinear);
    EXPECT_EQ(audition.Render(layers, patch, 60, 10)[0], Voice(1000));
    EXPECT_EQ(audition.Render(layers, patch, 60, 120)[0], Voice(3000));
}

TEST_F(PatchAuditionTest, VoicesAreReusedWhileTheKeyStaysAndRebuiltAfterAnInvalidate) {
    AddLayer("Sine", 500, 100);
    AddParams("Sine");
    audition.Render(layers, patch, 60, 100);
    // Without the sound file, only the prepared voice can still sound.
    layers.ReleaseAll();
    std::filesystem::remove(dir.File("Sine.wav"));
    EXPECT_EQ(audition.Render(layers, patch, 60, 50)[0], Voice(500));
    EXPECT_TRUE(ui.Messages().empty());

    // Another patch at the same key has voices of its own.
    AddLayer("Other", 900, 100);
    CPatch other;
    other.m_layers.push_back(std::make_unique<CLayerParams>());
    other.m_layers.back()->m_strLayerName = "Other";
    EXPECT_EQ(audition.Render(layers, other, 60, 100)[0], Voice(900));

    audition.Invalidate();
    EXPECT_EQ(audition.Render(layers, patch, 60, 100)[0], 0);
    EXPECT_EQ(audition.PreparedVoices(), 0);
    EXPECT_FALSE(ui.Messages().empty()); // the load failure was told
}
