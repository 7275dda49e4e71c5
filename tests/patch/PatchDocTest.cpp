#include "patch/PatchDoc.h"

#include "archive/PackedPoint.h"
#include "platform/FileIo.h"
#include "platform/ScriptedUi.h"
#include "support/ByteStrings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
const ByteString kPatchClass = Cat({Hex("FFFF 0100 0600"), Text("CPatch")});
const ByteString kNewPatchBody = Cat({Hex("09"), Text("New Patch"), Hex("0000 0000 0000")});

void WriteFile(const std::string& path, const ByteString& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ByteString ReadFile(const std::string& path) {
    return ReadWholeFile(path).bytes;
}

class RecordingView : public CView {
public:
    void OnUpdate(CView*, long hint) override { hints.push_back(hint); }
    std::vector<long> hints;
};

// A patch with a layer that uses every kind of record, so that cuts land everywhere.
std::unique_ptr<CPatch> RichPatch(const std::string& name) {
    auto patch = std::make_unique<CPatch>();
    patch->m_strName = name;
    auto layer = std::make_unique<CLayerParams>();
    layer->m_strLayerName = "Pad";
    layer->m_envelope.SetPoint(1, 100, -6);
    auto key = std::make_unique<CNoteOnRoutingItem>();
    key->m_curve = {PackPoint(1, 100), PackPoint(127, 200)};
    layer->m_noteOnRouting.Add(std::move(key));
    layer->m_controllerRouting.Add(std::make_unique<CControllerRoutingItem>());
    patch->m_layers.push_back(std::move(layer));
    patch->m_layers.push_back(std::make_unique<CLayerParams>());
    return patch;
}

struct PatchDocTest : ::testing::Test {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
};
} // namespace

TEST_F(PatchDocTest, ReadersTakeAnyOrderAndTheLastOfARepeatedNumber) {
    ByteString named = Cat({Hex("04"), Text("Late"), Hex("0000 0000 0000")});
    // 200 is not a number the editor gives, but the patch still learns where it is held.
    WriteFile(dir.File("odd.pat"), Cat({Hex("0300 0500"), kPatchClass, kNewPatchBody, Hex("C800 0180"),
                                        kNewPatchBody, Hex("0500 0180"), named}));
    CPatchDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("odd.pat")));
    EXPECT_EQ(doc.GetPatches().Size(), 2u);
    EXPECT_EQ(doc.FindPatch(5)->m_strName, "Late");
    EXPECT_EQ(doc.FindPatch(200)->m_nNumber, 200);
    EXPECT_EQ(doc.GetLoadOrder(), (std::vector<std::uint16_t>{5, 200}));
}

TEST_F(PatchDocTest, AnUneditedBankSavesAsItWasRead) {
    CPatchDoc source;
    for (std::uint16_t number : {3, 1, 20, 2, 17})
        source.SetPatch(number, RichPatch("P" + std::to_string(number)));
    ASSERT_TRUE(source.OnSaveDocument(dir.File("bank.pat")));
    CPatchDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("bank.pat")));
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("again.pat")));
    EXPECT_EQ(ReadFile(dir.File("again.pat")), ReadFile(dir.File("bank.pat")));
    // The patches were written newest first within each group of sixteen numbers.
    EXPECT_EQ(doc.GetLoadOrder(), (std::vector<std::uint16_t>{2, 1, 3, 17, 20}));
}

TEST_F(PatchDocTest, DamagedFilesFailWholeWithOneMessage) {
    CPatchDoc source;
    source.SetPatch(2, RichPatch("First"));
    source.SetPatch(1, RichPatch("Second"));
    ASSERT_TRUE(source.OnSaveDocument(dir.File("good.pat")));
    ByteString good = ReadFile(dir.File("good.pat"));

    // Every cut, including inside strings and word arrays.
    for (std::size_t length = 0; length < good.size(); ++length) {
        WriteFile(dir.File("cut.pat"), ByteString(good.begin(), good.begin() + static_cast<long>(length)));
        CPatchDoc doc;
        doc.SetPatch(9, std::make_unique<CPatch>());
        EXPECT_FALSE(doc.OnOpenDocument(dir.File("cut.pat"))) << length;
        EXPECT_TRUE(doc.GetPatches().Empty()) << length;
    }
    EXPECT_EQ(ui.Messages(), std::vector<std::string>(good.size(), "Unexpected file format."));

    // The second patch names a class nobody knows: the first does not survive either.
    ScriptedUi unknownUi;
    ScopedUi unknownScope(unknownUi);
    WriteFile(dir.File("unknown.pat"), Cat({Hex("0200 0000"), kPatchClass, kNewPatchBody,
                                            Hex("0100 FFFF 0100 0600"), Text("CPatcX"), kNewPatchBody}));
    CPatchDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("unknown.pat")));
    EXPECT_TRUE(doc.GetPatches().Empty());
    EXPECT_TRUE(doc.GetLoadOrder().empty());

    // A schema this program does not write, and a record that is not a patch where one belongs.
    WriteFile(dir.File("schema.pat"), Cat({Hex("0100 0000 FFFF 0200 0600"), Text("CPatch"), kNewPatchBody}));
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("schema.pat")));
    WriteFile(dir.File("xfade.pat"),
              Cat({Hex("0100 0000 FFFF 0100 0600"), Text("CXfade"), Hex("0000 0000 0000")}));
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("xfade.pat")));
    WriteFile(dir.File("null.pat"), Hex("0100 0000 0000"));
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("null.pat")));
    EXPECT_EQ(unknownUi.Messages(), std::vector<std::string>(4, "Unexpected file format."));

    ScriptedUi missingUi;
    ScopedUi missingScope(missingUi);
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.pat")));
    EXPECT_EQ(missingUi.Messages(), std::vector<std::string>{dir.File("missing.pat") + " was not found."});
}

