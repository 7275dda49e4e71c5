#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

namespace {
class CountingView : public CView {
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

class SampleDocCommands : public ::testing::Test {
protected:
    // A stereo sample of 10 frames whose samples count up from 0.
    void MakeStereo() {
        doc.SetData(std::make_unique<std::int16_t[]>(20), 10, 22050);
        std::iota(doc.m_pData.get(), doc.m_pData.get() + 20, std::int16_t{0});
        doc.m_bStereo = true;
        doc.SetModifiedFlag(false);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    CountingView view;
};
} // namespace

TEST_F(SampleDocCommands, ANewDocumentIsASecondOfSilenceAtA440) {
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_nFrames, 1000u);
    EXPECT_FALSE(doc.m_bStereo);
    EXPECT_EQ(doc.m_nRate, 44100u);
    EXPECT_EQ(doc.m_nLength, 1000u);
    EXPECT_EQ(doc.m_nLoopLength, 0u);
    EXPECT_EQ(doc.m_nSelLength, 1000u);
    EXPECT_EQ(doc.m_dPitch, 440.0);
    EXPECT_TRUE(
        std::all_of(doc.m_pData.get(), doc.m_pData.get() + 1000, [](std::int16_t s) { return s == 0; }));
    EXPECT_EQ(CSampleDoc::PitchText(doc.m_dPitch), "A 4 +0.00");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SampleDocCommands, ClearingPointsRedrawsAndMarksModified) {
    MakeStereo();
    doc.AddView(&view);
    doc.SetLoopRange(3, 4);
    doc.SetSampleRange(2, 6);
    doc.SetModifiedFlag(false);
    doc.OnClearPoints();
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(doc.m_nLength, 10u);
    EXPECT_EQ(doc.m_nLoopLength, 4u);
    doc.OnClearLoop();
    EXPECT_EQ(doc.m_nLoopStart, 0u);
    EXPECT_EQ(doc.m_nLoopLength, 0u);
    EXPECT_EQ(view.updates, 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SampleDocCommands, TruncateKeepsTheFramesBetweenStartAndStop) {
    MakeStereo();
    doc.SetLoopRange(2, 3);
    doc.SetSampleRange(2, 6);
    doc.SetSelection(1, 5);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(doc.m_nFrames, 6u);
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 12),
              (std::vector<std::int16_t>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(doc.m_nLength, 6u);
    EXPECT_EQ(doc.m_nLoopStart, 0u) << "the loop started at the sample start";
    EXPECT_EQ(doc.m_nLoopLength, 3u);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 6u);
    EXPECT_TRUE(doc.IsModified());

    // Nothing to trim: nothing happens.
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(doc.m_nFrames, 6u);
    EXPECT_FALSE(doc.IsModified());

    // With no stop point the sample runs to the end of the audio.
    MakeStereo();
    doc.m_nStart = 4;
    doc.m_nLength = 0;
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(doc.m_nFrames, 6u);
    EXPECT_EQ(doc.m_pData[0], 8);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleDocCommands, ReopenReadsTheFileAgain) {
    TempDir dir;
    MakeStereo();
    doc.SetPathName(dir.File("r.wav"));
    doc.SetSampleRange(1, 5);
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    doc.OnClearPoints();
    doc.m_pData[0] = 99;
    ASSERT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.OnReopen());
    EXPECT_EQ(doc.m_nStart, 1u);
    EXPECT_EQ(doc.m_nLength, 5u);
    EXPECT_EQ(doc.m_pData[0], 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SampleDocCommands, EnablingFollowsChannelsLoopAndPoints) {
    const SampleCommand stereoOnly[] = {SampleCommand::NormalizeIndependently, SampleCommand::SwapChannels,
                                        SampleCommand::RemixStereo, SampleCommand::ReduceToMono};
    MakeStereo();
    doc.m_bStereo = false;
    doc.m_nLength = 10;
    for (SampleCommand command : stereoOnly)
        EXPECT_FALSE(doc.IsCommandEnabled(command)) << CSampleDoc::CommandInfo(command).menuText;
    EXPECT_FALSE(doc.IsCommandEnabled(SampleCommand::ClearLoop));
    EXPECT_FALSE(doc.IsCommandEnabled(SampleCommand::ClearPoints)) << "length = frames";
    doc.m_nLength = 0;
    EXPECT_FALSE(doc.IsCommandEnabled(SampleCommand::ClearPoints)) << "no stop point";

    doc.m_bStereo = true;
    doc.m_nLength = 9;
    doc.m_nLoopLength = 1;
    for (const SampleCommandInfo& info : CSampleDoc::Commands())
        EXPECT_TRUE(doc.IsCommandEnabled(info.command)) << info.menuText;

    // Every command has its own menu text and prompt.
    std::set<std::string> texts;
    for (const SampleCommandInfo& info : CSampleDoc::Commands())
        texts.insert({info.menuText, info.prompt});
    EXPECT_EQ(texts.size(), 22u);
    EXPECT_EQ(CSampleDoc::Commands().size(), 11u);
    EXPECT_STREQ(CSampleDoc::CommandInfo(SampleCommand::RemixStereo).prompt,
                 "Rebalance or reduce seperation");
    EXPECT_STREQ(CSampleDoc::CommandInfo(SampleCommand::Reopen).menuText, "&Reopen");
}
