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
