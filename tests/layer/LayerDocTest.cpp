#include "layer/LayerDoc.h"

#include "LayerFileBytes.h"
#include "archive/ObjectArchive.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<CSample> Entry(const std::string& path, std::int32_t level = 0) {
    auto sample = std::make_unique<CSample>();
    sample->m_strPath = path;
    sample->m_nLevel = level;
    return sample;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Stored(CLayerDoc& doc) {
    CObjectArchive ar;
    doc.Serialize(ar);
    return ar.Bytes();
}

// Two entries "A" (index 2) and "B" (index 3), then one layer "L" whose key pairs follow.
LayerFileBytes TwoEntriesAndALayer() {
    LayerFileBytes file;
    file.Word(2).Text("A").ClassRecord("CSample").SampleBody("a.wav");
    file.Text("B").Word(0x8001).SampleBody("b.wav");
    file.Word(1).Text("L").ClassRecord("CLayer").LayerHead();
    return file;
}

class LayerDocTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
};
} // namespace

TEST_F(LayerDocTest, WritesSamplesThenLayersThatReferBack) {
    CLayerDoc doc;
    doc.AddSample("F", Entry("p"));
    auto layer = std::make_unique<CLayer>();
    layer->m_keys.Set(60, doc.FindSample("F"));
    doc.SetLayer("L", std::move(layer));
    Bytes expected{0x01, 0x00, 1,    'F',  0xFF, 0xFF, 0x01, 0x00, 0x07, 0x00, 'C',  'S',  'a',
                   'm',  'p',  'l',  'e',  1,    'p',  0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 1,
                   'L',  0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C',  'L',  'a',  'y',  'e',  'r',
                   0,    0,    0,    0,    0,    0,    0,    0x01, 0x00, 0x3C, 0x00, 0x02, 0x00};
    EXPECT_EQ(Stored(doc), expected);

    CLayerDoc empty;
    EXPECT_EQ(Stored(empty), (Bytes{0, 0, 0, 0}));
    // The two-byte empty archive that other documents write reads as an empty library too.
    WriteFile(dir.File("empty.lay"), Bytes{0, 0});
    EXPECT_TRUE(empty.OnOpenDocument(dir.File("empty.lay")));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LayerDocTest, LayersSharingAnEntrySurviveSaveAndReopen) {
    CLayerDoc doc;
    doc.AddSample("Flute", Entry("/s/flute.wav", -6));
    doc.AddSample("Oboe", Entry("/s/oboe.wav"));
    CSample* flute = doc.FindSample("Flute");
    auto piano = std::make_unique<CLayer>();
    piano->m_keys.Set(60, flute);
    piano->m_keys.Set(61, flute);
    piano->m_keys.Set(62, doc.FindSample("Oboe"));
    piano->m_nTranspose = -12;
    auto organ = std::make_unique<CLayer>();
    organ->m_keys.Set(0, flute);
    doc.SetLayer("Piano", std::move(piano));
    doc.SetLayer("Organ", std::move(organ));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("lib.lay")));

    CLayerDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(dir.File("lib.lay")));
    EXPECT_FALSE(reopened.IsModified());
    CSample* shared = reopened.FindSample("Flute");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->m_strName, "Flute");
    EXPECT_EQ(shared->m_nLevel, -6);
    EXPECT_EQ(reopened.FindSample("Oboe")->m_strName, "Oboe");
    CLayer* reopenedPiano = reopened.FindLayer("Piano");
    ASSERT_NE(reopenedPiano, nullptr);
    EXPECT_EQ(reopenedPiano->LookupSample(60), shared);
    EXPECT_EQ(reopenedPiano->LookupSample(61), shared);
    EXPECT_EQ(reopened.FindLayer("Organ")->LookupSample(0), shared);
    EXPECT_EQ(reopenedPiano->m_nTranspose, -12);
    EXPECT_EQ(reopened.Samples().Size(), 2u);
    EXPECT_TRUE(ui.Events().empty());
}