TEST_F(PatchDocTest, StoringAndRemovingMarkTheDocumentModified) {
    CPatchDoc doc;
    auto patch = std::make_unique<CPatch>();
    patch->m_nNumber = 99;
    CPatch& stored = doc.SetPatch(7, std::move(patch));
    EXPECT_EQ(stored.m_nNumber, 7);
    EXPECT_EQ(doc.FindPatch(7), &stored);
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    doc.RemovePatch(8);
    EXPECT_FALSE(doc.IsModified());
    doc.RemovePatch(7);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.FindPatch(7), nullptr);
}

TEST_F(PatchDocTest, RenumberingMovesAPatchOnlyToAFreeNumber) {
    CPatchDoc doc;
    RecordingView view;
    doc.AddView(&view);
    CPatch& three = doc.SetPatch(3, RichPatch("Three"));
    doc.SetPatch(7, RichPatch("Seven"));
    doc.SetModifiedFlag(false);

    EXPECT_EQ(doc.ApplyPatchSettings(three, 7, "Renamed", -9, nullptr), nullptr);
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Can't change to that patch number because it's in use."});
    EXPECT_EQ(doc.FindPatch(3), &three);
    EXPECT_EQ(three.m_strName, "Three");
    EXPECT_EQ(three.m_nMasterLevel, 0);
    EXPECT_EQ(doc.FindPatch(7)->m_strName, "Seven");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(view.hints.empty());

    CPatch expected;
    expected.CopyFrom(three);
    expected.m_nMasterLevel = -2;
    // The name given is the old patch's own, which the move destroys.
    CPatch* moved = doc.ApplyPatchSettings(three, 9, three.m_strName, -2, nullptr);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(doc.FindPatch(3), nullptr);
    EXPECT_EQ(doc.FindPatch(9), moved);
    EXPECT_EQ(moved->m_nNumber, 9);
    EXPECT_EQ(moved->m_strName, "Three");
    CObjectArchive movedBytes;
    CObjectArchive expectedBytes;
    moved->Serialize(movedBytes);
    expected.Serialize(expectedBytes);
    EXPECT_EQ(movedBytes.Bytes(), expectedBytes.Bytes());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, std::vector<long>{9});

    // Same number: a new name tells the views, a new level only marks the document.
    EXPECT_EQ(doc.ApplyPatchSettings(*moved, 9, "Nine", -2, nullptr), moved);
    EXPECT_EQ(moved->m_strName, "Nine");
    doc.SetModifiedFlag(false);
    EXPECT_EQ(doc.ApplyPatchSettings(*moved, 9, "Nine", 4, &view), moved);
    EXPECT_EQ(moved->m_nMasterLevel, 4);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.hints, (std::vector<long>{9, 9}));
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(PatchDocTest, NewPatchesTakeTheFirstFreeNumberUpwardThenDownward) {
    CPatchDoc doc;
    EXPECT_EQ(doc.FindFreePatchNumber(0), 0);
    CPatch* first = doc.NewPatch(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(doc.FindPatch(0), first);
    EXPECT_EQ(first->m_strName, "New Patch");
    EXPECT_TRUE(doc.IsModified());

    CPatchDoc full;
    for (std::uint16_t n = 5; n < 128; ++n)
        full.SetPatch(n, std::make_unique<CPatch>());
    EXPECT_EQ(full.FindFreePatchNumber(5), 4);
    EXPECT_EQ(full.FindFreePatchNumber(2), 2);
    ASSERT_NE(full.NewPatch(5), nullptr);
    EXPECT_NE(full.FindPatch(4), nullptr);
    // A start past the bank searches downward from the top of it.
    full.RemovePatch(127);
    EXPECT_EQ(full.FindFreePatchNumber(300), 127);

    for (std::uint16_t n = 0; n < 5; ++n)
        full.SetPatch(n, std::make_unique<CPatch>());
    full.SetPatch(127, std::make_unique<CPatch>());
    EXPECT_EQ(full.FindFreePatchNumber(64), std::nullopt);
    EXPECT_EQ(full.NewPatch(64), nullptr);
    EXPECT_EQ(full.GetPatches().Size(), 128u);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"All 128 patch numbers are in use"});
}
