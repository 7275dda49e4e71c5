#pragma once

// A process-wide service (Ui, Shell, Settings): installed once at start-up by the GUI or the
// CLI, and replaced by tests for their scope. T::Fallback() serves when nothing is installed.
// A worker thread may install its own for its scope (ThreadScope); it then sees only that one.
template <class T> class Service {
    static T*& Slot() {
        static T* installed = nullptr;
        return installed;
    }
    static T*& ThreadSlot() {
        thread_local T* own = nullptr;
        return own;
    }

    // Installs a service in a slot for the lifetime of this object and puts the previous one back
    // afterwards.
    template <T*& (*Which)()> class Installed {
    public:
        explicit Installed(T& service) : m_pPrevious(Which()) { Which() = &service; }
        ~Installed() { Which() = m_pPrevious; }
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;

    private:
        T* m_pPrevious;
    };

public:
    static T& Get() {
        if (T* own = ThreadSlot())
            return *own;
        return Slot() ? *Slot() : T::Fallback();
    }

    // For the whole process.
    using Scope = Installed<&Service::Slot>;
    // For the calling thread only.
    using ThreadScope = Installed<&Service::ThreadSlot>;
};
