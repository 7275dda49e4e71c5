#include "platform/CommitQueue.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteAndCommit(const std::string& path, const std::string& text) {
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(text.data(), text.size()) && writer.Commit();
}
} // namespace

// More files than the queue holds at once, from two threads, with one target taken by a
// directory: every other file arrives whole, the one that cannot be placed is reported, and no
// temporary file is left.
TEST(CommitQueue, EveryFileHandedOverArrivesOrIsReported) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("f7"));
    std::mutex mutex;
    std::vector<std::pair<std::string, int>> failures;
    {
        CommitQueue queue([&](const std::string& path, int error) {
            std::lock_guard lock(mutex);
            failures.emplace_back(path, error);
        });
        auto writeHalf = [&](int first) {
            CommitQueue::ThreadScope scope(queue);
            for (int i = first; i < 40; i += 2)
                EXPECT_TRUE(WriteAndCommit(dir.File("f" + std::to_string(i)), "file " + std::to_string(i)));
        };
        std::thread other(writeHalf, 1);
        writeHalf(0);
        other.join();
        queue.Finish();
        EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{dir.File("f7"), EISDIR}}));
    }
    for (int i = 0; i < 40; ++i) {
        if (i == 7)
            continue;
        EXPECT_EQ(Contents(dir.File("f" + std::to_string(i))), "file " + std::to_string(i)) << i;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("f7")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 40);

    // Without a queue on the thread, the commit is whole when it returns, and says when it fails.
    EXPECT_TRUE(WriteAndCommit(dir.File("g"), "now"));
    EXPECT_EQ(Contents(dir.File("g")), "now");
    AtomicFileWriter blocked(dir.File("f7"));
    ASSERT_TRUE(blocked.Open());
    EXPECT_FALSE(blocked.Commit());
    EXPECT_TRUE(blocked.PlacingFailed());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 41);
}

// Files waiting in the queue when the batch is stopped leave no temporary file behind, and their
// targets keep what they held.
TEST(CommitQueue, AStopWhileFilesWaitLeavesNoTemporaryFile) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("blocked"));
    for (int i = 0; i < 3; ++i)
        std::ofstream(dir.File("f" + std::to_string(i))) << "old";
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The queue's thread stays in its report of the first failure, so what follows waits.
        std::promise<void> stuck;
        CommitQueue queue([&](const std::string&, int) {
            stuck.set_value();
            for (;;)
                ::pause();
        });
        CommitQueue::ThreadScope scope(queue);
        WriteAndCommit(dir.File("blocked"), "x");
        stuck.get_future().wait();
        for (int i = 0; i < 3; ++i)
            WriteAndCommit(dir.File("f" + std::to_string(i)), "new");
        [[maybe_unused]] ssize_t written = ::write(pipeFds[1], "\n", 1);
        for (;;)
            ::pause();
    }
    ::close(pipeFds[1]);
    char c = 0;
    ASSERT_EQ(::read(pipeFds[0], &c, 1), 1);
    ::close(pipeFds[0]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 7);
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Contents(dir.File("f" + std::to_string(i))), "old") << i;
}
