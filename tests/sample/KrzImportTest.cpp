#include "sample/SampleDoc.h"

#include "platform/ScriptedUi.h"
#include "support/KrzBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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
            .Add({.name = "Pad", .rootKey = 69, .period = 22676, .audio = {-5, 6, -7}})
            .Add({.name = "Broken", .audio = {1}, .start = 0, .end = 0x7FFFFFFF})
            .WriteTo(krz);
        // A stereo document with points everywhere, and a pitch of its own.
        auto audio = std::make_unique<std::int16_t[]>(2000);
        doc.m_bStereo = true;
        doc.SetData(std::move(audio), 1000, 22050);
        doc.SetSampleRange(10, 900);
        doc.SetLoopRange(100, 500);
        doc.m_dPitch = 123.0;
        doc.SetModifiedFlag(false);
        doc.AddView(&views);
    }
    void TearDown() override { doc.RemoveView(&views); }

    // Chooses `index` from the list of `path`.
    bool Import(const std::string& path, int index) {
        ui.QueueDialog<std::string>(path);
        ui.QueueDialog<KrzSampleChoice>(KrzSampleChoice{{}, index});
        return doc.OnImportKrz();
    }
    void ExpectUnchanged() {
        EXPECT_EQ(doc.m_nFrames, 1000u);
        EXPECT_TRUE(doc.m_bStereo);
        EXPECT_EQ(doc.m_nRate, 22050u);
        EXPECT_EQ(doc.m_nLoopStart, 100u);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(views.updates, 0);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    TempDir dir;
    std::string krz = dir.File("bank.KRZ");
    CSampleDoc doc;
    Views views;
};

// A dialog that records the list it was shown and answers with a choice.
class ListingUi : public ScriptedUi {
public:
    std::optional<KrzSampleChoice> AskKrzSample(const KrzSampleChoice& list) override {
        shown = list;
        return ScriptedUi::AskKrzSample(list);
    }
    KrzSampleChoice shown;
};
} // namespace

TEST_F(KrzImport, TheChosenSampleReplacesTheAudioAsAMonoSampleLoopedToItsEnd) {
    ASSERT_TRUE(Import(krz, 1));
    EXPECT_EQ(ui.LastOpenFileRequest().title, "Import from .KRZ file");
    EXPECT_EQ(ui.LastOpenFileRequest().filter, "WAVE Files (*.kr?)");
    EXPECT_EQ(ui.LastOpenFileRequest().pattern, "*.kr?");
    EXPECT_TRUE(ui.LastOpenFileRequest().hideReadOnly);

    EXPECT_FALSE(doc.m_bStereo);
    ASSERT_EQ(doc.m_nFrames, 3u);
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 3),
              (std::vector<std::int16_t>{-5, 6, -7}));
    EXPECT_EQ(doc.m_nRate, 44099u);
    // The loop starts where the sample does: the whole sample loops.
    EXPECT_EQ(doc.m_nLoopStart, 0u);
    EXPECT_EQ(doc.m_nLoopLength, 3u);
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(doc.m_nLength, 3u);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 3u);
    EXPECT_EQ(doc.m_dPitch, 123.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(views.updates, 1);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(ui.AllAnswersUsed());

    ASSERT_TRUE(Import(krz, 0));
    EXPECT_EQ(doc.m_nFrames, 4u);
    EXPECT_EQ(doc.m_nRate, 48000u);
    EXPECT_EQ(doc.m_nLoopStart, 1u);
    EXPECT_EQ(doc.m_nLoopLength, 3u);
}

TEST_F(KrzImport, TheListShowsEveryEntryWithTheFirstChosen) {
    ListingUi listing;
    ScopedUi inner(listing);
    listing.QueueDialog<std::string>(krz);
    listing.QueueDialog<KrzSampleChoice>(std::nullopt);
    EXPECT_FALSE(doc.OnImportKrz());
    EXPECT_EQ(listing.shown.entries,
              (std::vector<std::string>{"Kick (pitch C 2, rate 48000)", "Pad (pitch A 4, rate 44099)",
                                        "Broken (pitch C 4, rate 44099)"}));
    EXPECT_EQ(listing.shown.selected, 0);
    ExpectUnchanged();
}

TEST_F(KrzImport, CancelAndRefusalsLeaveTheDocumentAlone) {
    ui.QueueDialog<std::string>(std::nullopt);
    EXPECT_FALSE(doc.OnImportKrz());

    EXPECT_FALSE(Import(krz, 3));
    EXPECT_FALSE(Import(krz, -1));
    EXPECT_FALSE(Import(krz, 2));

    std::string notKrz = dir.File("notes.krz");
    KrzBuilder().Magic("FORM").WriteTo(notKrz);
    ui.QueueDialog<std::string>(notKrz);
    EXPECT_FALSE(doc.OnImportKrz());
    // No list was asked for once the magic had been refused.
    EXPECT_TRUE(ui.AllAnswersUsed());

    ui.QueueDialog<std::string>(dir.File("missing.krz"));
    EXPECT_FALSE(doc.OnImportKrz());

    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{
                                 "The file's list has no sample 3 (its samples are numbered 0 to 2)",
                                 "The file's list has no sample -1 (its samples are numbered 0 to 2)",
                                 "The sample's audio lies beyond the end of the file",
                                 "File is not a Kurzweil PRAM file",
                                 dir.File("missing.krz") + " was not found.",
                             }));
    ExpectUnchanged();
}

TEST_F(KrzImport, AFileWithoutSamplesOffersAnEmptyList) {
    std::string empty = dir.File("empty.krz");
    KrzBuilder().Other(0x24, 16).WriteTo(empty);
    ListingUi listing;
    ScopedUi inner(listing);
    listing.QueueDialog<std::string>(empty);
    listing.QueueDialog<KrzSampleChoice>(KrzSampleChoice{{}, 0});
    EXPECT_FALSE(doc.OnImportKrz());
    EXPECT_TRUE(listing.shown.entries.empty());
    EXPECT_EQ(listing.shown.selected, -1);
    EXPECT_EQ(listing.Messages(), std::vector<std::string>{"The file holds no samples"});
    ExpectUnchanged();
}
