#include "platform/FileIo.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(FileIo, ReadingNamesTheCause) {
    TempDir dir;
    EXPECT_EQ(ReadWholeFile(dir.File("absent")).error, FileErrorCause::NotFound);
    EXPECT_EQ(ReadWholeFile(dir.Path().string()).error, FileErrorCause::AccessDenied);
    std::ofstream(dir.File("three")) << "abc";
    FileContents three = ReadWholeFile(dir.File("three"));
    EXPECT_EQ(three.error, FileErrorCause::None);
    EXPECT_EQ(three.bytes, (std::vector<std::uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(FileErrorText(FileErrorCause::NotFound, "/x/y.pat"), "/x/y.pat was not found.");
    EXPECT_EQ(FileErrorText(FileErrorCause::AccessDenied, "p"), "Access to p was denied.");
}

TEST(FileIo, AFailedWriteLeavesTheOldFile) {
    TempDir dir;
    std::string target = dir.File("bank.pat");
    std::ofstream(target) << "old";
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("new contents", 12));
        // Abandoned before Commit: as if the write had failed half-way.
    }
    EXPECT_EQ(Contents(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("xxxx-yyyy", 9));
    ASSERT_TRUE(writer.Seek(0));
    ASSERT_TRUE(writer.Write("RIFF", 4));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(Contents(target), "RIFF-yyyy");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(FileIo, WritingIntoAMissingDirectoryFails) {
    TempDir dir;
    AtomicFileWriter writer(dir.File("no/such/dir/x.wav"));
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.Error(), FileErrorCause::NotFound);
    EXPECT_FALSE(writer.Write("a", 1));
    EXPECT_FALSE(writer.Commit());
}

TEST(FileIo, ASavedFileKeepsThePermissionsOfTheOldOne) {
    TempDir dir;
    std::string target = dir.File("keep.lay");
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0640);
    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.Open() && writer.Write("new", 3) && writer.Commit());
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(FileIo, ASaveThroughALinkReplacesTheFileItNamesAndAReadOnlyFileIsRefused) {
    TempDir dir;
    std::ofstream(dir.File("real.lay")) << "old";
    std::filesystem::create_symlink("real.lay", dir.File("link.lay"));
    {
        AtomicFileWriter writer(dir.File("link.lay"));
        ASSERT_TRUE(writer.Open());
        EXPECT_EQ(
            std::filesystem::path(writer.TempPath()).filename().string().rfind(".real.lay.wloe-tmp-", 0), 0u)
            << writer.TempPath();
        ASSERT_TRUE(writer.Write("new", 3));
        ASSERT_TRUE(writer.Commit());
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.lay")));
    EXPECT_EQ(Contents(dir.File("real.lay")), "new");

    ::chmod(dir.File("real.lay").c_str(), 0444);
    AtomicFileWriter writer(dir.File("link.lay"));
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.Error(), FileErrorCause::ReadOnly);
    EXPECT_EQ(FileErrorText(writer.Error(), "real.lay"), "real.lay is read-only.");
    EXPECT_EQ(Contents(dir.File("real.lay")), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(FileIo, ASaveStoppedBySignalLeavesNoTemporaryFileAndTheOldFileWhole) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        std::string target = dir.File("sample.wav");
        std::ofstream(target) << "old";
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFileWriter writer(target);
            if (!writer.Open() || !writer.Write(std::vector<std::uint8_t>(1 << 20, 7)))
                ::_exit(3);
            std::string temp = writer.TempPath() + "\n";
            [[maybe_unused]] ssize_t written = ::write(pipeFds[1], temp.data(), temp.size());
            // Still saving when the signal comes.
            for (;;)
                ::pause();
        }
        ::close(pipeFds[1]);
        std::string temp;
        char c;
        while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
            temp += c;
        ::close(pipeFds[0]);
        ASSERT_FALSE(temp.empty());
        EXPECT_TRUE(std::filesystem::exists(temp));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_FALSE(std::filesystem::exists(temp)) << temp;
        EXPECT_EQ(Contents(target), "old");
    }
}
