#include "sample/StreamedEdit.h"
#include "platform/ScriptedUi.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {
using Strings = std::vector<std::string>;

std::vector<std::int16_t> Noise(std::size_t samples, int amplitude) {
    std::vector<std::int16_t> values(samples);
    std::uint32_t state = 12345;
    for (std::int16_t& value : values) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<std::int16_t>(static_cast<int>(state >> 16) % (2 * amplitude + 1) - amplitude);
    }
    return values;
}

class StreamedEditing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildSincTable(); }

    // The file and messages of the document's way: open, the operation, save.
    std::pair<std::string, Strings> DocumentWay(const std::string& in, const StreamedEdit& edit) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        std::string out = dir.File("document.wav");
        std::filesystem::remove(out);
        CSampleDoc doc;
        bool done =
            doc.OnOpenDocument(in) &&
            (edit.kind == StreamedEdit::Kind::Normalize ? doc.OnNormalize() : doc.Resample(edit.resample)) &&
            doc.OnSaveDocument(out);
        return {done ? FileBytes(out) : "", ui.Messages()};
    }
    std::pair<std::string, Strings> StreamedWay(const std::string& in, const StreamedEdit& edit) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        std::string out = dir.File("streamed.wav");
        std::filesystem::remove(out);
        std::optional<bool> done = RunStreamedEdit(in, out, edit);
        EXPECT_TRUE(done.has_value());
        return {done.value_or(false) ? FileBytes(out) : "", ui.Messages()};
    }
    void ExpectSameAsDocument(const std::string& in, const StreamedEdit& edit, const std::string& what) {
        auto [documentBytes, documentMessages] = DocumentWay(in, edit);
        auto [streamedBytes, streamedMessages] = StreamedWay(in, edit);
        EXPECT_FALSE(documentBytes.empty()) << what;
        EXPECT_TRUE(streamedBytes == documentBytes)
            << what << ": " << streamedBytes.size() << " bytes against " << documentBytes.size();
        EXPECT_EQ(streamedMessages, documentMessages) << what;
    }
    static StreamedEdit Resampling(std::uint32_t rate, ResampleMethod method) {
        StreamedEdit edit;
        edit.kind = StreamedEdit::Kind::Resample;
        edit.resample.mode = ResampleMode::Rate;
        edit.resample.rate = rate;
        edit.resample.method = method;
        return edit;
    }

    TempDir dir;
};
} // namespace

TEST_F(StreamedEditing, WritesTheFileTheDocumentWouldWithItsMessages) {
    // More audio than one block of the streamed way, with points that resampling moves.
    WavBuilder()
        .Fmt(2, 44100)
        .Velo({1000, 150000, 261.6, 20000, 90001, 5, 7000, 1})
        .Data(Noise(2 * 200003, 9000))
        .WriteTo(dir.File("stereo.wav"));
    WavBuilder().Fmt(1, 22050).Data(Noise(70001, 20000)).WriteTo(dir.File("mono.wav"));
    // Claims more audio than it holds: a warning, and the audio that is there.
    WavBuilder().Fmt(2, 32000).Data(Noise(4000, 3000), 100000).WriteTo(dir.File("short.wav"));
    WavBuilder().Fmt(1, 44100).Data(std::vector<std::int16_t>(5000, 0)).WriteTo(dir.File("silent.wav"));
    std::vector<std::pair<std::string, StreamedEdit>> edits{
        {"normalize", StreamedEdit{}},
        {"linear up", Resampling(48000, ResampleMethod::Linear)},
        {"linear down", Resampling(8000, ResampleMethod::Linear)},
        {"drop/hold", Resampling(96000, ResampleMethod::DropHold)},
        {"bandlimited up", Resampling(48000, ResampleMethod::Bandlimited)},
        {"bandlimited down", Resampling(11025, ResampleMethod::Bandlimited)},
    };
    for (const char* file : {"stereo.wav", "mono.wav", "short.wav", "silent.wav"})
        for (const auto& [name, edit] : edits)
            ExpectSameAsDocument(dir.File(file), edit, std::string(file) + ", " + name);
}

TEST_F(StreamedEditing, RefusesAsTheDocumentDoes) {
    std::ofstream(dir.File("broken.wav"), std::ios::binary) << "RIFF\x04\0\0\0WAVEjunk";
    WavBuilder().Fmt(1, 44100, 8).Data({1, 2, 3}).WriteTo(dir.File("8bit.wav"));
    WavBuilder().Fmt(1, 44100).Data(Noise(100, 10)).WriteTo(dir.File("good.wav"));
    for (const char* file : {"broken.wav", "8bit.wav"}) {
        auto [bytes, messages] = StreamedWay(dir.File(file), StreamedEdit{});
        EXPECT_EQ(messages, DocumentWay(dir.File(file), StreamedEdit{}).second) << file;
        EXPECT_FALSE(messages.empty()) << file;
        EXPECT_FALSE(std::filesystem::exists(dir.File("streamed.wav"))) << file;
    }
    // A rate the document refuses: nothing is written.
    auto [bytes, messages] = StreamedWay(dir.File("good.wav"), Resampling(0, ResampleMethod::Linear));
    EXPECT_EQ(messages, DocumentWay(dir.File("good.wav"), Resampling(0, ResampleMethod::Linear)).second);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("streamed.wav")));
}

TEST_F(StreamedEditing, LeavesWhatCannotBeMappedToTheDocumentWithoutASay) {
    std::ofstream(dir.File("empty.wav"));
    ScriptedUi ui;
    ScopedUi scope(ui);
    EXPECT_EQ(RunStreamedEdit(dir.File("empty.wav"), dir.File("out.wav"), StreamedEdit{}), std::nullopt);
    EXPECT_EQ(RunStreamedEdit(dir.File("missing.wav"), dir.File("out.wav"), StreamedEdit{}), std::nullopt);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));
}
