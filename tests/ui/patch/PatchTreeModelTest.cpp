#include "ui/patch/PatchTreeModel.h"

#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "patch/SelectLayerValues.h"
#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

// Another view of the document, counting what it is told.
struct CountingView : CView {
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

class PatchTreeModelTest : public ::testing::Test {
protected:
    // A layer mapping key ranges to named entries (created on first use).
    void AddLayer(const std::string& name, std::vector<std::tuple<int, int, std::string>> ranges) {
        auto layer = std::make_unique<CLayer>();
        for (auto& [low, high, entryName] : ranges) {
            if (!library.FindSample(entryName)) {
                auto entry = std::make_unique<CSample>();
                entry->m_strPath = "/samples/" + entryName + ".wav";
                library.AddSample(entryName, std::move(entry));
            }
            for (int key = low; key <= high; ++key)
                layer->m_keys.Set(static_cast<std::uint16_t>(key), library.FindSample(entryName));
        }
        library.SetLayer(name, std::move(layer));
    }
    CPatch& AddPatch(std::uint16_t number, const Strings& layers = {}) {
        auto patch = std::make_unique<CPatch>();
        for (const std::string& name : layers) {
            patch->m_layers.push_back(std::make_unique<CLayerParams>());
            patch->m_layers.back()->m_strLayerName = name;
        }
        CPatch& stored = doc.SetPatch(number, std::move(patch));
        doc.SetModifiedFlag(false);
        return stored;
    }
    Strings Texts(const std::vector<PatchTreeItem>& items) const {
        Strings texts;
        for (const PatchTreeItem& item : items)
            texts.push_back(std::to_string(item.image) + ":" + item.text);
        return texts;
    }
    Strings LayerNames(const CPatch& patch) const {
        Strings names;
        for (const auto& params : patch.m_layers)
            names.push_back(params->m_strLayerName);
        return names;
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CPatchDoc doc;
    CLayerDoc library;
    CPatchTreeModel tree{doc, library};
    CountingView form;
};
} // namespace

TEST_F(PatchTreeModelTest, RebuildShowsPatchesLayersAndOneSampleItemPerRunOfKeys) {
    AddLayer("Split", {{0, 59, "A"}, {60, 127, "B"}});
    AddLayer("Gap", {{0, 10, "A"}, {21, 127, "A"}});
    AddPatch(7, {"Split", "Gap", "Nowhere"}).m_strName = "Keys";
    AddPatch(2);
    tree.InitialUpdate();

    EXPECT_EQ(Texts(tree.Items()), (Strings{"0:2 New Patch", "0:7 Keys"}));
    const PatchTreeItem& keys = tree.Items()[1];
    EXPECT_EQ(Texts(keys.children), (Strings{"1:Split", "1:Gap", "4:Nowhere"}));
    EXPECT_EQ(Texts(keys.children[0].children), (Strings{"2:A", "2:B"}));
    EXPECT_EQ(Texts(keys.children[1].children), (Strings{"2:A"})); // a gap does not end the run
    EXPECT_TRUE(keys.children[2].children.empty());
    // The first patch has no layers, so it is selected itself.
    EXPECT_EQ(tree.Selection(), (TreePath{0, -1, -1}));
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(2));
    EXPECT_EQ(tree.CurrentLayer(), nullptr);
}

TEST_F(PatchTreeModelTest, SelectionMakesThePatchAndLayerCurrentAndTellsTheOtherViews) {
    AddLayer("Split", {{0, 59, "A"}, {60, 127, "B"}});
    CPatch& patch = AddPatch(3, {"Split"});
    doc.AddView(&form);
    tree.InitialUpdate();
    EXPECT_EQ(tree.Selection(), (TreePath{0, 0, -1})); // the first patch's first child
    int before = form.updates;

    tree.Select({0, 0, 1}); // a sample stands for its layer
    EXPECT_EQ(tree.CurrentPatch(), &patch);
    EXPECT_EQ(tree.CurrentLayer(), patch.m_layers[0].get());
    EXPECT_EQ(form.updates, before + 1);
    EXPECT_EQ(tree.SampleFileAt({0, 0, 1}), "/samples/B.wav");
    EXPECT_EQ(tree.SampleFileAt({0, 0, -1}), std::nullopt); // layers and patches open nothing
    EXPECT_EQ(tree.SampleFileAt({0, -1, -1}), std::nullopt);

    tree.Select({0, -1, -1});
    EXPECT_EQ(tree.CurrentLayer(), nullptr);
    // A hint naming a patch selects it when the tree rebuilds.
    AddPatch(9);
    doc.UpdateAllViews(nullptr, 9);
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(9));
    doc.RemoveView(&form);
}

