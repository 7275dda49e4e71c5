#pragma once

#include "platform/FileIo.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Syncs written files and puts them in place on a thread of its own, a group at a time, while the
// threads that wrote them go on working: a sync waits for the disk, and one journal commit can
// cover a whole group. Installed for a thread (ThreadScope), it takes over the last steps of every
// AtomicFileWriter::Commit made there.
class CommitQueue {
public:
    // Hears, on the queue's thread, of each file that could not be synced or put in place; its
    // temporary file is gone and its target untouched.
    using FailedCommit = std::function<void(const std::string& path, int error)>;

    explicit CommitQueue(FailedCommit failed);
    // Finishes every file handed over.
    ~CommitQueue();
    CommitQueue(const CommitQueue&) = delete;
    CommitQueue& operator=(const CommitQueue&) = delete;

    // Takes a file over; waits while the queue is full, so that open files stay few.
    void Add(PendingCommit commit);
    // Returns when every file handed over is in place or reported.
    void Finish();

    // The queue installed for the calling thread, if any.
    static CommitQueue* ForThisThread();

    class ThreadScope {
    public:
        explicit ThreadScope(CommitQueue& queue);
        ~ThreadScope();
        ThreadScope(const ThreadScope&) = delete;
        ThreadScope& operator=(const ThreadScope&) = delete;

    private:
        CommitQueue* m_pPrevious;
    };

private:
    void Run();

    FailedCommit m_failed;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<PendingCommit> m_waiting;
    std::size_t m_nInHand = 0; // taken by the queue's thread and not yet done
    bool m_bStopping = false;
    std::thread m_thread;
};
