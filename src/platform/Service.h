#pragma once

// A process-wide service (Ui, Shell, Settings): installed once at start-up by the GUI or the
// CLI, and replaced by tests for their scope. T::Fallback() serves when nothing is installed.
// A worker thread may install its own for its scope (ThreadScope); it then sees only that one.
template <class T> class Service {
public:
    static T& Get() {
        if (T* own = ThreadSlot())
            return *own;
        return Slot() ? *Slot() : T::Fallback();
    }

    // Installs a service for the lifetime of this object and puts the previous one back afterwards.
    class Scope {
    public:
        explicit Scope(T& service) : m_pPrevious(Slot()) { Slot() = &service; }
        ~Scope() { Slot() = m_pPrevious; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        T* m_pPrevious;
    };

    // Installs a service for the calling thread only, for the lifetime of this object.
    class ThreadScope {
    public:
        explicit ThreadScope(T& service) : m_pPrevious(ThreadSlot()) { ThreadSlot() = &service; }
        ~ThreadScope() { ThreadSlot() = m_pPrevious; }
        ThreadScope(const ThreadScope&) = delete;
        ThreadScope& operator=(const ThreadScope&) = delete;

    private:
        T* m_pPrevious;
    };

private:
    static T*& ThreadSlot() {
        thread_local T* own = nullptr;
        return own;
    }
    static T*& Slot() {
        static T* installed = nullptr;
        return installed;
    }
};
