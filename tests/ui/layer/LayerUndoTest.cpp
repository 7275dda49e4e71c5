#include "archive/ObjectArchive.h"
#include "layer/LayerDialogs.h"
#include "layer/LayerDoc.h"
#include "platform/ScriptedUi.h"
#include "testing/FakeAudioDevice.h"
#include "ui/layer/KeyboardLayout.h"
#include "ui/layer/LayerFormModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {
// What the layer window does when told of an undone or redone step.
class RestoringView : public CView {
public:
    explicit RestoringView(CLayerFormModel& model) : m_model(model) {}
    void OnUpdate(CView*, long hint) override {
        if (hint == CLayerDoc::kHistoryHint)
            m_model.OnDocumentRestored();
    }

private:
    CLayerFormModel& m_model;
};

class LayerUndo : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"flute", "oboe"}) {
            auto sample = std::make_unique<CSample>();
            sample->m_strPath = std::string("/samples/") + name + ".wav";
            doc.AddSample(name, std::move(sample));
        }
        auto layer = std::make_unique<CLayer>();
        layer->m_keys.Set(60, doc.FindSample("flute"));
        doc.SetLayer("Winds", std::move(layer));
        doc.SetModifiedFlag(false);
        model.InitialUpdate();
        doc.AddView(&view);
    }
    void TearDown() override { doc.RemoveView(&view); }

    std::vector<std::uint8_t> Saved() {
        CObjectArchive ar;
        doc.Serialize(ar);
        return ar.Bytes();
    }
    void ClickKey(std::uint16_t key) {
        SurfaceRect rect = KeyRect(key);
        model.LeftButtonDown((rect.left + rect.right) / 2, IsBlackKey(key) ? 25 : 55);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    FakeAudioDevice device;
    ScopedAudioDevice deviceScope{device};
    CLayerDoc doc;
    CLayerFormModel model{doc};
    RestoringView view{model};
};
} // namespace

TEST_F(LayerUndo, UndoingARandomRunOfCommandsGivesBackTheFirstFileAndRedoingTheLast) {
    const std::vector<std::function<void(std::mt19937&)>> commands = {
        [&](std::mt19937& r) {
            model.SelectSample(static_cast<int>(r() % model.SampleNames().size()));
            ClickKey(static_cast<std::uint16_t>(36 + r() % 48));
            model.OnSave();
        },
        [&](std::mt19937& r) {
            LayerBoxes boxes = model.Boxes();
            boxes.level = std::to_string(static_cast<int>(r() % 20) - 10);
            model.EditBoxes(boxes);
            model.OnSave();
        },
        [&](std::mt19937& r) {
            const std::string name = "Layer " + std::to_string(r() % 4);
            ui.QueueDialog(std::optional<LayerNameValues>(LayerNameValues{name}));
            model.OnSaveAs();
        },
        [&](std::mt19937&) { model.OnDeleteLayer(); },
        [&](std::mt19937& r) {
            ui.QueueDialog(std::optional<SampleItemValues>(
                SampleItemValues{"entry " + std::to_string(r()), "/x.wav", false, 3, false}));
            model.OnNewSample();
        },
        [&](std::mt19937& r) {
            model.SelectSample(static_cast<int>(r() % model.SampleNames().size()));
            ui.QueueDialog(std::optional<SampleItemValues>(
                SampleItemValues{model.SampleNames()[static_cast<std::size_t>(model.SelectedSample())],
                                 "/moved/" + std::to_string(r() % 9) + ".wav", r() % 2 == 0, -4, true}));
            model.OnEditSample();
        },
        [&](std::mt19937& r) {
            model.SelectSample(static_cast<int>(r() % model.SampleNames().size()));
            model.OnDeleteSample();
        },
        [&](std::mt19937& r) { model.SelectLayer(static_cast<int>(r() % model.LayerNames().size())); },
    };
    std::mt19937 random(11);
    const std::vector<std::uint8_t> first = Saved();
    std::vector<std::vector<std::uint8_t>> states{first};
    for (int i = 0; i < 60; ++i) {
        // Answers a question the command may ask (deleting a mapped entry) with Yes.
        ui.QueueAnswer(Answer::Yes);
        commands[random() % commands.size()](random);
        while (!ui.AllAnswersUsed())
            ui.Ask("drain", AskButtons::YesNo, MessageIcon::Question); // the answer nobody used goes
        if (Saved() != states.back())
            states.push_back(Saved());
    }
    ASSERT_GT(states.size(), 15u);
    EXPECT_EQ(doc.History().Count(), states.size() - 1);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_EQ(Saved(), states[i]);
        ASSERT_TRUE(doc.Undo());
        ASSERT_GE(model.SelectedLayer(), 0) << "the form shows a layer of the restored library";
    }
    EXPECT_EQ(Saved(), first);
    EXPECT_FALSE(doc.IsModified());
    while (doc.Redo()) {
    }
    EXPECT_EQ(Saved(), states.back());
}

TEST_F(LayerUndo, UndoingAKeyMappingSaveShowsTheLayerAsItWas) {
    model.SelectSample(1); // oboe
    ClickKey(62);
    model.OnSave();
    EXPECT_EQ(doc.History().UndoName(), "Save Layer");
    ClickKey(64); // unsaved
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(model.WorkingCopy().LookupSample(62), nullptr);
    EXPECT_EQ(model.WorkingCopy().LookupSample(64), nullptr) << "unsaved changes go with the undo";
    EXPECT_EQ(model.WorkingCopy().LookupSample(60), doc.FindSample("flute"))
        << "pointing into the restored library";
    EXPECT_FALSE(model.IsDirty());
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(model.WorkingCopy().LookupSample(62), doc.FindSample("oboe"));
}
