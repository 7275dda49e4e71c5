#include "layer/LayerLibrary.h"

#include "LayerFileBytes.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(LayerLibrary, LoadsSilentlyOrSaysWhyAndGivesAnEmptyLibrary) {
    TempDir dir;
    const std::string path = dir.File("Wl.lay");
    const std::string missing =
        "The layer file, " + path + ", is missing.  Layer names will not be available.";
    // One entry and a layer mapping key 60 through `reference`.
    auto library = [](std::uint16_t reference, std::uint16_t layerSchema = 1) {
        LayerFileBytes file;
        file.Word(1).Text("A").ClassRecord("CSample").SampleBody("a.wav");
        file.Word(1)
            .Text("L")
            .ClassRecord("CLayer", layerSchema)
            .LayerHead()
            .Word(1)
            .Word(60)
            .Word(reference);
        return file.Bytes();
    };
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {library(2), {}},
        {"", {missing}}, // no file at all
        {library(9), {"Error loading layer file: bad file format", missing}},
        {library(0), {"Error loading layer file: bad object type", missing}},
        {library(2, 2), {missing}},                               // bad schema
        {library(2).substr(0, library(2).size() - 1), {missing}}, // end of data
    };
    for (const auto& [bytes, messages] : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        ScriptedUi ui;
        ScopedUi scope(ui);
        std::filesystem::remove(path);
        if (!bytes.empty())
            std::ofstream(path, std::ios::binary) << bytes;
        std::unique_ptr<CLayerDoc> loaded = LoadLayerLibrary(path);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(ui.Messages(), messages);
        EXPECT_EQ(loaded->Layers().Size(), messages.empty() ? 1u : 0u);
        if (messages.empty()) {
            EXPECT_EQ(loaded->FindLayer("L")->LookupSample(60), loaded->FindSample("A"));
        }
    }
}
