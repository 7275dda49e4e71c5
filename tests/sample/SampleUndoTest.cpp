#include "platform/ScriptedUi.h"
#include "sample/LevelDialogs.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

namespace {
class SampleUndo : public ::testing::Test {
protected:
    // A stereo tone of `frames` frames with a loop, clean as if just opened.
    void SetUp() override { MakeTone(4000); }

    void MakeTone(std::uint32_t frames) {
        auto audio = std::make_unique<std::int16_t[]>(std::size_t{frames} * 2);
        for (std::uint32_t i = 0; i < frames; ++i) {
            audio[2 * i] = static_cast<std::int16_t>(9000 * std::sin(i * 0.05));
            audio[2 * i + 1] = static_cast<std::int16_t>(5000 * std::sin(i * 0.031));
        }
        doc.SetData(std::move(audio), frames, 44100);
        doc.m_bStereo = true;
        doc.m_dPitch = 440;
        doc.SetLoopRange(frames / 2, frames / 4);
        doc.History().Clear();
        doc.SetModifiedFlag(false);
    }

    // The bytes the document saves as a WAV file; saving makes the present state the clean one.
    std::vector<char> Saved() {
        const std::string path = dir.File("state" + std::to_string(++saves) + ".wav");
        EXPECT_TRUE(doc.WriteWav(path));
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Everything the file would hold, read straight from the document (cheaper than saving).
    std::tuple<std::vector<std::int16_t>, std::vector<std::uint32_t>, double, bool> State() const {
        return {
            std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()),
            {doc.m_nFrames, doc.m_nRate, doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength},
            doc.m_dPitch,
            doc.m_bStereo};
    }

    void UndoAll() {
        while (doc.Undo()) {
        }
    }
    void RedoAll() {
        while (doc.Redo()) {
        }
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    int saves = 0;
};
} // namespace

TEST_F(SampleUndo, UndoingARandomRunOfCommandsGivesBackTheFirstFileAndRedoingTheLast) {
    BuildSincTable();
    const std::vector<std::function<void(std::mt19937&)>> commands = {
        [&](std::mt19937&) { doc.OnNormalize(); },
        [&](std::mt19937&) { doc.OnNormalizeIndependently(); },
        [&](std::mt19937& r) { doc.GainAdjust(-3, 2, 1, -4, r() % 100, 50 + r() % 200); },
        [&](std::mt19937&) { doc.OnSwapChannels(); },
        [&](std::mt19937&) {
            if (doc.m_bStereo)
                ui.QueueDialog(std::optional<RemixValues>(RemixValues{0, -6, -6, 0}));
            doc.OnRemixStereo();
        },
        [&](std::mt19937&) {
            if (doc.m_bStereo)
                ui.QueueDialog(std::optional<MonoValues>(MonoValues{}));
            doc.OnReduceToMono();
        },
        [&](std::mt19937& r) {
            ResampleValues values;
            values.rate = 30000 + r() % 30000;
            values.method = static_cast<ResampleMethod>(r() % 3);
            doc.Resample(values);
        },
        [&](std::mt19937&) { doc.CrossfadeLoop(3, 50); },
        [&](std::mt19937& r) { doc.SetLoopStart(r() % std::max(doc.m_nFrames, 1u)); },
        [&](std::mt19937& r) { doc.SetLoopEnd(r() % std::max(doc.m_nFrames, 1u)); },
        [&](std::mt19937& r) { doc.SetSampleStart(r() % std::max(doc.m_nFrames, 1u)); },
        [&](std::mt19937& r) { doc.SetSampleStop(r() % std::max(doc.m_nFrames, 1u)); },
        [&](std::mt19937&) { doc.OnTruncate(); },
        [&](std::mt19937&) { doc.OnClearLoop(); },
        [&](std::mt19937& r) { doc.SetPitch(100 + r() % 800); },
        [&](std::mt19937& r) { doc.SetPlaybackRate(8000 + r() % 40000); },
        [&](std::mt19937& r) {
            SynthesizeValues values;
            values.mode = r() % 2 ? SynthesizeValues::Mode::Add : SynthesizeValues::Mode::Replace;
            values.length = 20 + r() % 50;
            doc.Synthesize(values);
        },
    };
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        MakeTone(4000);
        std::mt19937 random(seed);
        const std::vector<char> first = Saved();
        for (int i = 0; i < 30; ++i)
            commands[random() % commands.size()](random);
        const std::vector<char> last = Saved();
        ASSERT_GT(doc.History().Count(), 10u);
        UndoAll();
        EXPECT_TRUE(doc.IsModified()) << "the last state was saved";
        EXPECT_EQ(Saved(), first);
        RedoAll();
        EXPECT_TRUE(doc.IsModified()) << "the first state was saved";
        EXPECT_EQ(Saved(), last);
    }
}

TEST_F(SampleUndo, StepsAreNamedAfterTheirCommandAndANewChangeDropsTheRedoSteps) {
    doc.OnNormalize();
    EXPECT_EQ(doc.SetLoopStart(100), PointResult::Changed);
    EXPECT_EQ(doc.History().UndoName(), "Set Loop Start");
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_nLoopStart, 2000u);
    EXPECT_EQ(doc.History().UndoName(), "Normalize");
    EXPECT_EQ(doc.History().RedoName(), "Set Loop Start");
    doc.OnSwapChannels();
    EXPECT_FALSE(doc.History().CanRedo());
    EXPECT_EQ(doc.History().UndoName(), "Swap Channels");
}

