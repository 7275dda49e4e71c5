#include "ui/patch/PatchFormModel.h"

#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "testing/FakeAudioDevice.h"
#include "ui/patch/PatchTreeModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;
using Action = CPatchFormModel::SliderAction;

class PatchFormModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddLayer("Pad", 500);
        CPatch& first = AddPatch(3, "Warm");
        first.m_layers.push_back(std::make_unique<CLayerParams>());
        first.m_layers.back()->m_strLayerName = "Pad";
        AddPatch(8, "Bright");
        doc.SetModifiedFlag(false);
        tree.InitialUpdate();
    }
    // A layer playing a WAV of 100 values of `value` at A 4 on every key.
    void SaveSample(const std::string& name, std::int16_t value) {
        auto sample = std::make_unique<CSampleDoc>();
        auto data = std::make_unique<std::int16_t[]>(100);
        std::fill(data.get(), data.get() + 100, value);
        sample->SetData(std::move(data), 100, 44100);
        sample->m_dPitch = 440.0;
        ASSERT_TRUE(sample->OnSaveDocument(dir.File(name + ".wav")));
    }
    void AddLayer(const std::string& name, std::int16_t value) {
        SaveSample(name, value);
        auto entry = std::make_unique<CSample>();
        entry->m_strPath = dir.File(name + ".wav");
        auto layer = std::make_unique<CLayer>();
        for (std::uint16_t key = 0; key <= kHighestKey; ++key)
            layer->m_keys.Set(key, entry.get());
        library.AddSample(name, std::move(entry));
        library.SetLayer(name, std::move(layer));
    }
    CPatch& AddPatch(std::uint16_t number, const std::string& name) {
        auto patch = std::make_unique<CPatch>();
        patch->m_strName = name;
        return doc.SetPatch(number, std::move(patch));
    }

    TempDir dir;
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

TEST_F(PatchFormModelTest, UpdateShowsTheCurrentPatchAndLayer) {
    // The first patch's first layer is selected at first.
    EXPECT_TRUE(form.GetBoxes().enabled);
    EXPECT_EQ(form.GetBoxes().number, 3);
    EXPECT_EQ(form.GetBoxes().name, "Warm");
    EXPECT_TRUE(form.IsLayerShown());
    EXPECT_EQ(form.LayerText(), "Warm -> Pad");
    EXPECT_EQ(form.Sheet().EditedLayer(), doc.FindPatch(3)->m_layers[0].get());

    tree.Select({1, -1, -1});
    EXPECT_EQ(form.GetBoxes().name, "Bright");
    EXPECT_FALSE(form.IsLayerShown());
    EXPECT_EQ(form.Sheet().EditedLayer(), nullptr);
    EXPECT_FALSE(form.Sheet().ApplyPages()); // nothing to apply to

    tree.Select({});
    EXPECT_FALSE(form.GetBoxes().enabled);
    EXPECT_FALSE(form.Apply(1, "x", 0));
}

TEST_F(PatchFormModelTest, ApplyRenumbersToAFreeNumberAndRefusesAUsedOne) {
    tree.Select({0, -1, -1});
    EXPECT_TRUE(form.Apply(20, "Warmer", -3));
    EXPECT_EQ(doc.FindPatch(3), nullptr);
    ASSERT_NE(doc.FindPatch(20), nullptr);
    EXPECT_EQ(doc.FindPatch(20)->m_strName, "Warmer");
    EXPECT_EQ(doc.FindPatch(20)->m_nMasterLevel, -3);
    EXPECT_EQ(doc.FindPatch(20)->m_layers.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    // The tree shows and selects the moved patch.
    EXPECT_EQ(tree.Items()[1].text, "20 Warmer");
    EXPECT_EQ(tree.CurrentPatch(), doc.FindPatch(20));
    EXPECT_EQ(form.GetBoxes().number, 20);

    EXPECT_FALSE(form.Apply(8, "Clash", 5));
    EXPECT_EQ(ui.Messages(), Strings{"Can't change to that patch number because it's in use."});
    EXPECT_EQ(doc.FindPatch(8)->m_strName, "Bright");
    EXPECT_EQ(doc.FindPatch(20)->m_strName, "Warmer");
}

TEST_F(PatchFormModelTest, SlidersStepAndPageWithinOneTo127) {
    EXPECT_EQ(form.Pitch(), 64);
    EXPECT_EQ(form.PitchText(), "E 4");
    EXPECT_EQ(CPatchFormModel::SliderValue(5, Action::PageDown, 0, 12), 1);
    EXPECT_EQ(CPatchFormModel::SliderValue(120, Action::PageUp, 0, 10), 127);
    EXPECT_EQ(CPatchFormModel::SliderValue(1, Action::LineDown, 0, 12), 1);
    EXPECT_EQ(CPatchFormModel::SliderValue(50, Action::Thumb, 300, 12), 127);
    EXPECT_EQ(CPatchFormModel::SliderValue(50, Action::Other, 3, 12), 50);
    form.OnPitchSlider(Action::PageUp, 0);
    form.OnPitchSlider(Action::LineUp, 0);
    EXPECT_EQ(form.Pitch(), 77);
    form.OnVelocitySlider(Action::PageUp, 0);
    form.OnVelocitySlider(Action::PageUp, 0);
    form.OnVelocitySlider(Action::PageUp, 0);
    EXPECT_EQ(form.Velocity(), 127);
}

TEST_F(PatchFormModelTest, PlayReusesTheVoicesUntilThePitchOrTheDocumentViewsChange) {
    ASSERT_TRUE(form.Play());
    EXPECT_EQ(form.Audition().PreparedVoices(), 1);
    ASSERT_EQ(device.WrittenHistory().size(), 1u);
    EXPECT_EQ(device.WrittenHistory()[0].nBytes, kVoiceFrames * 2);
    EXPECT_EQ(device.Format().nChannels, 1);

    // Only the prepared voice can still sound once its file is gone.
    library.ReleaseAll();
    std::filesystem::remove(dir.File("Pad.wav"));
    ASSERT_TRUE(form.Play());
    EXPECT_EQ(form.Audition().PreparedVoices(), 1);
    EXPECT_NE(form.Audition().Buffer()[0], 0);

    // Any update of the views prepares afresh, even at the same pitch: the file is missing now.
    tree.Select({0, 0, -1});
    form.Play();
    EXPECT_EQ(form.Audition().PreparedVoices(), 0);
    EXPECT_FALSE(ui.Messages().empty());

    // So does another pitch, once the file is back.
    SaveSample("Pad", 700);
    form.Play();
    EXPECT_EQ(form.Audition().PreparedVoices(), 0); // the same pitch: the empty voices stay
    form.OnPitchSlider(Action::LineUp, 0);
    form.Play();
    EXPECT_EQ(form.Audition().PreparedVoices(), 1);

    tree.Select({});
    EXPECT_FALSE(form.Play()); // no patch, nothing plays
}

TEST_F(PatchFormModelTest, SheetApplyMarksModifiedAndResetRestores) {
    CLayerParams& params = *doc.FindPatch(3)->m_layers[0];
    form.Sheet().m_envelope.m_nRelease = 777;
    EXPECT_TRUE(form.ApplySheet());
    EXPECT_EQ(params.m_envelope.GetRelease(), 777);
    EXPECT_TRUE(form.IsResetEnabled());
    EXPECT_TRUE(doc.IsModified());
    form.ResetSheet();
    EXPECT_EQ(params.m_envelope.GetRelease(), 0);
    EXPECT_EQ(form.Sheet().m_envelope.m_nRelease, 0);
    EXPECT_FALSE(form.IsResetEnabled());
}