TEST_F(PatchTreeModelTest, NewPatchSearchesUpThenDownForAFreeNumber) {
    tree.InitialUpdate();
    EXPECT_TRUE(tree.NewPatch()); // an empty bank, nothing selected
    EXPECT_EQ(Texts(tree.Items()), (Strings{"0:0 New Patch"}));
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(0));
    EXPECT_TRUE(doc.IsModified());

    for (std::uint16_t n = 5; n < 128; ++n)
        AddPatch(n);
    doc.UpdateAllViews(nullptr, 5);
    EXPECT_TRUE(tree.NewPatch());
    ASSERT_NE(doc.FindPatch(4), nullptr);
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(4));
    EXPECT_EQ(tree.Selection(), (TreePath{1, -1, -1})); // between 0 and 5

    for (std::uint16_t n = 1; n < 4; ++n)
        AddPatch(n);
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_FALSE(tree.NewPatch());
    EXPECT_EQ(ui.Messages(), Strings{"All 128 patch numbers are in use"});
}

TEST_F(PatchTreeModelTest, AddLayerGoesFirstUnderAPatchAndAfterTheSelectedLayer) {
    AddLayer("Split", {{0, 127, "A"}});
    CPatch& patch = AddPatch(1, {"One", "Two"});
    tree.InitialUpdate();

    tree.Select({0, -1, -1});
    ui.QueueDialog<SelectLayerValues>(SelectLayerValues{{}, "Split"});
    EXPECT_TRUE(tree.AddLayer());
    EXPECT_EQ(LayerNames(patch), (Strings{"Split", "One", "Two"}));
    EXPECT_EQ(tree.CurrentLayer(), patch.m_layers[0].get());
    EXPECT_EQ(Texts(tree.Items()[0].children[0].children), Strings{"2:A"});
    EXPECT_TRUE(doc.IsModified());

    tree.Select({0, 1, -1}); // "One", the second layer: the new one becomes the third
    ui.QueueDialog<SelectLayerValues>(SelectLayerValues{{}, "Three"});
    EXPECT_TRUE(tree.AddLayer());
    EXPECT_EQ(LayerNames(patch), (Strings{"Split", "One", "Three", "Two"}));
    EXPECT_EQ(Texts(tree.Items()[0].children), (Strings{"1:Split", "4:One", "4:Three", "4:Two"}));
    EXPECT_EQ(tree.Selection(), (TreePath{0, 2, -1}));

    // Cancel changes nothing; the dialog lists the library's layers.
    ui.QueueDialog<SelectLayerValues>(std::nullopt);
    EXPECT_FALSE(tree.AddLayer());
    EXPECT_EQ(patch.m_layers.size(), 4u);
    EXPECT_TRUE(ui.AllAnswersUsed());
}

TEST_F(PatchTreeModelTest, DeleteObjectRemovesWithoutAskingAndSelectsANeighbour) {
    CPatch& patch = AddPatch(1, {"One", "Two"});
    AddPatch(2);
    doc.AddView(&form);
    tree.InitialUpdate();
    tree.Select({0, 1, -1});
    EXPECT_TRUE(tree.DeleteObject());
    EXPECT_EQ(LayerNames(patch), Strings{"One"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(tree.CurrentLayer(), patch.m_layers[0].get()); // never the deleted one

    tree.Select({0, -1, -1});
    int before = form.updates;
    EXPECT_TRUE(tree.DeleteObject());
    EXPECT_EQ(doc.FindPatch(1), nullptr);
    EXPECT_EQ(Texts(tree.Items()), Strings{"0:2 New Patch"});
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(2));
    EXPECT_GT(form.updates, before);
    EXPECT_TRUE(ui.Events().empty()); // no question

    EXPECT_TRUE(tree.DeleteObject());
    EXPECT_EQ(tree.CurrentPatch(), nullptr);
    EXPECT_FALSE(tree.CanAddLayer());
    EXPECT_FALSE(tree.DeleteObject());
    doc.RemoveView(&form);
}

TEST_F(PatchTreeModelTest, ReplaceLayerRenamesTheLayerAndShowsItsSamples) {
    AddLayer("Split", {{0, 59, "A"}, {60, 127, "B"}});
    CPatch& patch = AddPatch(1, {"Old"});
    tree.InitialUpdate();
    tree.Select({0, -1, -1});
    EXPECT_FALSE(tree.CanReplaceLayer()); // a patch is no layer
    tree.Select({0, 0, -1});
    ui.QueueDialog<SelectLayerValues>(SelectLayerValues{{}, "Split"});
    EXPECT_TRUE(tree.ReplaceLayer());
    EXPECT_EQ(patch.m_layers[0]->m_strLayerName, "Split");
    EXPECT_EQ(Texts(tree.Items()[0].children), Strings{"1:Split"});
    EXPECT_EQ(Texts(tree.Items()[0].children[0].children), (Strings{"2:A", "2:B"}));
    EXPECT_TRUE(doc.IsModified());

    // OK with nothing chosen names no layer: the tree shows it missing.
    ui.QueueDialog<SelectLayerValues>(SelectLayerValues{});
    EXPECT_TRUE(tree.ReplaceLayer());
    EXPECT_EQ(Texts(tree.Items()[0].children), Strings{"4:"});
    EXPECT_EQ(ui.Messages(), Strings{"Internal error: layer not found"});
}
