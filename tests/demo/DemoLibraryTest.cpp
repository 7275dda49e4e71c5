// The demo the build places beside the programs, read back through the documents the editor uses.
#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <set>

namespace {
const std::string kLibrary = WLOE_DEMO_DIR "/Wl.lay";
const std::string kBank = WLOE_DEMO_DIR "/demo.pat";

// "Pad C4" -> "C4", "Bass E2" -> "E2": the note an entry's name ends with.
std::string NoteOfName(const std::string& name) {
    return name.substr(name.rfind(' ') + 1);
}

// "C 4 +0.00" -> "C4", "C#4 -3.00" -> "C#4".
std::string NoteOfPitch(double hz) {
    std::string text = CSampleDoc::PitchText(hz).substr(0, 3);
    std::erase(text, ' ');
    return text;
}
} // namespace

TEST(DemoLibrary, EveryMappedKeyLoadsALoopedSampleAtThePitchItsNameSays) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CLayerDoc library;
    ASSERT_TRUE(library.OnOpenDocument(kLibrary)) << ::testing::PrintToString(ui.Messages());

    std::set<std::string> mapped;
    int layers = 0;
    library.Layers().ForEachInOrderAdded(
        [&](const std::string& layerName, const std::unique_ptr<CLayer>& layer) {
            ++layers;
            EXPECT_FALSE(layer->m_keys.Empty()) << layerName;
            layer->m_keys.ForEachInOrderAdded([&](std::uint16_t key, CSample*) {
                CSample* entry = library.GetSampleDocument(*layer, key);
                ASSERT_NE(entry, nullptr) << layerName << " key " << key;
                ASSERT_NE(entry->GetDocument(), nullptr) << entry->m_strName;
                const CSampleDoc& sample = *entry->GetDocument();
                EXPECT_GT(sample.m_nLoopLength, 0u) << entry->m_strName;
                EXPECT_LE(std::uint64_t{sample.m_nLoopStart} + sample.m_nLoopLength, sample.m_nFrames)
                    << entry->m_strName;
                EXPECT_EQ(NoteOfPitch(sample.m_dPitch), NoteOfName(entry->m_strName)) << sample.m_dPitch;
                mapped.insert(entry->m_strName);
            });
        });
    EXPECT_GE(layers, 2);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{});

    // No entry sits in the library unused.
    library.Samples().ForEachInOrderAdded([&](const std::string& name, const std::unique_ptr<CSample>&) {
        EXPECT_TRUE(mapped.contains(name)) << name;
    });
}

TEST(DemoBank, EveryPatchNamesLayersTheLibraryHoldsAndEachCrossfadeHasALayerToHandOverTo) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CLayerDoc library;
    ASSERT_TRUE(library.OnOpenDocument(kLibrary));
    CPatchDoc bank;
    ASSERT_TRUE(bank.OnOpenDocument(kBank)) << ::testing::PrintToString(ui.Messages());

    ASSERT_FALSE(bank.GetLoadOrder().empty());
    int crossfades = 0;
    for (std::uint16_t number : bank.GetLoadOrder()) {
        const CPatch* patch = bank.FindPatch(number);
        ASSERT_NE(patch, nullptr) << number;
        EXPECT_FALSE(patch->m_layers.empty()) << patch->m_strName;
        for (std::size_t i = 0; i < patch->m_layers.size(); ++i) {
            const CLayerParams& layer = *patch->m_layers[i];
            EXPECT_NE(library.FindLayer(layer.m_strLayerName), nullptr)
                << patch->m_strName << ": " << layer.m_strLayerName;
            if (layer.m_xfade.m_nCenter != 0) {
                ++crossfades;
                EXPECT_LT(i + 1, patch->m_layers.size())
                    << patch->m_strName << ": a crossfade on the last layer";
            }
        }
    }
    EXPECT_GT(crossfades, 0);
}
