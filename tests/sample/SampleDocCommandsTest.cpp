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
    // 10 stereo frames whose samples count up from 0; sample 2..8, loop 2..5.
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(20), 10, 22050);
        std::iota(doc.m_pData.get(), doc.m_pData.get() + 20, std::int16_t{0});
        doc.m_bStereo = true;
        doc.SetLoopRange(2, 3);
        doc.SetSampleRange(2, 6);
        doc.SetModifiedFlag(false);
        doc.AddView(&view);
    }
    std::vector<std::uint32_t> State() const {
        return {doc.m_nFrames,     doc.m_nStart,    doc.m_nLength,   doc.m_nLoopStart,
                doc.m_nLoopLength, doc.m_nSelStart, doc.m_nSelLength};
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    CountingView view;
};
} // namespace

TEST_F(SampleDocCommands, ANewDocumentIsAThousandFramesOfSilenceAtA440) {
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{1000, 0, 1000, 0, 0, 0, 1000}));
    EXPECT_EQ(std::tuple(doc.m_bStereo, doc.m_nRate, doc.m_dPitch), std::tuple(false, 44100u, 440.0));
    EXPECT_EQ(std::count(doc.m_pData.get(), doc.m_pData.get() + 1000, 0), 1000);
}

TEST_F(SampleDocCommands, ClearingPointsRedrawsAndMarksModified) {
    doc.OnClearPoints();
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{10, 0, 10, 2, 3, 0, 10}));
    doc.OnClearLoop();
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{10, 0, 10, 0, 0, 0, 10}));
    EXPECT_EQ(view.updates, 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SampleDocCommands, TruncateKeepsTheFramesBetweenStartAndStop) {
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{6, 0, 6, 0, 3, 0, 6})) << "the loop started at the start";
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 12),
              (std::vector<std::int16_t>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);

    doc.SetModifiedFlag(false);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_FALSE(doc.IsModified()) << "nothing to trim";

    // With no stop point the sample runs to the end of the audio.
    doc.m_nStart = 4;
    doc.m_nLength = 0;
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(doc.m_nFrames, 2u);
    EXPECT_EQ(doc.m_pData[0], 12);
}

TEST_F(SampleDocCommands, ReopenReadsTheFileAgain) {
    TempDir dir;
    doc.SetPathName(dir.File("r.wav"));
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    doc.OnClearPoints();
    doc.m_pData[0] = 99;
    // Edits are not thrown away without a word.
    ui.QueueAnswer(Answer::No);
    EXPECT_FALSE(doc.OnReopen());
    EXPECT_EQ(doc.m_pData[0], 99);
    ui.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(doc.OnReopen());
    EXPECT_EQ(ui.Questions(),
              std::vector<std::string>(2, "Discard the changes to r.wav and reopen it from disk?"));
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{10, 2, 6, 2, 3, 0, 10}));
    EXPECT_EQ(doc.m_pData[0], 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SampleDocCommands, EnablingFollowsChannelsLoopAndPoints) {
    for (const SampleCommandInfo& info : CSampleDoc::Commands())
        EXPECT_TRUE(doc.IsCommandEnabled(info.command)) << info.menuText;
    doc.m_bStereo = false;
    doc.m_nLoopLength = 0;
    std::set<std::string> disabled;
    for (std::uint32_t length : {0u, 10u}) {
        doc.m_nLength = length;
        for (const SampleCommandInfo& info : CSampleDoc::Commands())
            if (!doc.IsCommandEnabled(info.command))
                disabled.insert(info.menuText);
    }
    EXPECT_EQ(disabled, (std::set<std::string>{"N&ormalize L/R independently", "&Swap channels",
                                               "Re&mix stereo...", "Re&duce to mono...", "Clear &loop points",
                                               "&Clear start/stop points"}));
    std::set<std::string> prompts;
    for (const SampleCommandInfo& info : CSampleDoc::Commands())
        prompts.insert(info.prompt);
    EXPECT_EQ(prompts.size(), 11u) << "every command has its own prompt";
    EXPECT_STREQ(CSampleDoc::CommandInfo(SampleCommand::RemixStereo).prompt,
                 "Rebalance or reduce seperation");
}
