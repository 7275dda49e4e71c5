#include "layer/SamplePath.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(SamplePath, WindowsPathsAreTriedWithSlashesWhenMissingAsWritten) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "sub");
    std::ofstream(dir.File("sub/a.wav")) << "x";
    const std::string root = dir.Path().string();

    EXPECT_EQ(SamplePathForOpening(root + "/sub/a.wav"), root + "/sub/a.wav");
    EXPECT_EQ(SamplePathForOpening(root + "\\sub\\a.wav"), root + "/sub/a.wav");
    // Missing either way: the path as written, for the message.
    EXPECT_EQ(SamplePathForOpening("E:\\SAM\\b.wav"), "E:\\SAM\\b.wav");
    // A name that really holds a backslash is taken as written.
    std::ofstream(dir.File("odd\\name.wav")) << "x";
    EXPECT_EQ(SamplePathForOpening(root + "/odd\\name.wav"), root + "/odd\\name.wav");
    // Windows-1252 names reach the file system as UTF-8.
    std::ofstream(dir.File("\xC3\xA9t\xC3\xA9.wav")) << "x";
    EXPECT_EQ(SamplePathForOpening(root + "\\\xE9t\xE9.wav"), root + "/\xC3\xA9t\xC3\xA9.wav");
}
