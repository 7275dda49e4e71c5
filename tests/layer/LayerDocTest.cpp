#include "layer/LayerDoc.h"

#include "LayerFileBytes.h"
#include "archive/ObjectArchive.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
class LayerDocTest : public ::testing::Test {
protected:
    CSample* Add(const std::string& name, const std::string& path) {
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = path;
        CSample* entry = sample.get();
        EXPECT_TRUE(doc.AddSample(name, std::move(sample)));
        return entry;
    }
    CLayer* AddLayer(const std::string& name,
                     std::initializer_list<std::pair<std::uint16_t, CSample*>> keys) {
        auto layer = std::make_unique<CLayer>();
        for (auto [key, sample] : keys)
            layer->m_keys.Set(key, sample);
        CLayer* added = layer.get();
        doc.SetLayer(name, std::move(layer));
        return added;
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CLayerDoc doc;
};

// Two entries "A" (index 2) and "B" (index 3), then a layer "L" whose key pairs follow.
LayerFileBytes TwoEntriesAndALayer() {
    LayerFileBytes file;
    file.Word(2).Text("A").ClassRecord("CSample").SampleBody("a").Text("B").Word(0x8001).SampleBody("b");
    file.Word(1).Text("L").ClassRecord("CLayer").LayerHead();
    return file;
}
} // namespace

TEST_F(LayerDocTest, TheFileHoldsEntriesThenLayersWhoseKeysReferBack) {
    CSample* flute = Add("F", "p");
    flute->m_bTracksPitch = false;
    flute->m_bIgnoreKeyUp = true;
    flute->m_nLevel = -6;
    CLayer* layer = AddLayer("L", {{60, flute}, {61, flute}});
    layer->m_nLevel = -6;
    layer->m_nTranspose = -12;
    CObjectArchive ar;
    doc.Serialize(ar);
    LayerFileBytes expected;
    expected.Word(1).Text("F").ClassRecord("CSample").Text("p").Word(2).Word(0xFFFA);
    expected.Word(1).Text("L").ClassRecord("CLayer").Word(0xFFFA).Word(0xFFF4).Word(0).Text("");
    expected.Word(2).Word(61).Word(2).Word(60).Word(2); // one bucket, newest first
    EXPECT_EQ(std::string(ar.Bytes().begin(), ar.Bytes().end()), expected.Bytes());

    AddLayer("M", {{0, flute}});
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("lib.lay")));
    CLayerDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(dir.File("lib.lay")));
    CSample* shared = reopened.FindSample("F");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->m_strName, "F");
    EXPECT_FALSE(shared->m_bTracksPitch);
    EXPECT_TRUE(shared->m_bIgnoreKeyUp);
    EXPECT_EQ(shared->m_nLevel, -6);
    EXPECT_EQ(reopened.FindLayer("L")->LookupSample(60), shared);
    EXPECT_EQ(reopened.FindLayer("L")->LookupSample(61), shared);
    EXPECT_EQ(reopened.FindLayer("M")->LookupSample(0), shared);
    EXPECT_EQ(reopened.FindLayer("L")->m_nTranspose, -12);
    EXPECT_EQ(reopened.Samples().Size(), 1u);
    EXPECT_TRUE(ui.Events().empty());
}

TEST_F(LayerDocTest, KeysReadTwiceKeepTheLaterPairAndNoKeyMayNameAnEntryTheMapLacks) {
    LayerFileBytes twice = TwoEntriesAndALayer();
    twice.Word(3).Word(60).Word(2).Word(61).Word(2).Word(60).Word(3).WriteTo(dir.File("ok.lay"));
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("ok.lay")));
    EXPECT_EQ(doc.FindLayer("L")->m_keys.Size(), 2u);
    EXPECT_EQ(doc.FindLayer("L")->LookupSample(60), doc.FindSample("B"));

    std::vector<std::string> damaged;
    auto add = [&](LayerFileBytes& file) { damaged.push_back(file.Bytes()); };
    add(TwoEntriesAndALayer().Word(1).Word(60).Word(0x8001).SampleBody("new")); // read inside the layer
    add(TwoEntriesAndALayer().Word(1).Word(128).Word(2));                       // no such key
    add(TwoEntriesAndALayer().Word(1).Word(60).Word(0));                        // no entry
    add(TwoEntriesAndALayer().Word(1).Word(60).Word(5));                        // the layer itself
    LayerFileBytes replaced; // the entry at index 2 gives way to a later "A"
    replaced.Word(2).Text("A").ClassRecord("CSample").SampleBody("a").Text("A").Word(0x8001).SampleBody("b");
    add(replaced.Word(1).Text("L").ClassRecord("CLayer").LayerHead().Word(1).Word(60).Word(2));
    for (std::size_t size = 0; size < twice.Bytes().size(); ++size)
        damaged.push_back(twice.Bytes().substr(0, size));
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        std::ofstream(dir.File("bad.lay"), std::ios::binary) << bytes;
        ScriptedUi local;
        ScopedUi localScope(local);
        EXPECT_FALSE(doc.OnOpenDocument(dir.File("bad.lay")));
        EXPECT_EQ(local.Messages(), std::vector<std::string>{"Unexpected file format."});
        EXPECT_TRUE(doc.Samples().Empty() && doc.Layers().Empty());
    }
    // The two-byte empty archive of other documents reads as an empty library.
    std::ofstream(dir.File("empty.lay"), std::ios::binary) << std::string(2, '\0');
    EXPECT_TRUE(doc.OnOpenDocument(dir.File("empty.lay")));
}

