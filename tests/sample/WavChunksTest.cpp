#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "sample/SmplChunk.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

struct FileChunk {
    std::string id;
    Bytes bytes;
    bool operator==(const FileChunk&) const = default;
};

std::uint32_t Le32(const std::string& s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at]) |
                                      static_cast<std::uint8_t>(s[at + 1]) << 8 |
                                      static_cast<std::uint8_t>(s[at + 2]) << 16 |
                                      static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24);
}

// The chunks of a written file, read independently of the reader under test; every size must add
// up to the RIFF size, pad bytes included.
std::vector<FileChunk> ChunksOf(const std::string& path) {
    std::string file = FileBytes(path);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(file, 4) + 8, file.size()) << "the RIFF size";
    std::vector<FileChunk> chunks;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        std::uint32_t size = Le32(file, at + 4);
        EXPECT_LE(at + 8 + size, file.size());
        chunks.push_back({file.substr(at, 4), Bytes(file.begin() + at + 8, file.begin() + at + 8 + size)});
        at += 8 + size + (size & 1);
        if ((size & 1) != 0) {
            EXPECT_EQ(file[at - 1], 0) << "pad byte after " << chunks.back().id;
        }
    }
    return chunks;
}

Strings Ids(const std::vector<FileChunk>& chunks) {
    Strings ids;
    for (const FileChunk& chunk : chunks)
        ids.push_back(chunk.id);
    return ids;
}

const FileChunk& Find(const std::vector<FileChunk>& chunks, const std::string& id) {
    for (const FileChunk& chunk : chunks)
        if (chunk.id == id)
            return chunk;
    static const FileChunk none;
    ADD_FAILURE() << "no chunk " << id;
    return none;
}

Bytes Le(std::initializer_list<std::uint32_t> values) {
    Bytes bytes;
    for (std::uint32_t value : values)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return bytes;
}

// A cue chunk with points at these frames.
Bytes Cue(std::initializer_list<std::uint32_t> frames) {
    Bytes bytes = Le({static_cast<std::uint32_t>(frames.size())});
    std::uint32_t id = 1;
    for (std::uint32_t frame : frames) {
        Bytes point = Le({id++, frame, 0x61746164 /* "data" */, 0, 0, frame});
        bytes.insert(bytes.end(), point.begin(), point.end());
    }
    return bytes;
}

Bytes Smpl(std::uint32_t note, std::uint32_t fraction, std::vector<SmplLoop> loops, Bytes samplerData = {}) {
    SmplChunk smpl;
    smpl.manufacturer = 0x01000047;
    smpl.product = 7;
    smpl.samplePeriod = 22676;
    smpl.unityNote = note;
    smpl.pitchFraction = fraction;
    smpl.smpteFormat = 25;
    smpl.smpteOffset = 0x01020304;
    smpl.loops = std::move(loops);
    smpl.samplerData = std::move(samplerData);
    return smpl.Bytes();
}

const Bytes kList = {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 6, 0, 0, 0, 'S', 'w', 'e', 'e', 'p', 0};
const Bytes kBext = Bytes(602, 0x42);
const Bytes kAcid = Le({1, 60, 0, 0, 4, 0x00040004, 0x42F00000});

class WavChunksTest : public ::testing::Test {
protected:
    bool Open(const WavBuilder& builder) {
        builder.WriteTo(dir.File("in.wav"));
        return doc.OnOpenDocument(dir.File("in.wav"));
    }
    std::vector<FileChunk> Saved() {
        EXPECT_TRUE(doc.OnSaveDocument(dir.File("out.wav")));
        return ChunksOf(dir.File("out.wav"));
    }
    std::optional<SmplChunk> SavedSmpl() { return SmplChunk::Parse(Find(Saved(), "smpl").bytes); }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(WavChunksTest, EveryOtherChunkSurvivesASaveByteForByteOnItsSideOfTheAudio) {
    ASSERT_TRUE(Open(WavBuilder()
                         .Fmt(2)
                         .Chunk("LIST", kList)
                         .Chunk("bext", kBext)
                         .Chunk("cue ", Cue({10, 900}))
                         .Chunk("odd1", {1, 2, 3, 4, 5})
                         .Velo({})
                         .Data(WavBuilder::Ramp(2 * 1000))
                         .Chunk("acid", kAcid)
                         .Chunk("odd2", {7, 8, 9})));
    ASSERT_EQ(doc.SetSampleStop(950), PointResult::Changed);
    ASSERT_EQ(doc.SetLoopStart(100), PointResult::Changed);

    std::vector<FileChunk> saved = Saved();
    EXPECT_EQ(Ids(saved),
              (Strings{"fmt ", "LIST", "bext", "cue ", "odd1", "vElO", "data", "acid", "odd2", "smpl"}));
    EXPECT_EQ(Find(saved, "LIST").bytes, kList);
    EXPECT_EQ(Find(saved, "bext").bytes, kBext);
    EXPECT_EQ(Find(saved, "cue ").bytes, Cue({10, 900}));
    EXPECT_EQ(Find(saved, "odd1").bytes, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(Find(saved, "acid").bytes, kAcid);
    EXPECT_EQ(Find(saved, "odd2").bytes, (Bytes{7, 8, 9}));

    // A second round keeps them again, and a file we wrote ourselves keeps its order.
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("out.wav")));
    EXPECT_EQ(Ids(Saved()), Ids(saved));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(WavChunksTest, CuePointsFollowAnEditThatMovesTheAudioOrGoWithANote) {
    auto open = [&] {
        ASSERT_TRUE(
            Open(WavBuilder().Fmt(1, 44100).Chunk("cue ", Cue({1000, 3000})).Data(WavBuilder::Ramp(4000))));
    };
    open();
    ResampleValues values = doc.ResampleDialogValues();
    values.rate = 22050;
    values.method = ResampleMethod::Linear;
    ASSERT_TRUE(doc.Resample(values));
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({500, 1500})) << "rescaled to the new rate";
    EXPECT_TRUE(ui.Messages().empty());

