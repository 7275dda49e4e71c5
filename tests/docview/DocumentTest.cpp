#include "docview/Document.h"

#include "archive/ObjectArchive.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
// A document of a few names, archived as a count and strings.
class CNamesDoc : public CDocument {
public:
    void Serialize(CObjectArchive& ar) override {
        if (ar.IsStoring()) {
            ar.StoreCount(static_cast<std::uint32_t>(m_names.size()));
            for (const auto& name : m_names)
                ar.StoreString(name);
        } else {
            std::uint32_t count = ar.LoadCount();
            for (std::uint32_t i = 0; i < count; ++i)
                m_names.push_back(ar.LoadString());
        }
    }
    void DeleteContents() override { m_names.clear(); }
    std::vector<std::string> m_names;
};

class RecordingView : public CView {
public:
    void OnUpdate(CView* sender, long hint) override { updates.emplace_back(sender, hint); }
    std::vector<std::pair<CView*, long>> updates;
};
} // namespace

TEST(Document, SavesAndOpensTheArchiveForm) {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope(ui);
    CNamesDoc doc;
    doc.m_names = {"a", "bc"};
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("n.pat")));
    EXPECT_FALSE(doc.IsModified());

    CNamesDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(dir.File("n.pat")));
    EXPECT_EQ(reopened.m_names, doc.m_names);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(Document, OpeningFailuresShowOneMessageAndLeaveNothingBehind) {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope(ui);
    CNamesDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.pat")));
    std::ofstream(dir.File("cut.pat"), std::ios::binary) << std::string("\x02\x00\x01x\x05", 5);
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("cut.pat")));
    EXPECT_TRUE(doc.m_names.empty());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{dir.File("missing.pat") + " was not found.",
                                                       "Unexpected file format."}));
}

TEST(Document, AFailedSaveKeepsTheModifiedFlag) {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope(ui);
    CNamesDoc doc;
    doc.SetModifiedFlag();
    std::string path = dir.File("gone/x.pat");
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{path + " was not found."});
}

TEST(Document, UpdatesReachEveryViewButTheSender) {
    CNamesDoc doc;
    RecordingView first;
    RecordingView second;
    doc.AddView(&first);
    doc.AddView(&second);
    doc.AddView(&first);
    doc.UpdateAllViews(&first, 99999);
    EXPECT_TRUE(first.updates.empty());
    ASSERT_EQ(second.updates.size(), 1u);
    EXPECT_EQ(second.updates[0].second, 99999);
    doc.RemoveView(&second);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(first.updates.size(), 1u);
    EXPECT_EQ(second.updates.size(), 1u);
}

TEST(Document, TitlesComeFromEitherKindOfSeparator) {
    EXPECT_EQ(FileNameOf("C:\\Samples\\flute.wav"), "flute.wav");
    EXPECT_EQ(FileNameOf("/s/piano.wav"), "piano.wav");
    EXPECT_EQ(FileNameOf("bare"), "bare");
    CNamesDoc doc;
    doc.SetPathName("/banks/main.pat");
    EXPECT_EQ(doc.GetTitle(), "main.pat");
}