TEST_F(LayerDocTest, AKeyMappedTwiceKeepsTheLaterPair) {
    LayerFileBytes file = TwoEntriesAndALayer();
    file.Word(3).Word(60).Word(2).Word(61).Word(2).Word(60).Word(3);
    WriteFile(dir.File("twice.lay"), file.Bytes());
    CLayerDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("twice.lay")));
    CLayer* layer = doc.FindLayer("L");
    EXPECT_EQ(layer->m_keys.Size(), 2u);
    EXPECT_EQ(layer->LookupSample(60), doc.FindSample("B"));
    EXPECT_EQ(layer->LookupSample(61), doc.FindSample("A"));
}

TEST_F(LayerDocTest, DamagedFilesAreRefusedWhole) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    {
        LayerFileBytes file = TwoEntriesAndALayer();
        file.Word(1).Word(60).Word(0x8001).SampleBody("new.wav"); // an entry the samples map lacks
        cases.push_back({"new entry in a key map", file.Bytes()});
    }
    {
        LayerFileBytes file;
        file.Word(2).Text("A").ClassRecord("CSample").SampleBody("a.wav");
        file.Text("A").Word(0x8001).SampleBody("a2.wav"); // replaces the entry at index 2
        file.Word(1).Text("L").ClassRecord("CLayer").LayerHead().Word(1).Word(60).Word(2);
        cases.push_back({"entry replaced by a later one of the same name", file.Bytes()});
    }
    {
        LayerFileBytes file = TwoEntriesAndALayer();
        file.Word(1).Word(128).Word(2);
        cases.push_back({"key beyond 127", file.Bytes()});
    }
    {
        LayerFileBytes file = TwoEntriesAndALayer();
        file.Word(1).Word(60).Word(0);
        cases.push_back({"null entry", file.Bytes()});
    }
    {
        LayerFileBytes file = TwoEntriesAndALayer();
        file.Word(1).Word(60).Word(5); // the layer itself
        cases.push_back({"key naming a layer", file.Bytes()});
    }
    {
        LayerFileBytes file;
        file.Word(1).Text("A").ClassRecord("CLayer").LayerHead().Word(0).Word(0);
        cases.push_back({"layer in the samples map", file.Bytes()});
    }
    {
        LayerFileBytes file = TwoEntriesAndALayer();
        file.Word(1).Word(60).Word(2);
        Bytes whole = file.Bytes();
        for (std::size_t size = 0; size < whole.size(); ++size)
            cases.push_back({"cut short", Bytes(whole.begin(), whole.begin() + static_cast<long>(size))});
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what + std::string(" ") + std::to_string(test.bytes.size()));
        ScriptedUi local;
        ScopedUi localScope(local);
        WriteFile(dir.File("bad.lay"), test.bytes);
        CLayerDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(dir.File("bad.lay")));
        EXPECT_EQ(local.Messages(), std::vector<std::string>{"Unexpected file format."});
        EXPECT_TRUE(doc.Samples().Empty());
        EXPECT_TRUE(doc.Layers().Empty());
    }
}

