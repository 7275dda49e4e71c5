#include "CliRunner.h"
#include "layer/LayerFileBytes.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {
// Listed in the order the writer stores them, so that dump gives the same text back.
const std::string kLibrary =
    R"({"samples":[{"name":"\u00c9t\u00e9","path":"E:\\SAM\\\u00e9.wav","tracks_pitch":false,"ignore_key_up":true,)"
    R"("level":-6},{"name":"Flute","path":"/s/flute.wav","tracks_pitch":true,"ignore_key_up":false,"level":0}],)"
    R"("layers":[{"name":"Piano","level":-3,"transpose":-12,"ignore_key_up":true,"comment":"soft",)"
    R"("keys":[[0,"Flute"],[60,"Flute"],[64,"\u00c9t\u00e9"]]}]})";

struct LayerCommandsTest : ::testing::Test {
    CliResult Build(const std::string& json, const std::string& output = "lib.lay") {
        std::ofstream(dir.File("lib.json")) << json;
        return RunWloeCli({"build", dir.File("lib.json"), "-o", dir.File(output)});
    }
    TempDir dir;
};
} // namespace

TEST_F(LayerCommandsTest, BuildAndDumpRoundTripInFileOrder) {
    CliResult built = Build(kLibrary, "lib.LAY");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    CliResult dumped = RunWloeCli({"dump", dir.File("lib.LAY")});
    EXPECT_EQ(dumped.out, nlohmann::ordered_json::parse(kLibrary).dump() + "\n");
    EXPECT_NE(FileBytes(dir.File("lib.LAY")).find("\x03\xC9t\xE9"), std::string::npos); // Windows-1252

    // Pairs as the file holds them; a key stored twice shows once, with the later entry.
    LayerFileBytes file;
    file.Word(2).Text("B").ClassRecord("CSample").SampleBody("b").Text("A").Word(0x8001).SampleBody("a");
    file.Word(1).Text("L").ClassRecord("CLayer").LayerHead();
    file.Word(4).Word(61).Word(2).Word(60).Word(3).Word(61).Word(3).Word(5).Word(2).WriteTo(
        dir.File("x.lay"));
    auto json = nlohmann::ordered_json::parse(RunWloeCli({"dump", dir.File("x.lay")}).out);
    EXPECT_EQ(json["samples"][0]["name"], "B");
    EXPECT_EQ(json["layers"][0]["keys"].dump(), R"([[61,"A"],[60,"A"],[5,"B"]])");

    CliResult damaged = RunWloeCli({"dump", dir.File("lib.json")});
    EXPECT_EQ(damaged.exitCode, 2); // not a document kind
    std::ofstream(dir.File("cut.lay")) << file.Bytes().substr(0, 9);
    damaged = RunWloeCli({"dump", dir.File("cut.lay")});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.out + damaged.err, "Unexpected file format.\n");
}

TEST_F(LayerCommandsTest, BuildRefusesWhatCannotBeStored) {
    const std::string entry = R"({"name":"F"})";
    auto library = [](const std::string& samples, const std::string& keys, const std::string& layer = "") {
        return R"({"samples":[)" + samples + R"(],"layers":[{"name":"L","keys":[)" + keys + "]}" + layer +
               "]}";
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {library(entry, R"([60,"G"])"), "no sample entry is named G"},
        {library(entry, R"([128,"F"])"), "128 is outside 0..127"},
        {library(entry, R"([-1,"F"])"), "-1 is outside 0..127"},
        {library(entry, R"([60,"F"],[60,"F"])"), "key 60 is given twice"},
        {library(entry + "," + entry, ""), "the name F is used twice"},
        {library(entry, "", R"(,{"name":"L"})"), "the name L is used twice"},
        {library(R"({"name":"F","level":32768})", ""), "32768 is outside -32768..32767"},
        {library(R"({"name":"\u0394"})", ""), "Windows-1252 cannot hold"},
        {library(R"({"name":"F","pitch":1})", ""), "samples[0].pitch: not a field"},
    };
    for (const auto& [json, complaint] : cases) {
        CliResult result = Build(json);
        EXPECT_EQ(result.exitCode, 1) << json;
        EXPECT_NE(result.err.find(complaint), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("lib.lay")));
    }
}

