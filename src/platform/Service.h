#pragma once

// A process-wide service (Ui, Shell, Settings): installed once at start-up by the GUI or the
// CLI, and replaced by tests for their scope. T::Fallback() serves when nothing is installed.
template <class T> class Service {
public:
    static T& Get() { return Slot() ? *Slot() : T::Fallback(); }

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

private:
    static T*& Slot() {
        static T* installed = nullptr;
        return installed;
    }
};