TEST_F(LayerDocTest, LibraryOperationsAndTheirMessages) {
    CLayerDoc doc;
    doc.SetLayer("Piano", std::make_unique<CLayer>());
    EXPECT_NE(doc.FindLayer("Piano"), nullptr);
    EXPECT_EQ(doc.FindLayer("piano"), nullptr);
    doc.SetModifiedFlag(false);

    EXPECT_FALSE(doc.DeleteLayer("piano"));
    EXPECT_FALSE(doc.RenameSample("Nope", "X"));
    EXPECT_FALSE(doc.DeleteSample("Nope"));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Internal error: couldn't find layer",
                                                       "Internal error: can't find sample to rename",
                                                       "Internal error: can't find sample to delete"}));
    EXPECT_FALSE(doc.IsModified());

    EXPECT_TRUE(doc.AddSample("Flute", Entry("f.wav")));
    EXPECT_TRUE(doc.AddSample("Oboe", Entry("o.wav")));
    EXPECT_TRUE(doc.IsModified());
    CSample* flute = doc.FindSample("Flute");
    EXPECT_EQ(flute->m_strName, "Flute");
    doc.FindLayer("Piano")->m_keys.Set(5, flute);

    // A taken name is never replaced: the layer would be left pointing at a destroyed entry.
    EXPECT_FALSE(doc.AddSample("Oboe", Entry("other.wav")));
    EXPECT_FALSE(doc.RenameSample("Flute", "Oboe"));
    EXPECT_EQ(ui.Messages().back(), "Internal error: a sample named Oboe already exists");
    EXPECT_EQ(doc.FindSample("Oboe")->GetPath(), "o.wav");

    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.RenameSample("Flute", "Fl\xFBte"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.FindSample("Flute"), nullptr);
    EXPECT_EQ(doc.FindSample("Fl\xFBte"), flute);
    EXPECT_EQ(flute->m_strName, "Fl\xFBte");
    EXPECT_EQ(doc.FindLayer("Piano")->LookupSample(5), flute);

    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.DeleteLayer("Piano"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Layers().Empty());
}

TEST_F(LayerDocTest, DeletingAnEntryAsksOncePerLayerAndCancelKeepsWhatWasUnmapped) {
    CLayerDoc doc;
    doc.AddSample("\xC9t\xE9", Entry("e.wav"));
    doc.AddSample("Spare", Entry("s.wav"));
    CSample* entry = doc.FindSample("\xC9t\xE9");
    for (const char* name : {"a", "b", "r"}) { // "a" and "r" share a bucket: r comes first
        auto layer = std::make_unique<CLayer>();
        layer->m_keys.Set(1, entry);
        layer->m_keys.Set(2, entry);
        layer->m_keys.Set(3, doc.FindSample("Spare"));
        doc.SetLayer(name, std::move(layer));
    }
    doc.SetModifiedFlag(false);

    ui.QueueAnswer(Answer::Ok);
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(doc.DeleteSample("\xC9t\xE9"));
    EXPECT_EQ(ui.Questions(), (std::vector<std::string>{"Unmap this sample from layer r?",
                                                        "Unmap this sample from layer a?"}));
    EXPECT_EQ(ui.Events().front().icon, MessageIcon::Question);
    EXPECT_EQ(doc.FindLayer("r")->LookupSample(1), nullptr);
    EXPECT_EQ(doc.FindLayer("r")->LookupSample(2), nullptr);
    EXPECT_EQ(doc.FindLayer("r")->LookupSample(3), doc.FindSample("Spare"));
    EXPECT_EQ(doc.FindLayer("a")->LookupSample(1), entry);
    EXPECT_EQ(doc.FindSample("\xC9t\xE9"), entry);
    EXPECT_TRUE(doc.IsModified());

    ui.QueueAnswer(Answer::Ok);
    ui.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(doc.DeleteSample("\xC9t\xE9"));
    EXPECT_EQ(ui.Questions().back(), "Unmap this sample from layer b?");
    EXPECT_EQ(ui.Questions().size(), 4u);
    EXPECT_EQ(doc.FindSample("\xC9t\xE9"), nullptr);
    for (const char* name : {"a", "b", "r"})
        EXPECT_EQ(doc.FindLayer(name)->m_keys.Size(), 1u) << name;

    // Now no layer maps it: deleted without a question.
    for (const char* name : {"a", "b", "r"})
        doc.FindLayer(name)->m_keys.Clear();
    EXPECT_TRUE(doc.DeleteSample("Spare"));
    EXPECT_EQ(ui.Questions().size(), 4u);
    EXPECT_TRUE(doc.Samples().Empty());
}
