#include "layer/SamplesReport.h"

#include "layer/LayerDoc.h"
#include "platform/ScriptedUi.h"
#include "platform/Shell.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

namespace {
SampleReportInput Mono(const std::vector<std::int16_t>& values, std::uint32_t rate = 10) {
    SampleReportInput input;
    input.data = values.data();
    input.frames = static_cast<std::uint32_t>(values.size());
    input.rate = rate;
    input.length = input.frames;
    return input;
}
} // namespace

TEST(SamplesReport, ThresholdsFollowTheEntryLevel) {
    EXPECT_EQ(AttackThresholds(0), (std::array<double, 4>{2047, 4095, 8191, 16383}));
    EXPECT_EQ(AttackThresholds(-6), (std::array<double, 4>{4095, 8191, 16383, 32767}));
    EXPECT_EQ(AttackThresholds(6), (std::array<double, 4>{1023, 2047, 4095, 8191}));
}

TEST(SamplesReport, AttackIndicesArePerFrameAndOneThresholdPerValue) {
    // Stereo: the right channel of frame 2 passes -24 dB, the left of frame 3 passes -18 dB; the
    // loud value of frame 4 passes only -12 dB, the next value -6 dB.
    std::vector<std::int16_t> stereo = {0, 0, 100, -100, 0, -3000, 5000, 0, 32767, 32767, 0, 0};
    SampleReportInput input = Mono(stereo);
    input.frames = 6;
    input.length = 6;
    input.stereo = true;
    SampleMeasures measures = MeasureSample(input, 0);
    EXPECT_EQ(measures.attack, (std::array<std::uint32_t, 4>{2, 3, 4, 4}));
    EXPECT_EQ(measures.peak, 32767u);

    // At -6 dB the last threshold is 32767: only -32768 passes it.
    std::vector<std::int16_t> loud = {32767, 32767, 32767, 32767, -32768};
    measures = MeasureSample(Mono(loud), -6);
    EXPECT_EQ(measures.attack, (std::array<std::uint32_t, 4>{0, 1, 2, 4}));
    EXPECT_EQ(measures.peak, 32768u);
    loud.back() = 32767;
    EXPECT_EQ(MeasureSample(Mono(loud), -6).attack[3], 0u);

    // Only the values from the start point to the stop point count, indexed from the start.
    std::vector<std::int16_t> ranged = {30000, 0, 0, 3000, 30000, 30000};
    SampleReportInput part = Mono(ranged);
    part.start = 1;
    part.length = 4;
    measures = MeasureSample(part, 0);
    EXPECT_EQ(measures.attack, (std::array<std::uint32_t, 4>{2, 3, 0, 0}));
    EXPECT_EQ(measures.peak, 30000u);

    // A stop point beyond the audio (a damaged file) is not read past.
    part.length = 1000;
    EXPECT_EQ(MeasureSample(part, 0).attack, (std::array<std::uint32_t, 4>{2, 3, 4, 0}));
    // No stop point: to the end of the audio.
    part.length = 0;
    EXPECT_EQ(MeasureSample(part, 0).attack, (std::array<std::uint32_t, 4>{2, 3, 4, 0}));
}

TEST(SamplesReport, EntryAndErrorTextAreByteExact) {
    std::vector<std::int16_t> values(44100, 0);
    values[4410] = 2047; // never passes: the thresholds are strict
    values[22050] = -16384;
    SampleReportInput input = Mono(values, 44100);
    input.pitch = 440.0;
    input.loopStart = 100;
    input.loopLength = 50;
    input.length = 40000;
    EXPECT_EQ(SampleReportEntry("Flute", "/s/flute.wav", 0, input),
              "Flute                          (/s/flute.wav)\r\n"
              "  Pitch:A 4 +0.00  Stereo:N  Length:0040000  Time:1.00  Level:0\r\n"
              "  Attack (-24/-18/-12/-6dB): 0.500/0.000/0.000/0.000\r\n"
              "  Max amplitude: 50.00  Loop from 100 to 150\r\n\r\n");

    std::vector<std::int16_t> quiet(10, 2047);
    SampleReportInput silent = Mono(quiet, 8000);
    EXPECT_EQ(SampleReportEntry(std::string(32, 'n'), "p", -3, silent),
              std::string(32, 'n') + " (p)\r\n"
                                     "  Pitch:  Stereo:N  Length:0000010  Time:0.00  Level:-3\r\n"
                                     "  Attack (-24/-18/-12/-6dB): 0.000/0.000/0.000/0.000\r\n"
                                     "  Max amplitude: 6.25  Loop from 0 to 0\r\n\r\n");

    EXPECT_EQ(SampleReportError("Gone", "/x/gone.wav"),
              "*** Error loading sample doc for Gone\r\n    /x/gone.wav could not be opened\r\n\r\n");
}

TEST(SamplesReport, ListsEntriesByNameIgnoringCaseAndALayersEntriesOnce) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CLayerDoc doc;
    for (const char* name : {"beta", "Alpha", "_x", "Gamma", "alpha"}) {
        doc.AddSample(name, std::make_unique<CSample>());
    }
    auto names = [](const std::vector<const CSample*>& samples) {
        std::vector<std::string> result;
        for (const CSample* sample : samples)
            result.push_back(sample->m_strName);
        return result;
    };
    EXPECT_EQ(names(SamplesToReport(doc, nullptr)),
              (std::vector<std::string>{"_x", "Alpha", "alpha", "beta", "Gamma"}));

    CLayer layer;
    for (std::uint16_t key = 0; key < 64; ++key)
        layer.m_keys.Set(key, doc.FindSample("Gamma"));
    for (std::uint16_t key = 64; key < 128; ++key)
        layer.m_keys.Set(key, doc.FindSample("beta"));
    layer.m_keys.Set(127, doc.FindSample("Gamma"));
    EXPECT_EQ(names(SamplesToReport(doc, &layer)), (std::vector<std::string>{"beta", "Gamma"}));
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
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error opening file"});
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
