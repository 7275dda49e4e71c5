#include "layer/LayerLibrary.h"

#include "LayerFileBytes.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One entry "A" and a layer "L" that maps key 60 to it through `reference`.
std::vector<std::uint8_t> Library(std::uint16_t reference, std::uint16_t layerSchema = 1) {
    LayerFileBytes file;
    file.Word(1).Text("A").ClassRecord("CSample").SampleBody("a.wav");
    file.Word(1).Text("L").ClassRecord("CLayer", layerSchema).LayerHead().Word(1).Word(60).Word(reference);
    return file.Bytes();
}
} // namespace

TEST(LayerLibrary, LoadsAWellFormedFileSilently) {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope(ui);
    WriteFile(dir.File("Wl.lay"), Library(2));
    auto library = LoadLayerLibrary(dir.File("Wl.lay"));
    ASSERT_NE(library->FindLayer("L"), nullptr);
    EXPECT_EQ(library->FindLayer("L")->LookupSample(60), library->FindSample("A"));
    EXPECT_TRUE(ui.Events().empty());
}

TEST(LayerLibrary, AFailedLoadSaysWhyThenGivesAnEmptyLibrary) {
    TempDir dir;
    const std::string missing =
        "The layer file, " + dir.File("Wl.lay") + ", is missing.  Layer names will not be available.";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes; // empty: no file at all
        std::vector<std::string> messages;
    };
    std::vector<std::uint8_t> cut = Library(2);
    cut.pop_back();
    const std::vector<Case> cases = {
        {"no file", {}, {missing}},
        {"bad index", Library(9), {"Error loading layer file: bad file format", missing}},
        {"bad class", Library(0), {"Error loading layer file: bad object type", missing}},
        {"bad schema", Library(2, 2), {missing}},
        {"end of data", cut, {missing}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ScriptedUi ui;
        ScopedUi scope(ui);
        std::filesystem::remove(dir.File("Wl.lay"));
        if (!test.bytes.empty())
            WriteFile(dir.File("Wl.lay"), test.bytes);
        auto library = LoadLayerLibrary(dir.File("Wl.lay"));
        ASSERT_NE(library, nullptr);
        EXPECT_TRUE(library->Layers().Empty());
        EXPECT_TRUE(library->Samples().Empty());
        EXPECT_EQ(ui.Messages(), test.messages);
    }
}
