#include "layer/LayerDoc.h"

#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
void WriteWav(const std::string& path, std::size_t frames, bool stereo = false) {
    WavBuilder().Fmt(stereo ? 2 : 1).Data(std::vector<std::int16_t>(frames * (stereo ? 2 : 1))).WriteTo(path);
}

class SampleCacheTest : public ::testing::Test {
protected:
    // Maps key `key` to a new entry for `path` (default: dir/name.wav).
    void Map(const std::string& name, std::uint16_t key, std::string path = "") {
        auto sample = std::make_unique<CSample>();
        sample->m_strPath = path.empty() ? dir.File(name + ".wav") : path;
        layer.m_keys.Set(key, sample.get());
        doc.AddSample(name, std::move(sample));
    }
    bool Loaded(const std::string& name) const { return doc.FindSample(name)->GetDocument() != nullptr; }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CLayerDoc doc;
    CLayer layer;
};

// Writes the missing sound file once its load has failed `failures` times.
class FileAppearsUi : public ScriptedUi {
public:
    FileAppearsUi(std::string path, int failures) : m_strPath(std::move(path)), m_nFailures(failures) {}
    void Message(const std::string& text, MessageIcon icon) override {
        ScriptedUi::Message(text, icon);
        if (text.rfind("Error opening file\n", 0) == 0 && --m_nFailures == 0)
            WriteWav(m_strPath, 10);
    }

private:
    std::string m_strPath;
    int m_nFailures;
};
} // namespace

TEST_F(SampleCacheTest, LoadsOnDemandAndCountsTheAudioBytes) {
    std::filesystem::create_directories(dir.Path() / "SAM");
    WriteWav(dir.File("SAM/mono.wav"), 1000);
    WriteWav(dir.File("stereo.wav"), 1000, true);
    Map("mono", 60, dir.Path().string() + "\\SAM\\mono.wav"); // written on Windows
    Map("stereo", 61);

    EXPECT_EQ(doc.GetSampleDocument(layer, 59), nullptr);
    EXPECT_EQ(doc.GetSampleDocument(layer, 60), doc.FindSample("mono"));
    CSampleDoc* loaded = doc.FindSample("mono")->GetDocument();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 2000u);
    EXPECT_EQ(doc.GetSampleDocument(layer, 60)->GetDocument(), loaded);
    ASSERT_NE(doc.GetSampleDocument(layer, 61), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 6000u);

    doc.FindSample("mono")->SetDocument(std::unique_ptr<CSampleDoc>(loaded)); // the one it holds
    EXPECT_EQ(loaded->m_nFrames, 1000u);
    EXPECT_TRUE(doc.DeleteSample("mono"));
    EXPECT_EQ(doc.LoadedBytes(), 4000u);
    doc.ReleaseAll();
    EXPECT_EQ(doc.LoadedBytes(), 0u);
    EXPECT_FALSE(Loaded("stereo"));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleCacheTest, ReleasesTheOldestUntilAtOrBelowTheLimitBeforeALoad) {
    for (const char* name : {"a", "b", "c", "d", "f"})
        WriteWav(dir.File(std::string(name) + ".wav"), 1'000'000); // 2,000,000 bytes
    WriteWav(dir.File("e.wav"), 1'000'000, true);                  // 4,000,000 bytes
    std::uint16_t key = 0;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        Map(name, key++);

    for (std::uint16_t k = 0; k < 5; ++k) // the fifth finds the cache just at its limit
        ASSERT_NE(doc.GetSampleDocument(layer, k), nullptr);
    EXPECT_EQ(doc.LoadedBytes(), 12'000'000u);
    ASSERT_NE(doc.GetSampleDocument(layer, 0), nullptr); // already loaded: still the oldest
    ASSERT_NE(doc.GetSampleDocument(layer, 5), nullptr);
    EXPECT_FALSE(Loaded("a"));
    EXPECT_FALSE(Loaded("b"));
    EXPECT_TRUE(Loaded("c"));
    EXPECT_EQ(doc.LoadedBytes(), 10'000'000u);
}

TEST_F(SampleCacheTest, AFailedLoadIsRetriedAfterEachRelease) {
    WriteWav(dir.File("a.wav"), 100);
    WriteWav(dir.File("b.wav"), 100);
    Map("a", 1);
    Map("b", 2);
    Map("late", 3);
    Map("gone", 4, "E:\\SAM\\\xE9.wav");
    for (std::uint16_t k : {1, 2})
        ASSERT_NE(doc.GetSampleDocument(layer, k), nullptr);

    FileAppearsUi appears(dir.File("late.wav"), 2);
    {
        ScopedUi local(appears);
        EXPECT_EQ(doc.GetSampleDocument(layer, 3), doc.FindSample("late"));
    }
    const std::string notThere =
        "Error opening file\n" + dir.File("late.wav") + ": No such file or directory";
    EXPECT_EQ(appears.Messages(), (std::vector<std::string>{notThere, notThere}));
    EXPECT_FALSE(Loaded("a") || Loaded("b"));
    EXPECT_EQ(doc.LoadedBytes(), 20u);

    EXPECT_EQ(doc.GetSampleDocument(layer, 4), nullptr);
    const std::string gone = "Error opening file\nE:\\SAM\\\xC3\xA9.wav: No such file or directory";
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{gone, gone, "Could not load E:\\SAM\\\xC3\xA9.wav"}));
    EXPECT_EQ(doc.LoadedBytes(), 0u);
}
