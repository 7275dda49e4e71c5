#include "ui/layer/LayerFormModel.h"
#include "layer/LayerDialogs.h"
#include "layer/LayerDoc.h"
#include "platform/ScriptedUi.h"
#include "platform/Settings.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"
#include "testing/FakeAudioDevice.h"
#include "ui/layer/KeyboardLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using Names = std::vector<std::string>;

// A point on a key: high for black keys, low for white ones.
std::pair<int, int> On(std::uint16_t key) {
    SurfaceRect rect = KeyRect(key);
    return {(rect.left + rect.right) / 2, IsBlackKey(key) ? 25 : 55};
}

class LayerFormModelTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(ui.AllAnswersUsed()) << "an answer was left unasked"; }

    CSample* AddSample(const std::string& name, const std::string& path = "") {
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = path;
        CSample* entry = sample.get();
        doc.AddSample(name, std::move(sample));
        return entry;
    }
    CLayer* AddLayer(const std::string& name, std::initializer_list<std::pair<std::uint16_t, CSample*>> keys,
                     std::int32_t level = 0) {
        auto layer = std::make_unique<CLayer>();
        for (auto [key, sample] : keys)
            layer->m_keys.Set(key, sample);
        layer->m_nLevel = level;
        CLayer* added = layer.get();
        doc.SetLayer(name, std::move(layer));
        return added;
    }
    // A mono 440 Hz sine of `frames` frames at 44100 Hz, pitched at A 4.
    std::string WriteTone(const std::string& name, std::uint32_t frames) {
        std::vector<std::int16_t> values(frames);
        for (std::uint32_t i = 0; i < frames; ++i)
            values[i] = static_cast<std::int16_t>(10000 * std::sin(i * 2 * M_PI * 440.0 / 44100));
        WavBuilder::Info info;
        info.length = frames;
        std::string path = dir.File(name);
        WavBuilder().Fmt(1, 44100).Velo(info).Data(values).WriteTo(path);
        return path;
    }
    void Click(std::uint16_t key) {
        auto [x, y] = On(key);
        model.LeftButtonDown(x, y);
    }
    void SelectSampleNamed(const std::string& name) {
        const Names& names = model.SampleNames();
        model.SelectSample(static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
    }
    void SelectLayerNamed(const std::string& name) {
        const Names& names = model.LayerNames();
        model.SelectLayer(static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
    }
    void Type(const std::string& level, const std::string& transpose = "0", const std::string& comment = "") {
        LayerBoxes boxes = model.Boxes();
        boxes.level = level;
        boxes.transpose = transpose;
        boxes.comment = comment;
        model.EditBoxes(boxes);
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi uiScope{ui};
    FakeAudioDevice device;
    ScopedAudioDevice deviceScope{device};
    MemorySettings settings;
    ScopedSettings settingsScope{settings};
    CLayerDoc doc;
    CLayerFormModel model{doc};
};
} // namespace

TEST_F(LayerFormModelTest, OpensOnTheFirstLayerInCaseBlindOrderOrMakesAnEmptyOne) {
    CSample* flute = AddSample("flute");
    AddSample("Bass");
    AddSample("oboe");
    AddLayer("strings", {{60, flute}});
    AddLayer("Brass", {}, -6);
    doc.SetModifiedFlag(false);
    model.InitialUpdate();
    EXPECT_EQ(model.SampleNames(), (Names{"Bass", "flute", "oboe"}));
    EXPECT_EQ(model.LayerNames(), (Names{"Brass", "strings"}));
    EXPECT_EQ(model.SelectedLayer(), 0);
    EXPECT_EQ(model.CurrentName(), "Brass");
    EXPECT_EQ(model.Boxes(), (LayerBoxes{"-6", "0", false, ""}));
    EXPECT_FALSE(model.IsDirty());
    EXPECT_EQ(model.CacheText(), "0");
    EXPECT_EQ(model.SelectedSample(), -1);
    EXPECT_FALSE(doc.IsModified());

    CLayerDoc empty;
    CLayerFormModel view(empty);
    view.InitialUpdate();
    EXPECT_EQ(view.LayerNames(), (Names{"Empty Layer"}));
    EXPECT_EQ(view.CurrentName(), "Empty Layer");
    EXPECT_TRUE(empty.FindLayer("Empty Layer"));
    EXPECT_TRUE(empty.IsModified());
}

TEST_F(LayerFormModelTest, ClicksMapTheSelectedEntryDoubleClicksUnmapAndThePointerNamesTheEntry) {
    CSample* flute = AddSample("flute");
    CLayer* stored = AddLayer("L", {});
    model.InitialUpdate();

    Click(60); // nothing selected: nothing
    EXPECT_TRUE(model.WorkingCopy().m_keys.Empty());
    EXPECT_FALSE(model.IsDirty());

    SelectSampleNamed("flute");
    Click(60);
    Click(61);
    EXPECT_EQ(model.WorkingCopy().LookupSample(60), flute);
    EXPECT_EQ(model.WorkingCopy().LookupSample(61), flute);
    EXPECT_TRUE(model.IsDirty());
    EXPECT_TRUE(stored->m_keys.Empty()) << "the stored layer waits for Save";

    auto [x, y] = On(61);
    EXPECT_TRUE(model.MouseMove(x, y));
    EXPECT_EQ(model.NameField(), "flute");
    EXPECT_FALSE(model.MouseMove(x, y - 1));
    auto [x62, y62] = On(62);
    EXPECT_TRUE(model.MouseMove(x62, y62));
    EXPECT_EQ(model.NameField(), "");

    // A double-click: the first press maps the key, the double-click removes it.
    auto [x64, y64] = On(64);
    model.LeftButtonDown(x64, y64);
    EXPECT_TRUE(model.LeftDoubleClick(x64, y64));
    EXPECT_FALSE(model.WorkingCopy().LookupSample(64));
    EXPECT_FALSE(model.LeftDoubleClick(5, 5)) << "off the keys";

    // The selected name lost behind the view's back.
    doc.RenameSample("flute", "piccolo");
    Click(70);
    EXPECT_EQ(ui.Messages(), Names{"Internal error: can find that sample by name"});
    EXPECT_FALSE(model.WorkingCopy().LookupSample(70));
}

TEST_F(LayerFormModelTest, SaveWritesBoxesAndKeysBackResetTakesTheStoredLayerAgain) {
    CSample* flute = AddSample("flute");
    CLayer* stored = AddLayer("L", {{10, flute}});
    model.InitialUpdate();
    doc.SetModifiedFlag(false);
    SelectSampleNamed("flute");
    Click(20);
    Type("-12", "+5", "soft");
    EXPECT_TRUE(model.IsDirty());
    model.OnSave();
    EXPECT_FALSE(model.IsDirty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(stored->m_nLevel, -12);
    EXPECT_EQ(stored->m_nTranspose, 5);
    EXPECT_EQ(stored->m_strComment, "soft");
    EXPECT_EQ(stored->LookupSample(20), flute);

    Type("3");
    Click(30);
    model.OnReset();
    EXPECT_FALSE(model.IsDirty());
    EXPECT_EQ(model.Boxes(), (LayerBoxes{"-12", "5", false, "soft"}));
    EXPECT_FALSE(model.WorkingCopy().LookupSample(30));

    model.OnClearLayer();
    EXPECT_TRUE(model.IsDirty()) << "a cleared layer is a change to keep or drop";
    EXPECT_EQ(model.Boxes(), (LayerBoxes{"0", "0", false, ""}));
    EXPECT_TRUE(model.WorkingCopy().m_keys.Empty());
    EXPECT_EQ(stored->m_nLevel, -12);

    // The stored layer gone behind the view's back.
    doc.DeleteLayer("L");
    model.OnSave();
    EXPECT_EQ(ui.Messages(), Names{"Internal error: can't find old layer"});
    EXPECT_TRUE(model.IsDirty());
}

TEST_F(LayerFormModelTest, BoxesOutOfRangeAreReportedAndTakenAsEntered) {
    CLayer* stored = AddLayer("L", {}, -3);
    stored->m_nTranspose = 2;
    model.InitialUpdate();
    Type("95", "-200");
    model.OnSave();
    EXPECT_EQ(ui.Messages(), Names{"Please enter an integer between -90 and 90."}) << "one message a read";
    EXPECT_EQ(stored->m_nLevel, 95);
    EXPECT_EQ(stored->m_nTranspose, -200);

    // What is no number, or too big for the file's 16 bits, leaves the value as it was.
    Type("loud", "70000");
    model.OnSave();
    EXPECT_EQ(ui.Messages().back(), "Please enter an integer.");
    EXPECT_EQ(stored->m_nLevel, 95);
    EXPECT_EQ(stored->m_nTranspose, -200);
}

TEST_F(LayerFormModelTest, SwitchingLayersAsksToKeepChanges) {
    CSample* flute = AddSample("flute");
    CLayer* a = AddLayer("A", {});
    CLayer* b = AddLayer("B", {{1, flute}}, -9);
    model.InitialUpdate();
    SelectSampleNamed("flute");

    // Unchanged: no question.
    SelectLayerNamed("B");
    EXPECT_EQ(model.CurrentName(), "B");
    EXPECT_EQ(model.Boxes().level, "-9");
    EXPECT_TRUE(ui.Questions().empty());

    // Yes stores the changes, then switches.
    Click(5);
    ui.QueueAnswer(Answer::Yes);
    SelectLayerNamed("A");
    EXPECT_EQ(ui.Questions(), Names{"Save changes to B?"});
    EXPECT_EQ(b->LookupSample(5), flute);
    EXPECT_EQ(model.CurrentName(), "A");
    EXPECT_FALSE(model.IsDirty());

    // No drops them.
    Click(7);
    Type("4");
    ui.QueueAnswer(Answer::No);
    SelectLayerNamed("B");
    EXPECT_FALSE(a->LookupSample(7));
    EXPECT_EQ(a->m_nLevel, 0);
    EXPECT_EQ(model.CurrentName(), "B");
    EXPECT_FALSE(model.IsDirty());

    // Yes with the old layer gone: no switch, the changes stay.
    Click(9);
    doc.DeleteLayer("B");
    ui.QueueAnswer(Answer::Yes);
    SelectLayerNamed("A");
    EXPECT_EQ(ui.Messages(), Names{"Internal error: can't find old layer"});
    EXPECT_EQ(model.CurrentName(), "B");
    EXPECT_TRUE(model.IsDirty());
}

TEST_F(LayerFormModelTest, SaveAsStoresANewLayerOrOverwritesAfterAsking) {
    CSample* flute = AddSample("flute");
    CLayer* a = AddLayer("A", {});
    CLayer* b = AddLayer("B", {{3, flute}});
    model.InitialUpdate();
    SelectSampleNamed("flute");

    // A new name: a new layer, which the view goes on editing.
    Click(40);
    Type("-1");
    ui.QueueDialog<LayerNameValues>(LayerNameValues{"Copy"});
    model.OnSaveAs();
    EXPECT_EQ(ui.LastDialogRequest<LayerNameValues>()->name, "A") << "preset to the current name";
    CLayer* copy = doc.FindLayer("Copy");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->LookupSample(40), flute);
    EXPECT_EQ(copy->m_nLevel, -1);
    EXPECT_TRUE(a->m_keys.Empty());
    EXPECT_EQ(model.LayerNames(), (Names{"A", "B", "Copy"}));
    EXPECT_EQ(model.SelectedLayer(), 2);
    EXPECT_EQ(model.CurrentName(), "Copy");
    EXPECT_FALSE(model.IsDirty());

    // Another layer's name: asked; No stores nothing.
    Click(41);
    ui.QueueDialog<LayerNameValues>(LayerNameValues{"B"});
    ui.QueueAnswer(Answer::No);
    model.OnSaveAs();
    EXPECT_EQ(ui.Questions(), Names{"That layer exists: overwrite?"});
    EXPECT_FALSE(b->LookupSample(41));
    EXPECT_TRUE(model.IsDirty());

    // Yes overwrites it; the view still edits "Copy".
    ui.QueueDialog<LayerNameValues>(LayerNameValues{"B"});
    ui.QueueAnswer(Answer::Yes);
    model.OnSaveAs();
    EXPECT_EQ(b->LookupSample(41), flute);
    EXPECT_FALSE(b->LookupSample(3));
    EXPECT_FALSE(copy->LookupSample(41));
    EXPECT_EQ(model.CurrentName(), "Copy");
    EXPECT_EQ(model.SelectedLayer(), 2);
    EXPECT_FALSE(model.IsDirty());

    // Its own name needs no question; Cancel does nothing.
    Click(42);
    ui.QueueDialog<LayerNameValues>(LayerNameValues{"Copy"});
    model.OnSaveAs();
    EXPECT_EQ(copy->LookupSample(42), flute);
    EXPECT_EQ(ui.Questions().size(), 2u);
    ui.QueueDialog<LayerNameValues>(std::nullopt);
    model.OnSaveAs();
    EXPECT_EQ(doc.Layers().Size(), 3u);
}

TEST_F(LayerFormModelTest, DeletingALayerMovesUpAndTheLastLeavesAnEmptyLayer) {
    CSample* flute = AddSample("flute");
    AddLayer("A", {{1, flute}});
    AddLayer("B", {{2, flute}});
    AddLayer("C", {{3, flute}});
    model.InitialUpdate();
    SelectLayerNamed("C");
    SelectSampleNamed("flute");
    Click(50);
    model.OnDeleteLayer();
    EXPECT_EQ(model.LayerNames(), (Names{"A", "B"}));
    EXPECT_EQ(model.CurrentName(), "B");
    EXPECT_EQ(model.WorkingCopy().LookupSample(2), flute);
    EXPECT_FALSE(model.IsDirty()) << "the deleted layer's changes went with it";
    SelectLayerNamed("A");
    model.OnDeleteLayer(); // the first item: the new first one follows
    EXPECT_EQ(model.CurrentName(), "B");
    doc.SetModifiedFlag(false);
    model.OnDeleteLayer();
    EXPECT_EQ(model.LayerNames(), (Names{"Empty Layer"}));
    EXPECT_EQ(model.SelectedLayer(), 0);
    EXPECT_TRUE(model.WorkingCopy().m_keys.Empty());
    ASSERT_TRUE(doc.FindLayer("Empty Layer"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.Questions().empty()) << "no confirmation";
}

TEST_F(LayerFormModelTest, LayersGoneBehindTheListsBackAreInternalErrors) {
    AddLayer("A", {});
    AddLayer("B", {});
    AddLayer("C", {});
    model.InitialUpdate();
    doc.DeleteLayer("B");
    model.SelectLayer(1);
    EXPECT_EQ(ui.Messages(), Names{"Internal error: can't find layer"});
    EXPECT_EQ(model.CurrentName(), "A");
    SelectLayerNamed("C");
    model.OnDeleteLayer(); // B comes up next, but is gone
    EXPECT_EQ(ui.Messages().back(), "Internal error: can't find new layer");
    EXPECT_FALSE(doc.FindLayer("C"));
    EXPECT_EQ(model.LayerNames(), (Names{"A", "B"}));
}

TEST_F(LayerFormModelTest, NewSampleInsistsOnAFreshNameKeepingWhatWasTyped) {
    AddSample("flute");
    model.InitialUpdate();
    doc.SetModifiedFlag(false);
    SampleItemValues typed{"flute", "/s/oboe.wav", true, -4, true};
    ui.QueueDialog<SampleItemValues>(typed);
    SampleItemValues unnamed = typed;
    unnamed.name = "";
    ui.QueueDialog<SampleItemValues>(unnamed);
    SampleItemValues fine = typed;
    fine.name = "oboe";
    ui.QueueDialog<SampleItemValues>(fine);
    model.OnNewSample();
    EXPECT_EQ(ui.Messages(),
              (Names{"There is already a sample with that name", "You must give the sample a name"}));
    // The last showing came back with the values typed before it.
    const SampleItemValues* shown = ui.LastDialogRequest<SampleItemValues>();
    ASSERT_TRUE(shown);
    EXPECT_EQ(std::tuple(shown->name, shown->path, shown->fixedPitch, shown->level, shown->ignoreKeyUp),
              std::tuple("", "/s/oboe.wav", true, -4, true));
    CSample* oboe = doc.FindSample("oboe");
    ASSERT_TRUE(oboe);
    EXPECT_EQ(oboe->m_strPath, "/s/oboe.wav");
    EXPECT_FALSE(oboe->m_bTracksPitch);
    EXPECT_TRUE(oboe->m_bIgnoreKeyUp);
    EXPECT_EQ(oboe->m_nLevel, -4);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(model.SampleNames(), (Names{"flute", "oboe"}));
    EXPECT_EQ(model.SelectedSample(), 1);

    ui.QueueDialog<SampleItemValues>(std::nullopt);
    model.OnNewSample();
    EXPECT_EQ(doc.Samples().Size(), 2u);
}

TEST_F(LayerFormModelTest, EditChangesTheEntryAndItsNameEvenInCaseOnly) {
    CSample* flute = AddSample("flute", "a.wav");
    AddSample("Oboe");
    model.InitialUpdate();
    model.OnEditSample(); // nothing selected
    SelectSampleNamed("flute");
    doc.SetModifiedFlag(false);
    ui.QueueDialog<SampleItemValues>(SampleItemValues{"Flute", "b.wav", true, 7, true});
    model.OnEditSample();
    const SampleItemValues& shown = *ui.LastDialogRequest<SampleItemValues>();
    EXPECT_EQ(std::tuple(shown.name, shown.path, shown.fixedPitch, shown.level, shown.ignoreKeyUp),
              std::tuple("flute", "a.wav", false, 0, false));
    EXPECT_EQ(doc.FindSample("Flute"), flute);
    EXPECT_FALSE(doc.FindSample("flute"));
    EXPECT_EQ(flute->m_strPath, "b.wav");
    EXPECT_FALSE(flute->m_bTracksPitch);
    EXPECT_EQ(flute->m_nLevel, 7);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(model.SampleNames(), (Names{"Flute", "Oboe"}));
    EXPECT_EQ(model.SelectedSample(), 0);

    // Another entry's name: said, and nothing changes.
    ui.QueueDialog<SampleItemValues>(SampleItemValues{"Oboe", "c.wav", false, 0, false});
    model.OnEditSample();
    EXPECT_EQ(ui.Messages(), Names{"The name \"Oboe\" is already in use"});
    EXPECT_EQ(flute->m_strPath, "b.wav");

    doc.RenameSample("Flute", "x");
    model.OnEditSample();
    EXPECT_EQ(ui.Messages().back(), "Internal error: can't find that sample");
}

TEST_F(LayerFormModelTest, DeletingASampleUnmapsItFromTheWorkingCopyToo) {
    CSample* flute = AddSample("flute");
    CSample* oboe = AddSample("oboe");
    CLayer* stored = AddLayer("L", {{1, flute}, {2, oboe}});
    model.InitialUpdate();
    SelectSampleNamed("flute");
    Click(3); // unsaved
    ui.QueueAnswer(Answer::Cancel);
    model.OnDeleteSample();
    EXPECT_EQ(ui.Questions(), Names{"Unmap this sample from layer L?"});
    EXPECT_EQ(model.WorkingCopy().LookupSample(3), flute) << "cancelled";

    ui.QueueAnswer(Answer::Ok);
    model.OnDeleteSample();
    EXPECT_FALSE(doc.FindSample("flute"));
    EXPECT_EQ(model.SampleNames(), Names{"oboe"});
    EXPECT_EQ(model.SelectedSample(), -1);
    EXPECT_FALSE(model.WorkingCopy().LookupSample(1));
    EXPECT_FALSE(model.WorkingCopy().LookupSample(3));
    EXPECT_EQ(model.WorkingCopy().LookupSample(2), oboe);
    EXPECT_FALSE(stored->LookupSample(1));
}

TEST_F(LayerFormModelTest, TheDocumentsSavePromptOffersToKeepTheWorkingCopy) {
    CSample* flute = AddSample("flute");
    CLayer* stored = AddLayer("Pad", {});
    model.InitialUpdate();
    model.KeepChanges(); // clean: no question
    SelectSampleNamed("flute");
    Click(1);
    ui.QueueAnswer(Answer::No);
    model.KeepChanges();
    EXPECT_FALSE(model.IsDirty());
    EXPECT_TRUE(stored->m_keys.Empty());
    Click(2);
    ui.QueueAnswer(Answer::Yes);
    model.KeepChanges();
    EXPECT_EQ(stored->LookupSample(2), flute);
    EXPECT_FALSE(model.IsDirty());
    EXPECT_EQ(ui.Questions(), (Names{"Save changes to Pad?", "Save changes to Pad?"}));
}

TEST_F(LayerFormModelTest, AuditionPlaysTheKeysPreparedCopyAndKeepsIt) {
    CSample* tone = AddSample("tone", WriteTone("tone.wav", 1001));
    AddLayer("L", {{69, tone}, {81, tone}});
    model.InitialUpdate();

    auto [x69, y69] = On(69);
    model.RightButtonDown(x69, y69);
    ASSERT_TRUE(device.IsOpen());
    EXPECT_EQ(device.Format().nChannels, 1);
    EXPECT_EQ(device.Format().nSamplesPerSec, 44100u);
    ASSERT_EQ(device.WrittenHistory().size(), 1u);
    const CSampleDoc* unresampled = model.PreparedCopy(69);
    ASSERT_TRUE(unresampled);
    EXPECT_EQ(unresampled->m_nFrames, 1000u); // the sample's length less one
    EXPECT_EQ(device.WrittenHistory()[0].nBytes, 2000u);
    EXPECT_EQ(device.WrittenHistory()[0].pData, unresampled->m_pData.get());
    EXPECT_EQ(doc.LoadedBytes(), 2002u);
    EXPECT_EQ(model.PreparedBytes(), 4000u) << "four bytes a frame";
    EXPECT_EQ(model.CacheText(), "6002");
    model.RightButtonUp();
    EXPECT_FALSE(device.IsOpen());

    auto [x81, y81] = On(81);
    model.RightButtonDown(x81, y81);
    const CSampleDoc* octaveUp = model.PreparedCopy(81);
    ASSERT_TRUE(octaveUp);
    EXPECT_EQ(octaveUp->m_nFrames, 500u);
    EXPECT_EQ(device.WrittenHistory().back().nBytes, 1000u);
    EXPECT_EQ(model.CacheText(), "8002");

    // Again: the same copy, nothing loaded or prepared anew.
    model.RightButtonDown(x69, y69);
    EXPECT_EQ(model.PreparedCopy(69), unresampled);
    EXPECT_EQ(device.WrittenHistory().back().pData, unresampled->m_pData.get());
    EXPECT_EQ(model.CacheText(), "8002");

    // An unmapped key beeps; a key off the keyboard does nothing.
    auto [x70, y70] = On(70);
    model.RightButtonDown(x70, y70);
    model.RightButtonDown(900, 30);
    EXPECT_EQ(ui.Beeps(), 1);

    model.OnTrim();
    EXPECT_EQ(model.PreparedBytes(), 0u);
    EXPECT_FALSE(model.PreparedCopy(69));
    EXPECT_EQ(model.CacheText(), "2002");
    EXPECT_FALSE(device.IsOpen()) << "stopped before its copy went";
    model.OnClearCache();
    EXPECT_EQ(model.CacheText(), "0");
    EXPECT_EQ(doc.LoadedBytes(), 0u);
}

TEST_F(LayerFormModelTest, ACopyIsMadeAgainWhenItsKeyPlaysAnotherEntryOrNote) {
    CSample* tone = AddSample("tone", WriteTone("tone.wav", 1001));
    CSample* longer = AddSample("longer", WriteTone("longer.wav", 2001));
    AddLayer("L", {{69, tone}});
    model.InitialUpdate();
    auto [x, y] = On(69);
    model.RightButtonDown(x, y);
    EXPECT_EQ(model.PreparedCopy(69)->m_nFrames, 1000u);
    EXPECT_EQ(model.WorkingCopy().LookupSample(69), tone);

    SelectSampleNamed("longer");
    model.LeftButtonDown(x, y);
    EXPECT_FALSE(model.PreparedCopy(69));
    EXPECT_EQ(model.PreparedBytes(), 0u);
    model.RightButtonDown(x, y);
    EXPECT_EQ(model.PreparedCopy(69)->m_nFrames, 2000u);

    // Transposed an octave down: twice the frames.
    Type("0", "-12");
    model.OnSave();
    model.RightButtonDown(x, y);
    EXPECT_EQ(model.PreparedCopy(69)->m_nFrames, 4000u);
    EXPECT_EQ(model.PreparedBytes(), 16000u);
    EXPECT_EQ(model.WorkingCopy().LookupSample(69), longer);
}

TEST_F(LayerFormModelTest, SwitchingLayersDropsTheCacheAndClosingTheViewClosesTheDevice) {
    CSample* tone = AddSample("tone", WriteTone("tone.wav", 1001));
    AddLayer("A", {{69, tone}});
    AddLayer("B", {});
    {
        CLayerFormModel view(doc);
        view.InitialUpdate();
        auto [x, y] = On(69);
        view.RightButtonDown(x, y);
        EXPECT_EQ(view.CacheText(), "6002");
        view.SelectLayer(1);
        EXPECT_EQ(view.CacheText(), "0");
        EXPECT_EQ(doc.LoadedBytes(), 0u);
        EXPECT_FALSE(view.PreparedCopy(69));
        view.SelectLayer(0);
        view.RightButtonDown(x, y);
        EXPECT_TRUE(device.IsOpen());
    }
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Misuses(), 0);
}