    // Truncating keeps the points inside the kept audio true, counted from its new start...
    open();
    doc.SetSampleRange(500, 3000);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({500, 2500}));
    EXPECT_TRUE(ui.Messages().empty());
    // A sample count is just the new one.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("fact", Le({4000})).Data(WavBuilder::Ramp(4000))));
    doc.SetSampleRange(500, 3000);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Find(Saved(), "fact").bytes, Le({3000}));

    // ... and drops a chunk with a point it cut away, saying so.
    open();
    doc.SetSampleRange(1500, 2000);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Ids(Saved()), (Strings{"fmt ", "vElO", "data", "smpl"}));
    EXPECT_EQ(ui.Messages(), Strings{"Cue points dropped: they no longer fit the audio"});

    // Labelled regions hang on the cue points: their lengths follow the audio, and they go with them.
    auto openLabelled = [&] {
        Bytes ltxt = Le({0x7478746C /* "ltxt" */, 20, 2, 1000, 0, 0, 0});
        Bytes labl = Le({0x6C62616C /* "labl" */, 6, 1});
        Bytes list = Le({0x6C746461 /* "adtl" */});
        list.insert(list.end(), ltxt.begin(), ltxt.end());
        list.insert(list.end(), labl.begin(), labl.end());
        list.insert(list.end(), {'A', 0});
        EXPECT_TRUE(Open(WavBuilder()
                             .Fmt(1, 44100)
                             .Chunk("cue ", Cue({1000, 3000}))
                             .Data(WavBuilder::Ramp(4000))
                             .Chunk("LIST", list)));
        return list;
    };
    Bytes list = openLabelled();
    ASSERT_TRUE(doc.Resample(values));
    list[16] = 0xF4; // 1000 frames from cue point 2 at 3000 become 500 from 1500
    list[17] = 0x01;
    EXPECT_EQ(Find(Saved(), "LIST").bytes, list);
    openLabelled();
    doc.SetSampleRange(1500, 2000);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Ids(Saved()), (Strings{"fmt ", "vElO", "data", "smpl"}));
    // A region reaching beyond the kept audio cannot be kept true either.
    openLabelled();
    doc.SetSampleRange(0, 3500);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Ids(Saved()), (Strings{"fmt ", "cue ", "vElO", "data", "smpl"}));
    EXPECT_EQ(ui.Messages().back(), "Labelled regions dropped: they no longer fit the audio");

    // Audio synthesized in place of the old names none of its frames.
    open();
    SynthesizeValues synth;
    synth.mode = SynthesizeValues::Mode::Replace;
    synth.length = 10;
    ASSERT_TRUE(doc.Synthesize(synth));
    EXPECT_EQ(Ids(Saved()), (Strings{"fmt ", "vElO", "data", "smpl"}));

    // Edits that leave every frame where it was keep the chunk as it came.
    open();
    doc.SetLoopRange(1500, 1000);
    ASSERT_TRUE(doc.OnNormalize());
    ASSERT_TRUE(doc.CrossfadeLoop(5, 1));
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({1000, 3000}));
}

