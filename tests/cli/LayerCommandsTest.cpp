#include "CliRunner.h"
#include "layer/LayerFileBytes.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
// Listed in the order the writer stores them, so that dump gives the same text back.
const std::string kLibrary =
    R"({"samples":[{"name":"\u00c9t\u00e9","path":"E:\\SAM\\\u00e9.wav","tracks_pitch":false,"ignore_key_up":true,)"
    R"("level":-6},{"name":"Flute","path":"/s/flute.wav","tracks_pitch":true,"ignore_key_up":false,"level":0}],)"
    R"("layers":[{"name":"Piano","level":-3,"transpose":-12,"ignore_key_up":true,"comment":"soft",)"
    R"("keys":[[0,"Flute"],[60,"Flute"],[64,"\u00c9t\u00e9"]]}]})";

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The JSON nlohmann prints: \u escapes become UTF-8, as dump writes them.
std::string Printed(const std::string& json) {
    return nlohmann::ordered_json::parse(json).dump() + "\n";
}
} // namespace

TEST(LayerCommands, BuildThenDumpGivesTheLibraryBack) {
    TempDir dir;
    WriteText(dir.File("lib.json"), kLibrary);
    CliResult built = RunWloeCli({"build", dir.File("lib.json"), "-o", dir.File("lib.LAY")});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(built.out + built.err, "");
    CliResult dumped = RunWloeCli({"dump", dir.File("lib.LAY")});
    EXPECT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_EQ(dumped.out, Printed(kLibrary));
    // Names and paths are stored as Windows-1252.
    EXPECT_NE(ReadText(dir.File("lib.LAY")).find("\x03\xC9t\xE9"), std::string::npos);
}

TEST(LayerCommands, DumpShowsTheFileOrderAndTheLaterOfTwoPairs) {
    TempDir dir;
    LayerFileBytes file;
    file.Word(2).Text("B").ClassRecord("CSample").SampleBody("b").Text("A").Word(0x8001).SampleBody("a");
    file.Word(1).Text("L").ClassRecord("CLayer").LayerHead();
    file.Word(4).Word(61).Word(2).Word(60).Word(3).Word(61).Word(3).Word(5).Word(2);
    const auto& bytes = file.Bytes();
    WriteText(dir.File("x.lay"), std::string(bytes.begin(), bytes.end()));
    CliResult dumped = RunWloeCli({"dump", dir.File("x.lay")});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    auto json = nlohmann::ordered_json::parse(dumped.out);
    EXPECT_EQ(json["samples"][0]["name"], "B");
    EXPECT_EQ(json["samples"][1]["name"], "A");
    EXPECT_EQ(json["layers"][0]["keys"].dump(), R"([[61,"A"],[60,"A"],[5,"B"]])");
}

TEST(LayerCommands, BuildRefusesWhatCannotBeStored) {
    TempDir dir;
    const std::string entry = R"({"name":"F","path":"f.wav"})";
    auto library = [&](const std::string& samples, const std::string& layers) {
        return R"({"samples":[)" + samples + R"(],"layers":[)" + layers + "]}";
    };
    auto layer = [](const std::string& keys, const std::string& extra = "") {
        return R"({"name":"L")" + extra + R"(,"keys":[)" + keys + "]}";
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {library(entry, layer(R"([60,"G"])")), "no sample entry is named G"},
        {library(entry, layer(R"([128,"F"])")), "0..127"},
        {library(entry, layer(R"([-1,"F"])")), "0..127"},
        {library(entry, layer(R"([60,"F"],[60,"F"])")), "key 60 is given twice"},
        {library(entry + "," + entry, ""), "the name F is used twice"},
        {library(entry, layer("") + "," + layer("")), "the name L is used twice"},
        {library(R"({"name":"F","level":32768})", ""), "-32768..32767"},
        {library(entry, layer("", R"(,"transpose":-32769)")), "-32768..32767"},
        {library(R"({"name":"\u0394"})", ""), "Windows-1252"},
        {library(R"({"name":"F","pitch":1})", ""), "samples[0].pitch: not a field"},
        {library(R"({"path":"f.wav"})", ""), "samples[0].name: missing"},
        {"{\"samples\":[", "not valid JSON"},
    };
    for (const auto& [json, complaint] : cases) {
        SCOPED_TRACE(json);
        WriteText(dir.File("bad.json"), json);
        CliResult result = RunWloeCli({"build", dir.File("bad.json"), "-o", dir.File("bad.lay")});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(complaint), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("bad.lay")));
    }
    WriteText(dir.File("good.json"), library(entry, ""));
    EXPECT_EQ(RunWloeCli({"build", dir.File("good.json"), "-o", dir.File("lib.xyz")}).exitCode, 2);
}

