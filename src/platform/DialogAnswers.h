#pragma once

#include <any>
#include <deque>
#include <optional>
#include <typeinfo>

// GCC 12's optimiser takes the vector inside a moved optional answer for uninitialized (a false
// alarm that breaks optimised builds).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Answers to typed dialog requests given in advance, in order: by a test's script, or by
// wloe-cli from its command line. Each answer is the dialog's values, or nothing for Cancel.
class DialogAnswers {
public:
    template <class T> void Queue(std::optional<T> answer) { m_answers.emplace_back(std::move(answer)); }

    // The next answer when it is one for a dialog of type T.
    template <class T> std::optional<std::optional<T>> Take() {
        if (m_answers.empty())
            return std::nullopt;
        auto* answer = std::any_cast<std::optional<T>>(&m_answers.front());
        if (!answer)
            return std::nullopt;
        std::optional<T> value = std::move(*answer);
        m_answers.pop_front();
        return value;
    }

    bool Empty() const { return m_answers.empty(); }
    void Clear() { m_answers.clear(); }

private:
    std::deque<std::any> m_answers;
};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
