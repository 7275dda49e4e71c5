#include "app/DocumentKinds.h"

#include <gtest/gtest.h>

TEST(DocumentKinds, DescriptorsHaveSevenFields) {
    const auto& kinds = DocumentKinds();
    EXPECT_EQ(kinds[0].kind, DocumentKind::Patch);
    EXPECT_EQ(kinds[1].kind, DocumentKind::Layer);
    EXPECT_EQ(kinds[2].kind, DocumentKind::Wave);
    EXPECT_EQ(kinds[0].descriptor.docName, "Patch");
    EXPECT_EQ(kinds[0].descriptor.fileNewName, "PATCH File");
    EXPECT_EQ(kinds[0].descriptor.filterName, "PATCH Files (*.pat)");
    EXPECT_EQ(kinds[0].descriptor.fileTypeName, "PATCH File Type");
    EXPECT_EQ(kinds[1].descriptor.fileNewName, "");
    EXPECT_EQ(kinds[2].descriptor.docName, "Wave File");
    EXPECT_EQ(kinds[2].descriptor.fileTypeId, "WaveFile Type");
    EXPECT_EQ(kinds[2].resource, 4);
}

TEST(DocumentKinds, ExtensionsChooseTheKind) {
    EXPECT_EQ(KindForPath("/b/bank.PAT"), DocumentKind::Patch);
    EXPECT_EQ(KindForPath("/l/Wl.lay"), DocumentKind::Layer);
    EXPECT_EQ(KindForPath("/s/flute.Wav"), DocumentKind::Wave);
    EXPECT_EQ(KindForPath("/s/flute.sam"), DocumentKind::Wave);
    EXPECT_EQ(KindForPath("/s/readme.txt"), DocumentKind::Patch);
    EXPECT_EQ(KindForPath("wav"), DocumentKind::Patch);
    EXPECT_TRUE(SamePath("/S/Flute.WAV", "/s/flute.wav"));
    EXPECT_FALSE(SamePath("/s/flute.wav", "/s/flute.wav2"));
}

TEST(DocumentKinds, TheOpenDialogOffersEveryKindWeOpen) {
    std::vector<std::string> filters = OpenFilters();
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0], "PATCH Files (*.pat)");
    EXPECT_EQ(filters[2], "WAVE Files (*.wav)");
    EXPECT_EQ(filters[3], "SAMPLE Archives (*.sam)");
    EXPECT_EQ(filters[4], "All Files (*)");
}

TEST(DocumentKinds, SaveAsProposesTheFilesOwnPathOrTheTitle) {
    EXPECT_EQ(ProposedSavePath("flute.wav", "/s/flute.wav", ".wav"), "/s/flute.wav");
    EXPECT_EQ(ProposedSavePath("Patch1", "", ".pat"), "Patch1.pat");
    EXPECT_EQ(ProposedSavePath("old.bank", "", ".pat"), "old.bank");
}
