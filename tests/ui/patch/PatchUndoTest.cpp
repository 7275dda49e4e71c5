#include "archive/ObjectArchive.h"
#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "patch/SelectLayerValues.h"
#include "platform/ScriptedUi.h"
#include "testing/FakeAudioDevice.h"
#include "ui/patch/PatchFormModel.h"
#include "ui/patch/PatchTreeModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {
class PatchUndo : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Pad", "Lead", "Bass"})
            library.SetLayer(name, std::make_unique<CLayer>());
        for (std::uint16_t number : {3, 8, 20}) {
            auto patch = std::make_unique<CPatch>();
            patch->m_strName = "Patch " + std::to_string(number);
            patch->m_layers.push_back(std::make_unique<CLayerParams>());
            patch->m_layers.back()->m_strLayerName = "Pad";
            doc.SetPatch(number, std::move(patch));
        }
        doc.SetModifiedFlag(false);
        tree.InitialUpdate();
    }

    // The bytes of the patch file, as saving writes them.
    std::vector<std::uint8_t> Saved() {
        CObjectArchive ar;
        doc.Serialize(ar);
        return ar.Bytes();
    }
    void ChooseLayer(const std::string& name) {
        SelectLayerValues values;
        values.chosen = name;
        ui.QueueDialog(std::optional<SelectLayerValues>(values));
    }
    // Selects an item at random: a patch, or one of its layers.
    void SelectSomething(std::mt19937& random) {
        const auto& items = tree.Items();
        if (items.empty())
            return;
        const int patch = static_cast<int>(random() % items.size());
        const auto& layers = items[static_cast<std::size_t>(patch)].children;
        const int layer = layers.empty() || random() % 2 ? -1 : static_cast<int>(random() % layers.size());
        tree.Select({patch, layer, -1});
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    FakeAudioDevice device;
    ScopedAudioDevice deviceScope{device};
    CPatchDoc doc;
    CLayerDoc library;
    CPatchTreeModel tree{doc, library};
    CPatchFormModel form{doc, tree, library};
};
} // namespace

TEST_F(PatchUndo, UndoingARandomRunOfCommandsGivesBackTheFirstFileAndRedoingTheLast) {
    const char* layers[] = {"Pad", "Lead", "Bass"};
    const std::vector<std::function<void(std::mt19937&)>> commands = {
        [&](std::mt19937&) { tree.NewPatch(); },
        [&](std::mt19937& r) {
            if (tree.CanAddLayer())
                ChooseLayer(layers[r() % 3]);
            tree.AddLayer();
        },
        [&](std::mt19937&) { tree.DeleteObject(); },
        [&](std::mt19937& r) {
            if (tree.CanReplaceLayer())
                ChooseLayer(layers[r() % 3]);
            tree.ReplaceLayer();
        },
        [&](std::mt19937& r) {
            form.Apply(static_cast<std::uint16_t>(r() % 40), "Renamed " + std::to_string(r() % 10),
                       static_cast<std::int32_t>(r() % 127));
        },
        [&](std::mt19937& r) {
            if (!form.Sheet().EditedLayer())
                return;
            CXfade xfade;
            xfade.SetValues(static_cast<std::uint16_t>(r() % 100), 20, CXfade::kLinear);
            form.Sheet().m_xfade.LoadFrom(xfade);
            form.ApplySheet();
        },
    };
    std::mt19937 random(7);
    const std::vector<std::uint8_t> first = Saved();
    std::vector<std::vector<std::uint8_t>> states{first};
    for (int i = 0; i < 60; ++i) {
        SelectSomething(random);
        commands[random() % commands.size()](random);
        if (Saved() != states.back())
            states.push_back(Saved());
    }
    ASSERT_GT(states.size(), 20u);
    EXPECT_EQ(doc.History().Count(), states.size() - 1) << "one step for each change, none for the rest";
    EXPECT_TRUE(ui.AllAnswersUsed());
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(Saved(), states[i]);
        ASSERT_TRUE(doc.Undo());
        EXPECT_TRUE(tree.Items().empty() || tree.CurrentPatch()) << "the tree shows the restored bank";
    }
    EXPECT_EQ(Saved(), first);
    EXPECT_FALSE(doc.IsModified());
    while (doc.Redo()) {
    }
    EXPECT_EQ(Saved(), states.back());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PatchUndo, StepsAreNamedAndUndoSelectsThePatchTheyChanged) {
    tree.Select({1, -1, -1});
    ASSERT_TRUE(form.Apply(8, "Brighter", 90));
    EXPECT_EQ(doc.History().UndoName(), "Apply Patch Settings");
    ASSERT_TRUE(tree.NewPatch());
    EXPECT_EQ(doc.History().UndoName(), "New Patch");
    EXPECT_FALSE(form.Apply(3, "Taken", 1)) << "the number is another patch's";
    EXPECT_EQ(doc.History().UndoName(), "New Patch") << "a refused apply records nothing";

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.FindPatch(9), nullptr);
    ASSERT_TRUE(doc.Undo());
    ASSERT_NE(tree.CurrentPatch(), nullptr);
    EXPECT_EQ(tree.CurrentPatch()->m_nNumber, 8);
    EXPECT_EQ(form.GetBoxes().name, "Patch 8") << "the form shows the restored patch";
    EXPECT_EQ(doc.History().RedoName(), "Apply Patch Settings");
}
