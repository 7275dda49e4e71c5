#include "CliRunner.h"

#include "platform/FileIo.h"
#include "support/ByteStrings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
const ByteString kPatchClass = Cat({Hex("FFFF 0100 0600"), Text("CPatch")});
const ByteString kNewPatchBody = Cat({Hex("09"), Text("New Patch"), Hex("0000 0000 0000")});

const char* kNewPatchJson = R"({"number":0,"name":"New Patch","level":0,"reserved":0,"layers":[]})";

// The example of a bank with one routed layer, exactly as dump prints it.
const char* kBassJson =
    R"({"patches":[{"number":5,"name":"Bass","level":-3,"reserved":0,"layers":[{"layer":"Fat","level":0,)"
    R"("envelope":{"release":0,"linear":0,"points":[[0,0]]},"key_routings":[{"source":2,"destination":4,)"
    R"("controller":0,"stage":0,"curve":[[1,100],[127,200]]}],"xfade":{"center":0,"width":0,"curve":0},)"
    R"("continuous_routings":[]}]}]})";

std::string ReadText(const std::string& path) {
    FileContents file = ReadWholeFile(path);
    return std::string(file.bytes.begin(), file.bytes.end());
}

struct DocumentCommandsTest : ::testing::Test {
    TempDir dir;

    // Builds a bank from JSON text; returns the run.
    CliResult Build(const std::string& json, const std::string& name = "bank.pat") {
        std::ofstream(dir.File("bank.json")) << json;
        return RunWloeCli({"build", dir.File("bank.json"), "-o", dir.File(name)});
    }
    ByteString Bytes(const std::string& name = "bank.pat") { return ReadWholeFile(dir.File(name)).bytes; }
};
} // namespace

TEST_F(DocumentCommandsTest, BuildWritesTheBankAndDumpReadsItBack) {
    CliResult built = Build(std::string(R"({"patches":[)") + kNewPatchJson + "]}");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(built.out, "");
    EXPECT_EQ(ToHex(Bytes()), ToHex(Cat({Hex("0100 0000"), kPatchClass, kNewPatchBody})));

    // Patch 5 with a layer: 75 bytes, the envelope the 14 bytes of a new one.
    built = Build(R"({"patches":[{"number":5,"name":"Bass","level":-3,"layers":[{"layer":"Fat"}]}]})");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    ByteString bass =
        Cat({Hex("0100 0500"), kPatchClass, Hex("04"), Text("Bass"), Hex("FDFF 0000 0100 FFFF 0100 0C00"),
             Text("CLayerParams"), Hex("03"), Text("Fat"), Hex("0000"),
             Hex("00000000 00000000 0100 00000000"), Hex("0000"), Hex("0000 0000 0000"), Hex("0000")});
    EXPECT_EQ(bass.size(), 75u);
    EXPECT_EQ(ToHex(Bytes()), ToHex(bass));

    built = Build(kBassJson);
    ASSERT_EQ(built.exitCode, 0) << built.err;
    CliResult dumped = RunWloeCli({"dump", dir.File("bank.pat")});
    EXPECT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_EQ(dumped.out, std::string(kBassJson) + "\n");
    EXPECT_EQ(dumped.err, "");
}

TEST_F(DocumentCommandsTest, BuildKeepsTheOrderDumpPrintsSoTheRoundTripIsAFixedPoint) {
    // Neighbours in the writer's table: the file holds them as the JSON lists them.
    std::string json = std::string(R"({"patches":[)") + kNewPatchJson + "," +
                       R"({"number":1,"name":"New Patch","level":0,"reserved":0,"layers":[]}]})";
    ASSERT_EQ(Build(json).exitCode, 0);
    EXPECT_EQ(ToHex(Bytes()),
              ToHex(Cat({Hex("0200 0000"), kPatchClass, kNewPatchBody, Hex("0100 0180"), kNewPatchBody})));
    std::string out = RunWloeCli({"dump", dir.File("bank.pat")}).out;
    EXPECT_LT(out.find(R"("number":0)"), out.find(R"("number":1)"));

    // Whatever order a hand-written list has, one build settles it and dump, build, dump repeats.
    ASSERT_EQ(
        Build(R"({"patches":[{"number":16},{"number":3},{"number":0},{"number":33},{"number":1}]})").exitCode,
        0);
    std::string first = RunWloeCli({"dump", dir.File("bank.pat")}).out;
    ByteString bytes = Bytes();
    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_EQ(Build(first).exitCode, 0);
        EXPECT_EQ(RunWloeCli({"dump", dir.File("bank.pat")}).out, first);
        EXPECT_EQ(Bytes(), bytes);
    }

    ASSERT_EQ(Build(R"({"patches":[]})").exitCode, 0);
    EXPECT_EQ(ToHex(Bytes()), "00 00");
    EXPECT_EQ(RunWloeCli({"dump", dir.File("bank.pat")}).out, "{\"patches\":[]}\n");
}