TEST_F(LayerDocTest, LibraryOperationsKeepNamesAndRefuseWhatWouldDangle) {
    CSample* flute = Add("Flute", "f.wav");
    Add("Oboe", "o.wav");
    AddLayer("Piano", {{5, flute}});
    EXPECT_EQ(doc.FindLayer("piano"), nullptr);
    doc.SetModifiedFlag(false);

    EXPECT_FALSE(doc.DeleteLayer("piano"));
    EXPECT_FALSE(doc.RenameSample("Nope", "X"));
    EXPECT_FALSE(doc.DeleteSample("Nope"));
    EXPECT_FALSE(doc.AddSample("Oboe", std::make_unique<CSample>()));
    EXPECT_FALSE(doc.RenameSample("Flute", "Oboe"));
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{"Internal error: couldn't find layer",
                                        "Internal error: can't find sample to rename",
                                        "Internal error: can't find sample to delete",
                                        "Internal error: a sample named Oboe already exists",
                                        "Internal error: a sample named Oboe already exists"}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.FindSample("Oboe")->GetPath(), "o.wav");

    EXPECT_TRUE(doc.RenameSample("Flute", "Fl\xFBte"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.FindSample("Fl\xFBte"), flute);
    EXPECT_EQ(flute->m_strName, "Fl\xFBte");
    EXPECT_EQ(doc.FindLayer("Piano")->LookupSample(5), flute);

    CLayer copy;
    copy.m_keys.Set(9, flute);
    copy.CopyFrom(*doc.FindLayer("Piano"));
    EXPECT_EQ(copy.LookupSample(9), nullptr);
    EXPECT_EQ(copy.LookupSample(5), flute);
    copy.CopyFrom(copy);
    EXPECT_EQ(copy.LookupSample(5), flute);
    EXPECT_NEAR(static_cast<double>(NoteFrequency(60)), 261.6256, 1e-4);
    EXPECT_EQ(NoteFrequency(81), 880.0L);
}

TEST_F(LayerDocTest, DeletingAnEntryAsksOncePerLayerAndCancelKeepsWhatWasUnmapped) {
    CSample* entry = Add("E", "e.wav");
    CSample* spare = Add("Spare", "s.wav");
    for (const char* name : {"a", "b", "r"}) // "r" shares a bucket with "a" and comes first
        AddLayer(name, {{1, entry}, {2, entry}, {3, spare}});
    ui.QueueAnswer(Answer::Ok);
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(doc.DeleteSample("E"));
    EXPECT_EQ(ui.Questions(), (std::vector<std::string>{"Unmap this sample from layer r?",
                                                        "Unmap this sample from layer a?"}));
    EXPECT_EQ(doc.FindLayer("r")->m_keys.Size(), 1u);
    EXPECT_EQ(doc.FindLayer("a")->LookupSample(1), entry);
    EXPECT_EQ(doc.FindSample("E"), entry);

    ui.QueueAnswer(Answer::Ok);
    ui.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(doc.DeleteSample("E"));
    EXPECT_EQ(ui.Questions().back(), "Unmap this sample from layer b?");
    EXPECT_EQ(doc.FindSample("E"), nullptr);
    for (const char* name : {"a", "b", "r"})
        EXPECT_EQ(doc.FindLayer(name)->m_keys.Size(), 1u) << name;

    for (const char* name : {"a", "b", "r"})
        doc.FindLayer(name)->m_keys.Clear();
    EXPECT_TRUE(doc.DeleteSample("Spare")); // used nowhere: no question
    EXPECT_EQ(ui.Questions().size(), 4u);
}
