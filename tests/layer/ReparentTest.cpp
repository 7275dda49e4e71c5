#include "layer/LayerDoc.h"
#include "layer/ReparentDialog.h"

#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
class ReparentTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "old");
        for (const char* path :
             {"E:\\SAMPLES\\A.WAV", "e:\\sam\\b.wav", "E:\\SAM", "E:\\SA", "C:\\\xC9T\xC9\\x"}) {
            auto sample = std::make_unique<CSample>();
            sample->m_strPath = path;
            doc.AddSample(std::to_string(doc.Samples().Size()), std::move(sample));
        }
        doc.SetModifiedFlag(false);
    }
    void TearDown() override { std::filesystem::current_path(m_cwd); }
    std::string PathOf(int entry) const { return doc.FindSample(std::to_string(entry))->GetPath(); }

    std::filesystem::path m_cwd = std::filesystem::current_path();
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CLayerDoc doc;
};
} // namespace

TEST_F(ReparentTest, ReplacesALeadingRootWhateverItsCase) {
    ui.QueueDialog<ReparentRoots>(ReparentRoots{"E:\\SAM", "F:\\S"});
    ui.QueueAnswer(Answer::Yes);
    ui.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(doc.OnReparentFilePointers());
    EXPECT_EQ(ui.Questions(),
              (std::vector<std::string>{"Warning: the old directory does not exist.  Continue?",
                                        "Warning: the new directory does not exist.  Continue?"}));
    EXPECT_EQ(PathOf(0), "F:\\SPLES\\A.WAV");
    EXPECT_EQ(PathOf(1), "F:\\S\\b.wav");
    EXPECT_EQ(PathOf(2), "F:\\S");
    EXPECT_EQ(PathOf(3), "E:\\SA");
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"3 pointers (out of 5 total) were modified."});
    EXPECT_TRUE(doc.IsModified());

    ui.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(doc.ReparentFilePointers("c:\\\xC3\xA9t\xC3\xA9", dir.Path().string())); // "été" in UTF-8
    EXPECT_EQ(PathOf(4), dir.Path().string() + "\\x");
    EXPECT_EQ(std::filesystem::current_path(), dir.Path()); // a later report goes there

    ui.QueueAnswer(Answer::Yes);
    ui.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(doc.ReparentFilePointers("", "/n")); // an empty root prefixes every path
    EXPECT_EQ(PathOf(3), "/nE:\\SA");
    EXPECT_EQ(ui.Messages().back(), "5 pointers (out of 5 total) were modified.");
}

TEST_F(ReparentTest, CancelOrNoChangesNothing) {
    ui.QueueDialog<ReparentRoots>(std::nullopt);
    EXPECT_FALSE(doc.OnReparentFilePointers());
    ui.QueueAnswer(Answer::No);
    EXPECT_FALSE(doc.ReparentFilePointers("E:\\SAM", "F:\\S"));
    ui.QueueAnswer(Answer::No); // the old root exists and stays the current directory
    EXPECT_FALSE(doc.ReparentFilePointers((dir.Path() / "old").string(), "E:\\SAM"));
    EXPECT_EQ(std::filesystem::current_path(), dir.Path() / "old");
    EXPECT_EQ(ui.Questions().size(), 2u);
    EXPECT_EQ(PathOf(0), "E:\\SAMPLES\\A.WAV");
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(doc.IsModified());
}
