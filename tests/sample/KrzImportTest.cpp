#include "sample/KrzDialogs.h"
#include "sample/SampleDoc.h"

#include "platform/ScriptedUi.h"
#include "support/KrzBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
class Views : public CView {
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

class KrzImport : public ::testing::Test {
protected:
    void SetUp() override {
        KrzBuilder()
            .Add({.name = "Kick", .rootKey = 36, .period = 20833, .audio = {1, 2, 3, 4}, .loopFrame = 1})
            .Other(0x70, 30)
            .Add({.name = "Pad", .rootKey = 69, .audio = {-5, 6, -7}})
            .Add({.name = "Broken", .audio = {1}, .start = 0, .end = 0x7FFFFFFF})
            .WriteTo(krz);
        // Stereo, with points everywhere and a pitch of its own.
        doc.m_bStereo = true;
        doc.SetData(std::make_unique<std::int16_t[]>(2000), 1000, 22050);
        doc.SetSampleRange(10, 900);
        doc.SetLoopRange(100, 500);
        doc.m_dPitch = 123.0;
        doc.SetModifiedFlag(false);
        doc.AddView(&views);
    }
    void TearDown() override { doc.RemoveView(&views); }

    // Picks `path`, then entry `index` of its list (nothing: Cancel).
    bool Import(const std::string& path, std::optional<int> index) {
        ui.QueueDialog<std::string>(path);
        ui.QueueDialog<KrzSampleChoice>(index ? std::optional(KrzSampleChoice{{}, *index}) : std::nullopt);
        return doc.OnImportKrz();
    }
    // Picks `path` (nothing: Cancel) and expects no list.
    bool ImportWithoutList(std::optional<std::string> path) {
        ui.QueueDialog<std::string>(path);
        return doc.OnImportKrz();
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    TempDir dir;
    std::string krz = dir.File("bank.KRZ");
    CSampleDoc doc;
    Views views;
};
} // namespace

TEST_F(KrzImport, TheChosenSampleBecomesAMonoSampleLoopedToItsEnd) {
    ASSERT_TRUE(Import(krz, 1));
    EXPECT_EQ(ui.LastOpenFileRequest().title, "Import from .KRZ file");
    EXPECT_EQ(ui.LastOpenFileRequest().filter, "WAVE Files (*.kr?)");
    EXPECT_EQ(ui.LastOpenFileRequest().pattern, "*.kr?");
    EXPECT_EQ(ui.LastDialogRequest<KrzSampleChoice>()->entries,
              (std::vector<std::string>{"Kick (pitch C 2, rate 48000)", "Pad (pitch A 4, rate 44099)",
                                        "Broken (pitch C 4, rate 44099)"}));
    EXPECT_EQ(ui.LastDialogRequest<KrzSampleChoice>()->selected, 0);

    EXPECT_FALSE(doc.m_bStereo);
    ASSERT_EQ(doc.m_nFrames, 3u);
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 3),
              (std::vector<std::int16_t>{-5, 6, -7}));
    EXPECT_EQ(doc.m_nRate, 44099u);
    // The loop starts where the sample does: the whole sample loops.
    EXPECT_EQ(std::tuple(doc.m_nLoopStart, doc.m_nLoopLength), std::tuple(0u, 3u));
    EXPECT_EQ(std::tuple(doc.m_nStart, doc.m_nLength, doc.m_nSelStart, doc.m_nSelLength),
              std::tuple(0u, 3u, 0u, 3u));
    EXPECT_EQ(doc.m_dPitch, 123.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(views.updates, 1);

    ASSERT_TRUE(Import(krz, 0));
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_nRate, doc.m_nLoopStart, doc.m_nLoopLength),
              std::tuple(4u, 48000u, 1u, 3u));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(KrzImport, CancelAndRefusalsLeaveTheDocumentAlone) {
    std::string notKrz = dir.File("notes.krz");
    std::string empty = dir.File("empty.krz");
    KrzBuilder().WriteTo(notKrz);
    KrzBuilder().Other(0x24, 16).WriteTo(empty);
    { std::ofstream(notKrz, std::ios::in | std::ios::out | std::ios::binary) << "FORM"; }
    EXPECT_FALSE(ImportWithoutList(std::nullopt));
    EXPECT_FALSE(Import(krz, std::nullopt));
    EXPECT_FALSE(Import(krz, 3));
    EXPECT_FALSE(Import(krz, -1));
    EXPECT_FALSE(Import(krz, 2));
    EXPECT_FALSE(ImportWithoutList(notKrz));
    EXPECT_FALSE(ImportWithoutList(dir.File("missing.krz")));
    EXPECT_FALSE(Import(empty, 0));
    EXPECT_EQ(ui.LastDialogRequest<KrzSampleChoice>()->selected, -1);
    EXPECT_TRUE(ui.AllAnswersUsed());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{
                                 "The file's list has no sample 3 (its samples are numbered 0 to 2)",
                                 "The file's list has no sample -1 (its samples are numbered 0 to 2)",
                                 "The sample's audio lies beyond the end of the file",
                                 "File is not a Kurzweil PRAM file",
                                 dir.File("missing.krz") + " was not found.",
                                 "The file holds no samples",
                             }));
    EXPECT_EQ(std::tuple(doc.m_nFrames, doc.m_bStereo, doc.m_nRate, doc.m_nLoopStart),
              std::tuple(1000u, true, 22050u, 100u));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(views.updates, 0);
}