TEST_F(LayerCommandsTest, ReparentAndReportAsAUserWould) {
    WavBuilder().Fmt(1, 1000).Data({0, 4000, -9000}).WriteTo(dir.File("a.wav"));
    ASSERT_EQ(Build(R"({"samples":[{"name":"b","path":"/gone/b.wav"},{"name":"A","path":"E:\\W\\a.wav"}],)"
                    R"("layers":[{"name":"L","keys":[[1,"b"]]}]})")
                  .exitCode,
              0);
    const std::string before = FileBytes(dir.File("lib.lay"));
    CliResult declined = RunWloeCli({"reparent", dir.File("lib.lay"), "e:\\w", "/x"});
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_EQ(declined.err, "Warning: the old directory does not exist.  Continue?\n");
    EXPECT_EQ(FileBytes(dir.File("lib.lay")), before);

    // Relative paths stay relative to where the command was given, whichever directory
    // reparenting entered; the report defaults to SAMPLES.TXT there.
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CliResult moved =
        RunWloeCli({"reparent", "lib.lay", "e:\\w", dir.Path().string(), "-o", "new.lay", "--yes"});
    CliResult all = RunWloeCli({"report", "samples", "new.lay"});
    std::filesystem::current_path(cwd);
    EXPECT_EQ(moved.exitCode, 0);
    EXPECT_EQ(moved.err, "Warning: the old directory does not exist.  Continue?\n"
                         "1 pointers (out of 2 total) were modified.\n");
    EXPECT_EQ(FileBytes(dir.File("lib.lay")), before);
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.err, "Error opening file\n/gone/b.wav: No such file or directory\n");
    const std::string a = "A                              (" + dir.Path().string() +
                          "\\a.wav)\r\n  Pitch:A 4 +0.00  Stereo:N  Length:0000003  Time:0.00  Level:0\r\n"
                          "  Attack (-24/-18/-12/-6dB): 0.001/0.002/0.000/0.000\r\n"
                          "  Max amplitude: 27.47  Loop from 0 to 0\r\n\r\n";
    const std::string b = "*** Error loading sample doc for b\r\n    /gone/b.wav could not be opened\r\n\r\n";
    EXPECT_EQ(FileBytes(dir.File("SAMPLES.TXT")), a + b);

    CliResult one =
        RunWloeCli({"report", "samples", dir.File("new.lay"), "--layer", "L", "-o", dir.File("l.txt")});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(FileBytes(dir.File("l.txt")), b);
    CliResult unknown =
        RunWloeCli({"report", "samples", dir.File("new.lay"), "--layer", "l", "-o", dir.File("u")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "No layer is named l\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("u")));
}

TEST_F(LayerCommandsTest, AVanishedWorkingDirectoryIsAMessageNotAnAbort) {
    ASSERT_EQ(Build(R"({"samples":[],"layers":[]})").exitCode, 0);
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::create_directory(dir.File("gone"));
    std::filesystem::current_path(dir.File("gone"));
    std::filesystem::remove(dir.File("gone"));
    CliResult run = RunWloeCli({"reparent", dir.File("lib.lay"), "/a", "/b", "--yes"});
    std::filesystem::current_path(cwd);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("The command could not be completed: ", 0), 0u) << run.err;
}

TEST_F(LayerCommandsTest, DumpBuildDumpIsAFixedPoint) {
    // Names and keys that share buckets of the writer's table, listed in no particular order.
    ASSERT_EQ(
        Build(
            R"({"samples":[{"name":"c","path":"c.wav"},{"name":"a","path":"a.wav"},{"name":"r","path":"r.wav"},)"
            R"({"name":"b","path":"b.wav"},{"name":"s","path":"s.wav"}],)"
            R"("layers":[{"name":"Two","keys":[[34,"a"],[0,"b"],[17,"c"],[1,"r"],[18,"s"]]},)"
            R"({"name":"One","keys":[[5,"a"]]},{"name":"Nine","keys":[]}]})")
            .exitCode,
        0);
    std::string first = RunWloeCli({"dump", dir.File("lib.lay")}).out;
    std::string bytes = FileBytes(dir.File("lib.lay"));
    for (int cycle = 0; cycle < 2; ++cycle) {
        std::ofstream(dir.File("again.json")) << first;
        ASSERT_EQ(RunWloeCli({"build", dir.File("again.json"), "-o", dir.File("lib.lay")}).exitCode, 0);
        EXPECT_EQ(RunWloeCli({"dump", dir.File("lib.lay")}).out, first);
        EXPECT_EQ(FileBytes(dir.File("lib.lay")), bytes);
    }
}