TEST_F(WavChunksTest, ASamplerChunkGivesLoopAndPitchWhenTheFileHasNoInformationChunk) {
    auto audio = WavBuilder::Ramp(1000);
    // C 4 and half a semitone; the loop's end is its last frame.
    ASSERT_TRUE(
        Open(WavBuilder().Fmt().Data(audio).Chunk("smpl", Smpl(60, 0x80000000u, {{0, 0, 100, 599, 0, 0}}))));
    EXPECT_EQ(doc.m_nLoopStart, 100u);
    EXPECT_EQ(doc.m_nLoopLength, 500u);
    EXPECT_NEAR(doc.m_dPitch, 261.6255653 * std::pow(2.0, 0.5 / 12), 1e-6);
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(doc.m_nLength, 1000u);

    // The first forward loop counts: backward and alternating ones before it are passed over.
    ASSERT_TRUE(Open(WavBuilder()
                         .Fmt()
                         .Chunk("smpl", Smpl(69, 0,
                                             {{0, 2, 10, 20, 0, 0},
                                              {0, 1, 30, 40, 0, 0},
                                              {0, 0, 200, 299, 0, 0},
                                              {0, 0, 400, 499, 0, 0}}))
                         .Data(audio)));
    EXPECT_EQ(doc.m_nLoopStart, 200u);
    EXPECT_EQ(doc.m_nLoopLength, 100u);
    EXPECT_EQ(doc.m_dPitch, 440.0);

    // No forward loop at all: no loop.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("smpl", Smpl(69, 0, {{0, 2, 10, 20, 0, 0}})).Data(audio)));
    EXPECT_EQ(doc.m_nLoopLength, 0u);

    // With both chunks our own wins.
    ASSERT_TRUE(Open(WavBuilder()
                         .Fmt()
                         .Velo({0, 0, 300.0, 50, 60})
                         .Data(audio)
                         .Chunk("smpl", Smpl(60, 0, {{0, 0, 100, 599, 0, 0}}))));
    EXPECT_EQ(doc.m_nLoopStart, 50u);
    EXPECT_EQ(doc.m_nLoopLength, 60u);
    EXPECT_EQ(doc.m_dPitch, 300.0);

    // A chunk too short for its fixed part, or claiming loops it does not hold, does no harm.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("smpl", Bytes(20, 0xFF)).Data(audio)));
    EXPECT_EQ(doc.m_dPitch, 440.0);
    Bytes claims = Smpl(60, 0, {});
    claims[28] = 200;
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("smpl", claims).Data(audio)));
    EXPECT_EQ(doc.m_nLoopLength, 0u);
    // A loop beyond the audio is cut to it.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("smpl", Smpl(60, 0, {{0, 0, 900, 5000, 0, 0}})).Data(audio)));
    EXPECT_EQ(doc.m_nLoopStart + doc.m_nLoopLength, 1000u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(WavChunksTest, TheWrittenSamplerChunkTellsTheDocumentsLoopAndPitch) {
    ASSERT_TRUE(Open(WavBuilder().Fmt(1, 48000).Data(WavBuilder::Ramp(1000))));
    doc.SetLoopRange(250, 500);
    doc.SetPitch(261.6255653 * std::pow(2.0, 0.25 / 12)); // C 4 and a quarter
    std::optional<SmplChunk> smpl = SavedSmpl();
    ASSERT_TRUE(smpl);
    EXPECT_EQ(smpl->samplePeriod, 20833u);
    EXPECT_EQ(smpl->unityNote, 60u);
    EXPECT_NEAR(smpl->pitchFraction, 0x40000000u, 2);
    ASSERT_EQ(smpl->loops.size(), 1u);
    EXPECT_EQ(smpl->loops[0].type, SmplLoop::kForward);
    EXPECT_EQ(smpl->loops[0].start, 250u);
    EXPECT_EQ(smpl->loops[0].end, 749u);

    doc.OnClearLoop();
    smpl = SavedSmpl();
    ASSERT_TRUE(smpl);
    EXPECT_TRUE(smpl->loops.empty());
    // A pitch just below a note is not written as the note below with a whole semitone.
    doc.SetPitch(440.0 * std::pow(2.0, -1e-12));
    smpl = SavedSmpl();
    EXPECT_EQ(smpl->unityNote * 4294967296.0 + smpl->pitchFraction, 69 * 4294967296.0);
}

TEST_F(WavChunksTest, TheFilesOwnSamplerChunkKeepsItsOtherFieldsAndPlace) {
    Bytes samplerData = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(
        Open(WavBuilder()
                 .Fmt()
                 .Chunk("smpl", Smpl(60, 0, {{0, 0, 10, 19, 0, 0}, {0, 0, 30, 39, 0, 0}}, samplerData))
                 .Data(WavBuilder::Ramp(100))
                 .Chunk("LIST", kList)));
    doc.SetLoopRange(40, 20);
    std::vector<FileChunk> saved = Saved();
    EXPECT_EQ(Ids(saved), (Strings{"fmt ", "smpl", "vElO", "data", "LIST"}));
    std::optional<SmplChunk> smpl = SmplChunk::Parse(Find(saved, "smpl").bytes);
    ASSERT_TRUE(smpl);
    EXPECT_EQ(smpl->manufacturer, 0x01000047u);
    EXPECT_EQ(smpl->product, 7u);
    EXPECT_EQ(smpl->smpteFormat, 25u);
    EXPECT_EQ(smpl->smpteOffset, 0x01020304u);
    EXPECT_EQ(smpl->samplerData, samplerData);
    EXPECT_EQ(smpl->samplePeriod, 22676u);
    ASSERT_EQ(smpl->loops.size(), 1u) << "only the document's loop is true now";
    EXPECT_EQ(smpl->loops[0].start, 40u);
    EXPECT_EQ(smpl->loops[0].end, 59u);

    // The archive form carries no chunks of other programs.
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("out.sam")));
    CSampleDoc archived;
    ASSERT_TRUE(archived.OnOpenDocument(dir.File("out.sam")));
    EXPECT_TRUE(archived.m_wavChunks.chunks.empty());
}

