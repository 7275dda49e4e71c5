#include "app/Preferences.h"

#include "platform/IniSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
std::string Contents(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(Preferences, DefaultsWithoutASettingsFile) {
    TempDir dir;
    IniSettings settings(dir.File("wloe.ini"));
    Preferences preferences = Preferences::Load(settings);
    EXPECT_EQ(preferences.sampleRoot, "");
    EXPECT_EQ(preferences.minLoopPlay, 300u);
}

TEST(Preferences, OnlyChangedKeysAreWritten) {
    TempDir dir;
    std::string path = dir.File("wloe.ini");
    IniSettings settings(path);
    Preferences preferences = Preferences::Load(settings);
    preferences.Apply(preferences, settings);
    EXPECT_FALSE(std::filesystem::exists(path));

    Preferences entered = preferences;
    entered.minLoopPlay = 0;
    preferences.Apply(entered, settings);
    EXPECT_EQ(Contents(path), "[General]\nMinLoopPlay=0\n");
    entered.sampleRoot = "/samples";
    preferences.Apply(entered, settings);
    EXPECT_EQ(Contents(path), "[General]\nMinLoopPlay=0\nSamplePathRoot=/samples\n");

    IniSettings reread(path);
    Preferences loaded = Preferences::Load(reread);
    EXPECT_EQ(loaded.minLoopPlay, 0u);
    EXPECT_EQ(loaded.sampleRoot, "/samples");
}

TEST(Preferences, TheUndoMemoryIsKeptInMegabytesAndNeverZero) {
    TempDir dir;
    std::string path = dir.File("wloe.ini");
    IniSettings settings(path);
    Preferences preferences = Preferences::Load(settings);
    EXPECT_EQ(preferences.UndoBudget(), std::size_t{512} * 1024 * 1024);
    Preferences entered = preferences;
    entered.undoMemoryMb = 64;
    preferences.Apply(entered, settings);
    EXPECT_EQ(Contents(path), "[General]\nUndoMemoryMB=64\n");
    IniSettings reread(path);
    EXPECT_EQ(Preferences::Load(reread).UndoBudget(), std::size_t{64} * 1024 * 1024);

    std::ofstream(path) << "[General]\nUndoMemoryMB=0\n";
    IniSettings zero(path);
    EXPECT_EQ(Preferences::Load(zero).undoMemoryMb, 512u) << "no memory at all would keep no step";
}
