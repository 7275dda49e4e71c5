#include "patch/PatchReport.h"

#include "PatchBuilders.h"
#include "patch/PatchDoc.h"
#include "platform/FileIo.h"
#include "platform/ScriptedUi.h"
#include "platform/Shell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::unique_ptr<CLayerParams> Layer(const std::string& name, int level = 0) {
    auto layer = std::make_unique<CLayerParams>();
    layer->m_strLayerName = name;
    layer->m_nLevel = level;
    return layer;
}

std::unique_ptr<CPatch> Patch(const std::string& name, int level = 0) {
    auto patch = std::make_unique<CPatch>();
    patch->m_strName = name;
    patch->m_nMasterLevel = level;
    return patch;
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}
} // namespace

TEST(PatchReport, APlainPatchIsEightLines) {
    CPatchDoc doc;
    auto lead = Patch("Lead");
    lead->m_layers.push_back(Layer("Saw", -3));
    doc.SetPatch(7, std::move(lead));
    EXPECT_EQ(PatchReportText(doc), Lines({"007 Lead", "   Master Level: 0 dB", "   LAYER 1: Saw (-3 dB)",
                                           "      Amplitude Envelope", "         0 dB @ 0.000 sec",
                                           "         Release length 0.000 sec", "      Key Routings",
                                           "      Continuous Routings"}));
    EXPECT_EQ(PatchReportText(CPatchDoc()), "");
}

TEST(PatchReport, LayersEnvelopesCrossfadesAndRoutings) {
    CPatchDoc doc;
    auto patch = Patch("Choir", -12);
    patch->m_layers.push_back(Layer(""));
    auto pad = Layer("Pad", 2);
    pad->m_envelope.SetPoint(1, 1500, -12);
    pad->m_envelope.SetPoint(2, 40000, -60);
    pad->m_envelope.SetLinear(0, true);
    pad->m_envelope.SetLinear(2, true); // the hold point's "segment"
    pad->m_envelope.SetRelease(250);
    pad->m_noteOnRouting.Add(MakeRouting<CNoteOnRoutingItem>(2, 3, {{1, 0}, {127, -6}}, 1, 0));
    pad->m_noteOnRouting.Add(MakeRouting<CNoteOnRoutingItem>(3, 4, {{-5, 1234}}, 0, 11));
    pad->m_xfade.SetValues(64, 21, 2);
    pad->m_controllerRouting.Add(MakeRouting<CControllerRoutingItem>(4, 2, {{0, 0}}, 0, 0));
    patch->m_layers.push_back(std::move(pad));
    doc.SetPatch(100, std::move(patch));
    doc.SetPatch(12, Patch("Empty"));

    EXPECT_EQ(PatchReportText(doc), Lines({"012 Empty",
                                           "   Master Level: 0 dB",
                                           "100 Choir",
                                           "   Master Level: -12 dB",
                                           "   LAYER 2: Pad (2 dB)",
                                           "      Amplitude Envelope",
                                           "         0 dB @ 0.000 sec (linear)",
                                           "         -12 dB @ 1.500 sec",
                                           "         -60 dB @ 40.000 sec (linear)",
                                           "         Release length 0.250 sec",
                                           "      Key Routings",
                                           "         Velocity to Amp Env Level 2",
                                           "              0 @ 1",
                                           "             -6 @ 127",
                                           "         Controller 11 to Amp Env Duration 1",
                                           "            1234 @ -5",
                                           "      Crossfade (linear) at 64, radius 10",
                                           "      Continuous Routings",
                                           "         Pitch Wheel to Pitch",
                                           "              0 @ 0"}));
}

TEST(PatchReport, EveryCodeHasItsText) {
    struct Case {
        int source;
        int destination;
        const char* line;
    };
    const Case cases[] = {
        {0, 0, "Nothing (error) to Nowhere (error)"},
        {1, 1, "Note Number to Volume"},
        {5, 5, "Channel Aftertouch to Amp Env Hold Level"},
        {6, 6, "Unknown source (error) to Amp Env Release Duration"},
        {2, 7, "Velocity to Unknown destination (error)"},
    };
    for (const Case& c : cases) {
        CPatchDoc doc;
        auto patch = Patch("P");
        auto layer = Layer("L");
        layer->m_controllerRouting.Add(MakeRouting<CControllerRoutingItem>(c.source, c.destination, {}));
        patch->m_layers.push_back(std::move(layer));
        doc.SetPatch(0, std::move(patch));
        std::string text = PatchReportText(doc);
        EXPECT_NE(text.find("Continuous Routings\r\n         " + std::string(c.line) + "\r\n"),
                  std::string::npos)
            << text;
    }

    const char* fades[] = {"inverse square", "exponential", "linear", "undefined method"};
    for (int curve = 0; curve < 4; ++curve) {
        CPatchDoc doc;
        auto patch = Patch("P");
        auto layer = Layer("L");
        layer->m_xfade.SetValues(1, 65535, curve == 3 ? 40 : curve);
        patch->m_layers.push_back(std::move(layer));
        doc.SetPatch(0, std::move(patch));
        EXPECT_NE(PatchReportText(doc).find("      Crossfade (" + std::string(fades[curve]) +
                                            ") at 1, radius 32767\r\n      Continuous"),
                  std::string::npos);
    }
}

TEST(PatchReport, LongNamesAreWrittenInFull) {
    CPatchDoc doc;
    std::string name(5000, 'x');
    name[0] = '\xE9'; // Windows-1252 bytes go out as they are
    auto patch = Patch(name);
    patch->m_layers.push_back(Layer(name));
    doc.SetPatch(1, std::move(patch));
    std::string text = PatchReportText(doc);
    EXPECT_EQ(text.substr(0, 5006), "001 " + name + "\r\n");
    EXPECT_NE(text.find("   LAYER 1: " + name + " (0 dB)\r\n"), std::string::npos);
}

TEST(PatchReport, TheReportIsWrittenThenOpenedForReading) {
    TempDir dir;
    ScriptedUi ui;
    ScopedUi uiScope(ui);
    RecordingShell shell;
    ScopedShell shellScope(shell);
    CPatchDoc doc;
    auto lead = Patch("Lead");
    lead->m_layers.push_back(Layer("Saw", -3));
    doc.SetPatch(7, std::move(lead));

    std::string path = dir.File("PATCHES.TXT");
    ASSERT_TRUE(doc.ReportPatches(path));
    FileContents written = ReadWholeFile(path);
    EXPECT_EQ(std::string(written.bytes.begin(), written.bytes.end()), PatchReportText(doc));
    EXPECT_EQ(shell.Opened(), std::vector<std::string>{path});

    std::string nowhere = dir.File("missing/PATCHES.TXT");
    EXPECT_FALSE(doc.ReportPatches(nowhere));
    // A directory where the report goes: the file cannot be put there either.
    std::string taken = dir.File("taken/PATCHES.TXT");
    std::filesystem::create_directories(taken);
    EXPECT_FALSE(doc.ReportPatches(taken));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Error opening output file " + nowhere,
                                                       "Error opening output file " + taken}));
    EXPECT_EQ(shell.Opened().size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("taken")), {}), 1)
        << "no temporary left";
}