TEST_F(DocumentCommandsTest, ValuesSurviveAsTheirFieldsHoldThem) {
    // Extremes of every width, and names outside ASCII.
    std::string json =
        R"({"patches":[{"number":127,"name":"Café €","level":-32768,"reserved":32767,"layers":[)"
        R"({"layer":"Straße","level":32767,"envelope":{"release":-2147483648,"linear":4294967295,)"
        R"("points":[[65535,-32768],[0,32767]]},"key_routings":[{"source":65535,"destination":6,)"
        R"("controller":127,"stage":65535,"curve":[[-32768,32767]]}],)"
        R"("xfade":{"center":65535,"width":65535,"curve":65535},"continuous_routings":[{"source":4,)"
        R"("destination":2,"controller":0,"stage":0,"curve":[]}]}]}]})";
    CliResult built = Build(json);
    ASSERT_EQ(built.exitCode, 0) << built.err;
    ByteString bytes = Bytes();
    ByteString name = Cat({Hex("06"), Text("Caf"), Hex("E9 20 80")});
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), name.begin(), name.end()), bytes.end());
    EXPECT_EQ(RunWloeCli({"dump", dir.File("bank.pat")}).out, json + "\n");
}

TEST_F(DocumentCommandsTest, BuildRefusesWhatItCannotStoreAndWritesNothing) {
    struct Case {
        std::string json;
        std::string message;
    };
    const Case cases[] = {
        {R"({"patches":[{"number":1},)", "not valid JSON"},
        {R"({"patches":[{"number":128}]})", "patches[0].number: 128 is outside 0..127"},
        {R"({"patches":[{"number":-1}]})", "patches[0].number: -1 is outside 0..127"},
        {R"({"patches":[{"number":3},{"number":3}]})", "patches[1].number: patch 3 is listed twice"},
        {R"({"patches":[{"name":"x"}]})", "patches[0].number: missing"},
        {R"({"patches":[{"number":1,"level":40000}]})", "patches[0].level: 40000 is outside -32768..32767"},
        {R"({"patches":[{"number":1,"level":1.5}]})", "patches[0].level: expected a whole number, found 1.5"},
        {R"({"patches":[{"number":1,"layers":[{"envelope":{"points":[[70000,0]]}}]}]})",
         "patches[0].layers[0].envelope.points[0][0]: 70000 is outside 0..65535"},
        {R"({"patches":[{"number":1,"layers":[{"key_routings":[{"curve":[[1]]}]}]}]})",
         "patches[0].layers[0].key_routings[0].curve[0]: expected a pair [x, y]"},
        {R"({"patches":[{"number":1,"layers":[{"xfade":{"center":-1}}]}]})",
         "patches[0].layers[0].xfade.center: -1 is outside 0..65535"},
        {R"({"patches":[{"number":1,"name":"Ā"}]})",
         "patches[0].name: \"Ā\" has characters that Windows-1252 cannot hold"},
        {R"({"patches":[{"number":1,"volume":3}]})", "patches[0].volume: not a field of this record"},
        {R"({"patches":{}})", "bank.patches: expected an array, found object"},
        {R"([])", "bank: expected an object, found array"},
    };
    for (const Case& c : cases) {
        CliResult result = Build(c.json);
        EXPECT_EQ(result.exitCode, 1) << c.json;
        EXPECT_EQ(result.err, dir.File("bank.json") + ": " + c.message + "\n") << c.json;
        EXPECT_FALSE(std::filesystem::exists(dir.File("bank.pat"))) << c.json;
    }

    CliResult missing = RunWloeCli({"build", dir.File("none.json"), "-o", dir.File("bank.pat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, dir.File("none.json") + " was not found.\n");
    EXPECT_EQ(RunWloeCli({"build", dir.File("none.json"), "-o", dir.File("bank.txt")}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"build", dir.File("none.json")}).exitCode, 2);
}

TEST_F(DocumentCommandsTest, DumpRefusesDamagedAndMissingFiles) {
    ASSERT_EQ(Build(kBassJson).exitCode, 0);
    ByteString bytes = Bytes();
    bytes.pop_back();
    std::ofstream(dir.File("cut.pat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    CliResult cut = RunWloeCli({"dump", dir.File("cut.pat")});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.out, "");
    EXPECT_EQ(cut.err, "Unexpected file format.\n");

    CliResult missing = RunWloeCli({"dump", dir.File("gone.pat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, dir.File("gone.pat") + " was not found.\n");
    EXPECT_EQ(RunWloeCli({"dump", dir.File("bank.json")}).exitCode, 2);
    // The kind goes by the extension, whatever its case.
    std::filesystem::copy_file(dir.File("bank.pat"), dir.File("BANK.PAT"));
    EXPECT_EQ(RunWloeCli({"dump", dir.File("BANK.PAT")}).out, std::string(kBassJson) + "\n");
}

TEST_F(DocumentCommandsTest, ReportWritesThePatchReport) {
    ASSERT_EQ(
        Build(R"({"patches":[{"number":7,"name":"Lead","layers":[{"layer":"Saw","level":-3}]}]})").exitCode,
        0);
    CliResult named = RunWloeCli({"report", "patches", dir.File("bank.pat"), "-o", dir.File("lead.txt")});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    std::string report = ReadText(dir.File("lead.txt"));
    EXPECT_EQ(report.substr(0, 58), "007 Lead\r\n   Master Level: 0 dB\r\n   LAYER 1: Saw (-3 dB)\r\n");

    // By default PATCHES.TXT in the current directory.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CliResult plain = RunWloeCli({"report", "patches", "bank.pat"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(ReadText(dir.File("PATCHES.TXT")), report);

    std::string nowhere = dir.File("no/such/dir/r.txt");
    CliResult failed = RunWloeCli({"report", "patches", dir.File("bank.pat"), "-o", nowhere});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, "Error opening output file " + nowhere + "\n");

    CliResult missing = RunWloeCli({"report", "patches", dir.File("gone.pat"), "-o", dir.File("x.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.txt")));
}
