#include "layer/LayerDoc.h"

#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
constexpr std::size_t kMillion = 1'000'000;

void WriteWav(const std::string& path, std::size_t frames, bool stereo = false) {
    WavBuilder()
        .Fmt(stereo ? 2 : 1)
        .Data(std::vector<std::int16_t>(frames * (stereo ? 2 : 1), 0))
        .WriteTo(path);
}

class SampleCacheTest : public ::testing::Test {
protected:
    // An entry named `name` for dir/name.wav on key `key` of the layer.
    CSample* Map(const std::string& name, std::uint16_t key, std::string path = "") {
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = path.empty() ? dir.File(name + ".wav") : path;
        CSample* entry = sample.get();
        doc.AddSample(name, std::move(sample));
        layer.m_keys.Set(key, entry);
        return entry;
    }
    bool Loaded(const std::string& name) const { return doc.FindSample(name)->GetDocument() != nullptr; }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CLayerDoc doc;
    CLayer layer;
};

// Writes the sound file the first time a load of it has failed `failures` times.
class FileAppearsUi : public ScriptedUi {
public:
    FileAppearsUi(std::string path, int failures) : m_strPath(std::move(path)), m_nFailures(failures) {}
    void Message(const std::string& text, MessageIcon icon) override {
        ScriptedUi::Message(text, icon);
        if (text == "Error opening file" && --m_nFailures == 0)
            WriteWav(m_strPath, 10);
    }

private:
    std::string m_strPath;
    int m_nFailures;
};
} // namespace

TEST_F(SampleCacheTest, LoadsOnDemandAndCountsTheAudioBytes) {
    WriteWav(dir.File("mono.wav"), 1000);
    WriteWav(dir.File("stereo.wav"), 1000, true);
    CSample* mono = Map("mono", 60);
    Map("stereo", 61);

    EXPECT_EQ(doc.GetSampleDocument(layer, 59), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 0u);

    EXPECT_EQ(doc.GetSampleDocument(layer, 60), mono);
    ASSERT_NE(mono->GetDocument(), nullptr);
    EXPECT_EQ(mono->GetDocument()->m_nFrames, 1000u);
    EXPECT_EQ(doc.LoadedBytes(), 2000u);
    CSampleDoc* loaded = mono->GetDocument();
    EXPECT_EQ(doc.GetSampleDocument(layer, 60), mono);
    EXPECT_EQ(mono->GetDocument(), loaded);
    EXPECT_EQ(doc.LoadedBytes(), 2000u);
    ASSERT_NE(doc.GetSampleDocument(layer, 61), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 6000u);

    // Giving an entry the document it holds keeps it alive.
    mono->SetDocument(std::unique_ptr<CSampleDoc>(loaded));
    EXPECT_EQ(mono->GetDocument(), loaded);
    EXPECT_EQ(loaded->m_nFrames, 1000u);

    // Deleting a loaded entry takes its bytes off.
    EXPECT_TRUE(doc.DeleteSample("mono"));
    EXPECT_EQ(doc.LoadedBytes(), 4000u);
    doc.ReleaseAll();
    EXPECT_EQ(doc.LoadedBytes(), 0u);
    EXPECT_FALSE(Loaded("stereo"));
    EXPECT_FALSE(doc.ReleaseOldest());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleCacheTest, ReleasesTheOldestUntilAtOrBelowTheLimitBeforeALoad) {
    // Four of 2,000,000 bytes reach the limit exactly; the next load goes beyond it.
    for (const char* name : {"a", "b", "c", "d", "f"})
        WriteWav(dir.File(std::string(name) + ".wav"), kMillion);
    WriteWav(dir.File("e.wav"), kMillion, true);
    std::uint16_t key = 0;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        Map(name, key++);

    for (std::uint16_t k = 0; k < 4; ++k)
        ASSERT_NE(doc.GetSampleDocument(layer, k), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), CLayerDoc::kCacheLimit);
    ASSERT_NE(doc.GetSampleDocument(layer, 4), nullptr); // at the limit: nothing released
    EXPECT_EQ(doc.LoadedBytes(), 12'000'000u);
    EXPECT_TRUE(Loaded("a"));
    ASSERT_NE(doc.GetSampleDocument(layer, 0), nullptr); // already loaded: stays oldest

    ASSERT_NE(doc.GetSampleDocument(layer, 5), nullptr);
    EXPECT_FALSE(Loaded("a"));
    EXPECT_FALSE(Loaded("b"));
    EXPECT_TRUE(Loaded("c"));
    EXPECT_TRUE(Loaded("f"));
    EXPECT_EQ(doc.LoadedBytes(), 10'000'000u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleCacheTest, AFailedLoadIsRetriedAfterEachRelease) {
    WriteWav(dir.File("a.wav"), 100);
    WriteWav(dir.File("b.wav"), 100);
    Map("a", 1);
    Map("b", 2);
    Map("late", 3);
    for (std::uint16_t k : {1, 2})
        ASSERT_NE(doc.GetSampleDocument(layer, k), nullptr);

    // The file turns up after the second failure: the third try, after two releases, loads it.
    FileAppearsUi appears(dir.File("late.wav"), 2);
    {
        ScopedUi local(appears);
        EXPECT_EQ(doc.GetSampleDocument(layer, 3), doc.FindSample("late"));
    }
    EXPECT_EQ(appears.Messages(), (std::vector<std::string>{"Error opening file", "Error opening file"}));
    EXPECT_FALSE(Loaded("a"));
    EXPECT_FALSE(Loaded("b"));
    EXPECT_EQ(doc.LoadedBytes(), 20u);

    // A file that never turns up empties the cache, then gives up.
    Map("gone", 4);
    EXPECT_EQ(doc.GetSampleDocument(layer, 4), nullptr);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Error opening file", "Error opening file",
                                                       "Could not load " + dir.File("gone.wav")}));
    EXPECT_EQ(doc.LoadedBytes(), 0u);
}

TEST_F(SampleCacheTest, APathWrittenOnWindowsIsTriedWithSlashes) {
    std::filesystem::create_directories(dir.Path() / "SAM");
    WriteWav(dir.File("SAM/x.wav"), 10);
    Map("x", 7, dir.Path().string() + "\\SAM\\x.wav");
    Map("missing", 8, "E:\\SAM\\\xE9.wav");
    ASSERT_NE(doc.GetSampleDocument(layer, 7), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 20u);
    EXPECT_EQ(doc.FindSample("x")->GetPath(), dir.Path().string() + "\\SAM\\x.wav");
    EXPECT_EQ(doc.GetSampleDocument(layer, 8), nullptr);
    EXPECT_EQ(ui.Messages().back(), "Could not load E:\\SAM\\\xC3\xA9.wav");
}
