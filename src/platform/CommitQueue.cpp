#include "platform/CommitQueue.h"

#include <fcntl.h>
#include <utility>

namespace {
// Files waiting or in hand at most; each holds a descriptor and one of the few places where a
// signal finds temporary files to remove.
constexpr std::size_t kMostPending = 8;

CommitQueue*& ThreadQueue() {
    thread_local CommitQueue* queue = nullptr;
    return queue;
}
} // namespace

CommitQueue::CommitQueue(FailedCommit failed) : m_failed(std::move(failed)), m_thread([this] { Run(); }) {}

CommitQueue::~CommitQueue() {
    {
        std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CommitQueue::Add(PendingCommit commit) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.size() + m_nInHand < kMostPending; });
    m_waiting.push_back(std::move(commit));
    m_changed.notify_all();
}

void CommitQueue::Finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && m_nInHand == 0; });
}

void CommitQueue::Run() {
    std::vector<PendingCommit> group;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_nInHand = 0;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return !m_waiting.empty() || m_bStopping; });
            if (m_waiting.empty())
                return;
            group.swap(m_waiting);
            m_nInHand = group.size();
        }
        // Every file's writing starts before the first sync waits, so the disk sees them together.
        for (const PendingCommit& commit : group)
            ::sync_file_range(::fileno(commit.file), 0, 0, SYNC_FILE_RANGE_WRITE);
        for (PendingCommit& commit : group) {
            bool placing = false;
            if (int error = CompleteCommit(commit, placing))
                m_failed(commit.path, error);
        }
        group.clear();
    }
}

CommitQueue* CommitQueue::ForThisThread() {
    return ThreadQueue();
}

CommitQueue::ThreadScope::ThreadScope(CommitQueue& queue)
    : m_pPrevious(std::exchange(ThreadQueue(), &queue)) {}

CommitQueue::ThreadScope::~ThreadScope() {
    ThreadQueue() = m_pPrevious;
}