TEST(LayerCommands, DumpRefusesADamagedFile) {
    TempDir dir;
    WriteText(dir.File("cut.lay"), std::string("\x01\x00\x01", 3));
    CliResult result = RunWloeCli({"dump", dir.File("cut.lay")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Unexpected file format.\n");
}

TEST(LayerCommands, ReparentAsksAboutMissingDirectoriesAndWritesOnlyWhenDone) {
    TempDir dir;
    WriteText(dir.File("lib.json"), kLibrary);
    ASSERT_EQ(RunWloeCli({"build", dir.File("lib.json"), "-o", dir.File("lib.lay")}).exitCode, 0);
    const std::string before = ReadText(dir.File("lib.lay"));

    CliResult declined = RunWloeCli({"reparent", dir.File("lib.lay"), "e:\\sam", "/new"});
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_EQ(declined.err, "Warning: the old directory does not exist.  Continue?\n");
    EXPECT_EQ(ReadText(dir.File("lib.lay")), before);

    // A relative output stays relative to where the command was given, whatever directory
    // reparenting moved into.
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CliResult done =
        RunWloeCli({"reparent", "lib.lay", "e:\\sam", dir.Path().string(), "-o", "out.lay", "--yes"});
    EXPECT_EQ(std::filesystem::current_path(), dir.Path());
    std::filesystem::current_path(cwd);
    EXPECT_EQ(done.exitCode, 0);
    EXPECT_EQ(done.err, "Warning: the old directory does not exist.  Continue?\n"
                        "1 pointers (out of 2 total) were modified.\n");
    EXPECT_EQ(ReadText(dir.File("lib.lay")), before);
    auto json = nlohmann::json::parse(RunWloeCli({"dump", dir.File("out.lay")}).out);
    EXPECT_EQ(json["samples"][0]["path"], dir.Path().string() + "\\\xC3\xA9.wav");
    EXPECT_EQ(json["samples"][1]["path"], "/s/flute.wav");
}

TEST(LayerCommands, ReportSamplesOfTheLibraryOrOfOneStoredLayer) {
    TempDir dir;
    WavBuilder().Fmt(1, 1000).Data({0, 4000, -9000}).WriteTo(dir.File("a.wav"));
    WavBuilder().Fmt(2, 1000).Data({0, 0, 0, 20000}).WriteTo(dir.File("b.wav"));
    WriteText(dir.File("lib.json"), R"({"samples":[{"name":"b","path":")" + dir.File("b.wav") +
                                        R"("},{"name":"A","path":")" + dir.File("a.wav") +
                                        R"("}],"layers":[{"name":"L","keys":[[1,"b"]]}]})");
    ASSERT_EQ(RunWloeCli({"build", dir.File("lib.json"), "-o", dir.File("lib.lay")}).exitCode, 0);

    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CliResult all = RunWloeCli({"report", "samples", "lib.lay"});
    std::filesystem::current_path(cwd);
    EXPECT_EQ(all.exitCode, 0) << all.err;
    const std::string a = "A                              (" + dir.File("a.wav") +
                          ")\r\n  Pitch:A 4 +0.00  Stereo:N  Length:0000003  Time:0.00  Level:0\r\n"
                          "  Attack (-24/-18/-12/-6dB): 0.001/0.002/0.000/0.000\r\n"
                          "  Max amplitude: 27.47  Loop from 0 to 0\r\n\r\n";
    const std::string b = "b                              (" + dir.File("b.wav") +
                          ")\r\n  Pitch:A 4 +0.00  Stereo:Y  Length:0000002  Time:0.00  Level:0\r\n"
                          "  Attack (-24/-18/-12/-6dB): 0.001/0.000/0.000/0.000\r\n"
                          "  Max amplitude: 61.04  Loop from 0 to 0\r\n\r\n";
    EXPECT_EQ(ReadText(dir.File("SAMPLES.TXT")), a + b);

    CliResult one =
        RunWloeCli({"report", "samples", dir.File("lib.lay"), "--layer", "L", "-o", dir.File("l.txt")});
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(ReadText(dir.File("l.txt")), b);

    CliResult unknown =
        RunWloeCli({"report", "samples", dir.File("lib.lay"), "--layer", "l", "-o", dir.File("u.txt")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "No layer is named l\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("u.txt")));
}