TEST_F(SampleUndo, ARefusedCommandRecordsNothing) {
    EXPECT_EQ(doc.SetSampleStart(3500), PointResult::Refused) << "after the loop end";
    EXPECT_EQ(doc.SetLoopEnd(50000), PointResult::Beyond);
    ResampleValues bad;
    bad.rate = 0;
    EXPECT_FALSE(doc.Resample(bad));
    EXPECT_FALSE(doc.CrossfadeLoop(1000, 50)) << "a radius wider than the loop";
    ui.QueueDialog(std::optional<MonoValues>());
    EXPECT_FALSE(doc.OnReduceToMono()) << "cancelled";
    ui.QueueAnswer(Answer::No);
    EXPECT_TRUE(doc.GuessPitch(1000, 2000)) << "the offer declined";
    EXPECT_EQ(doc.History().Count(), 0u);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SampleUndo, PointStepsKeepNoAudioAndRangeEditsKeepOnlyTheirFrames) {
    doc.SetLoopStart(1000);
    EXPECT_LT(doc.History().Bytes(), 1024u);
    doc.GainAdjust(-6, -6, -6, -6, 100, 500);
    EXPECT_LT(doc.History().Bytes(), 1024u + 500 * 4) << "the 500 rewritten frames";
    EXPECT_GE(doc.History().Bytes(), 500u * 4);
    const std::vector<std::int16_t> gained(doc.m_pData.get(), doc.m_pData.get() + 8000);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pData[2 * 300], static_cast<std::int16_t>(9000 * std::sin(300 * 0.05)));
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 8000), gained);
}

TEST_F(SampleUndo, UndoExchangesTheBufferRatherThanCopyingIt) {
    const std::int16_t* before = doc.m_pData.get();
    ResampleValues values;
    values.rate = 22050;
    ASSERT_TRUE(doc.Resample(values));
    const std::int16_t* after = doc.m_pData.get();
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.m_pData.get(), before);
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nRate, doc.m_nLoopStart), std::tuple(4000u, 44100u, 2000u));
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.m_pData.get(), after);
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nRate), std::tuple(2000u, 22050u));
}

TEST_F(SampleUndo, TheBudgetDropsTheOldestStepsButKeepsTheNewest) {
    doc.History().SetBudget(20000); // room for one copy of the 16000 bytes of audio
    doc.OnNormalize();
    doc.SetLoopStart(1000);
    doc.OnSwapChannels();
    EXPECT_EQ(doc.History().Count(), 2u) << "the normalize went";
    EXPECT_EQ(doc.History().UndoName(), "Swap Channels");
    doc.History().SetBudget(1);
    EXPECT_EQ(doc.History().Count(), 1u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.Undo());
    EXPECT_TRUE(doc.IsModified()) << "the file's state is out of reach";
}

TEST_F(SampleUndo, TheModifiedFlagFollowsTheCleanPoint) {
    doc.OnNormalize();
    doc.SetLoopStart(1000);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.WriteWav(dir.File("saved.wav")));
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_FALSE(doc.IsModified()) << "back at the saved state";
    doc.Undo();
    doc.Undo();
    doc.OnSwapChannels();
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified()) << "the saved state was among the dropped redo steps";
}

TEST_F(SampleUndo, ASliderRunIsOneStep) {
    doc.SetModifiedFlag(false);
    for (double hz : {300.0, 310.0, 320.0})
        doc.SetPitch(hz);
    EXPECT_EQ(doc.History().Count(), 1u);
    doc.History().EndMerging();
    doc.SetPitch(330);
    EXPECT_EQ(doc.History().Count(), 2u);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.m_dPitch, 440);
}

TEST_F(SampleUndo, CancelledWorkLeavesTheDocumentAsItWasWithNoStep) {
    // Each cancelled where it has rewritten part of the audio already.
    struct Operation {
        const char* name;
        double cancelAt;
        std::function<bool()> run;
    };
    const std::vector<Operation> operations = {
        {"normalize", 0.55, [&] { return doc.OnNormalize(); }},
        {"gain", 0.4, [&] { return doc.GainAdjust(6, 6, 6, 6, 0, 0); }},
        {"crossfade", 0.4, [&] { return doc.CrossfadeLoop(20000, 50); }},
        {"resample", 0.4,
         [&] {
             ResampleValues values;
             values.rate = 48000;
             return doc.Resample(values);
         }},
        {"synthesize", 0.4,
         [&] {
             SynthesizeValues values;
             values.mode = SynthesizeValues::Mode::Replace;
             values.length = 3000;
             return doc.Synthesize(values);
         }},
    };
    MakeTone(2'200'000); // long enough for several progress reports
    doc.SetLoopRange(1'000'000, 1'000'000);
    doc.History().Clear();
    doc.OnNormalize(); // a step before the cancelled work
    const auto before = State();
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.name);
        ui.CancelBusyAt(operation.cancelAt);
        const std::size_t reports = ui.ProgressReports().size();
        EXPECT_FALSE(operation.run());
        EXPECT_GT(ui.ProgressReports().size(), reports);
        EXPECT_LT(ui.ProgressReports().back(), 1.0) << "stopped part-way";
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(State() == before);
        EXPECT_EQ(doc.History().Count(), 1u);
        EXPECT_EQ(doc.History().UndoName(), "Normalize");
    }
    EXPECT_TRUE(operations[1].run()) << "no cancel asked for: the work runs through";
    EXPECT_EQ(doc.History().UndoName(), "Gain Adjust");
}

TEST_F(SampleUndo, WithRecordingOffNothingIsKept) {
    CUndoHistory::SetRecording(false);
    doc.OnNormalize();
    doc.SetLoopStart(100);
    ResampleValues values;
    values.rate = 22050;
    EXPECT_TRUE(doc.Resample(values));
    CUndoHistory::SetRecording(true);
    EXPECT_EQ(doc.History().Count(), 0u);
    EXPECT_EQ(doc.m_nFrames, 2000u);
}
