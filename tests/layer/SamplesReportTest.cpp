#include "layer/SamplesReport.h"

#include "layer/LayerDoc.h"
#include "platform/ScriptedUi.h"
#include "platform/Shell.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

TEST(SamplesReport, MeasuresPassOneThresholdPerValueBetweenStartAndStop) {
    // Frames 1..4 of a stereo sample: a loud frame passes one threshold with each of its values.
    std::vector<std::int16_t> values = {32767, 32767, 0, 0, 3000, 0, 32767, -32768, 0, 0, 32767, 32767};
    SampleReportInput input;
    input.data = values.data();
    input.frames = 6;
    input.stereo = true;
    input.start = 1;
    input.length = 4;
    SampleMeasures measures = MeasureSample(input, 0);
    EXPECT_EQ(measures.attack, (std::array<std::uint32_t, 4>{1, 2, 2, 0}));
    EXPECT_EQ(measures.peak, 32768u);
    // No stop point runs to the end of the audio; a stop beyond it (a damaged file) stops there.
    for (std::uint32_t length : {0u, 1000u}) {
        input.length = length;
        EXPECT_EQ(MeasureSample(input, 0).attack, (std::array<std::uint32_t, 4>{1, 2, 2, 4}));
    }
}

TEST(SamplesReport, MeasuresEveryFileOfTheLibraryOrOfOneLayer) {
    SKIP_WITHOUT_SOX();
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope(ui);
    RecordingShell shell;
    ScopedShell shellScope(shell);

    // Stereo at 1000 Hz: half a second of silence, then a square wave of 29491.
    ASSERT_TRUE(Sox("-D -r 1000 -c 2 -n -b 16 '" + dir.File("square.wav") +
                    "' synth 0.5 square 100 vol 0.9 pad 0.5 0"));
    WavBuilder().Fmt(1, 1000).Data({4096, 8192, 16384, 32767, -32768}).WriteTo(dir.File("loud.wav"));
    WavBuilder::Info info;
    info.start = 1;
    info.length = 5;
    info.pitch = 0;
    info.loopStart = 2;
    info.loopLength = 3;
    WavBuilder()
        .Fmt(1, 8000)
        .Velo(info)
        .Data({2047, -2047, 2047, -2047, 2047, -2047, 2047, -2047})
        .WriteTo(dir.File("quiet.wav"));

    CLayerDoc doc;
    auto add = [&](const std::string& name, const std::string& path, std::int32_t level) {
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = path;
        sample->m_nLevel = level;
        doc.AddSample(name, std::move(sample));
    };
    add("stereo", dir.File("square.wav"), 0);
    add("Loud", dir.File("loud.wav"), -6);
    add("quiet", dir.File("quiet.wav"), 0);
    add("gone", dir.File("gone.wav"), 0);

    const std::string stereo = "stereo                         (" + dir.File("square.wav") +
                               ")\r\n"
                               "  Pitch:A 4 +0.00  Stereo:Y  Length:0001000  Time:1.00  Level:0\r\n"
                               "  Attack (-24/-18/-12/-6dB): 0.500/0.500/0.501/0.501\r\n"
                               "  Max amplitude: 90.00  Loop from 0 to 0\r\n\r\n";
    const std::string quiet = "quiet                          (" + dir.File("quiet.wav") +
                              ")\r\n"
                              "  Pitch:  Stereo:N  Length:0000005  Time:0.00  Level:0\r\n"
                              "  Attack (-24/-18/-12/-6dB): 0.000/0.000/0.000/0.000\r\n"
                              "  Max amplitude: 6.25  Loop from 2 to 5\r\n\r\n";
    const std::string report = dir.File("SAMPLES.TXT");
    ASSERT_TRUE(doc.ReportSamples(nullptr, report));
    EXPECT_EQ(FileBytes(report), "*** Error loading sample doc for gone\r\n    " + dir.File("gone.wav") +
                                     " could not be opened\r\n\r\n"
                                     "Loud                           (" +
                                     dir.File("loud.wav") +
                                     ")\r\n"
                                     "  Pitch:A 4 +0.00  Stereo:N  Length:0000005  Time:0.01  Level:-6\r\n"
                                     "  Attack (-24/-18/-12/-6dB): 0.000/0.001/0.002/0.004\r\n"
                                     "  Max amplitude: 100.00  Loop from 0 to 0\r\n\r\n" +
                                     quiet + stereo);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error opening file\n" + dir.File("gone.wav") +
                                                      ": No such file or directory"});
    EXPECT_EQ(shell.Opened(), std::vector<std::string>{report});

    CLayer layer;
    for (std::uint16_t key = 0; key < 64; ++key)
        layer.m_keys.Set(key, doc.FindSample("stereo"));
    for (std::uint16_t key = 64; key < 128; ++key)
        layer.m_keys.Set(key, doc.FindSample("quiet"));
    layer.m_keys.Set(127, doc.FindSample("stereo"));
    ASSERT_TRUE(doc.ReportSamples(&layer, report));
    EXPECT_EQ(FileBytes(report), quiet + stereo);
    EXPECT_EQ(doc.LoadedBytes(), 0u); // the cache is not used

    // A report that cannot be written says so and opens nothing.
    EXPECT_FALSE(doc.ReportSamples(nullptr, dir.File("no/SAMPLES.TXT")));
    EXPECT_EQ(ui.Messages().back(), "Error opening output file " + dir.File("no/SAMPLES.TXT"));
    EXPECT_EQ(shell.Opened().size(), 2u);
}