TEST_F(WavChunksTest, ExtensibleSixteenBitPcmOpensAndIsSavedPlain) {
    auto extensible = [](std::uint16_t channels, std::uint16_t bits, std::uint8_t subFormat) {
        Bytes fmt;
        auto put = [&fmt](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                fmt.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        put(0xFFFE, 2);
        put(channels, 2);
        put(44100, 4);
        put(44100u * channels * bits / 8, 4);
        put(channels * bits / 8u, 2);
        put(bits, 2);
        put(22, 2);
        put(bits, 2);
        put(channels == 2 ? 3 : 4, 4);
        fmt.insert(fmt.end(), {subFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
        return fmt;
    };
    auto audio = WavBuilder::Ramp(2 * 300);
    ASSERT_TRUE(Open(WavBuilder().Chunk("fmt ", extensible(2, 16, 1)).Data(audio)));
    EXPECT_TRUE(doc.m_bStereo);
    EXPECT_EQ(doc.m_nFrames, 300u);
    EXPECT_EQ(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + 600), audio);
    std::vector<FileChunk> saved = Saved();
    EXPECT_EQ(Find(saved, "fmt ").bytes.size(), 16u);
    EXPECT_EQ(Find(saved, "fmt ").bytes[0], 1);

    // Float in the same wrapping, or 24 bits, is still refused as the plain reader refuses it; the
    // program's hint says how to convert it.
    CSampleDoc::SetFormatRefusalHint("Use Import > Audio file... to convert it.");
    for (const Bytes& fmt : {extensible(2, 16, 3), extensible(1, 24, 1), extensible(3, 16, 1)}) {
        WavBuilder().Chunk("fmt ", fmt).Data(audio).WriteTo(dir.File("x.wav"));
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_FALSE(doc.OnOpenDocument(dir.File("x.wav")));
        EXPECT_EQ(caseUi.Messages(),
                  Strings{"Format chunk has unexpected size\nUse Import > Audio file... to convert it."});
    }
    WavBuilder().Fmt(1, 44100, 24).Data(audio).WriteTo(dir.File("x.wav"));
    ScriptedUi caseUi;
    ScopedUi caseScope(caseUi);
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("x.wav")));
    EXPECT_EQ(caseUi.Messages(),
              Strings{"Can't handle other than 16-bit audio!\nUse Import > Audio file... to convert it."});
    CSampleDoc::SetFormatRefusalHint("");
}

TEST_F(WavChunksTest, UndoBringsBackTheChunksAnEditRewroteOrDropped) {
    ASSERT_TRUE(
        Open(WavBuilder().Fmt(1, 44100).Chunk("cue ", Cue({1000, 3000})).Data(WavBuilder::Ramp(4000))));
    ResampleValues values = doc.ResampleDialogValues();
    values.rate = 22050;
    values.method = ResampleMethod::Linear;
    ASSERT_TRUE(doc.Resample(values));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({1000, 3000}));
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({500, 1500}));

    // A truncation that cut a point away dropped the chunk; its undo puts it back.
    ASSERT_TRUE(doc.Undo());
    doc.SetSampleRange(750, 1000);
    ASSERT_TRUE(doc.OnTruncate());
    EXPECT_EQ(Ids(Saved()), (Strings{"fmt ", "vElO", "data", "smpl"}));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Find(Saved(), "cue ").bytes, Cue({1000, 3000}));
}
