#pragma once

#include <any>
#include <deque>
#include <optional>
#include <typeindex>
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
    template <class T> void Queue(std::optional<T> answer) {
        m_answers.push_back({typeid(T), answer ? std::optional<std::any>(std::move(*answer)) : std::nullopt});
    }

    // The next answer when it is one for a dialog of this type.
    std::optional<std::optional<std::any>> Take(std::type_index type) {
        if (m_answers.empty() || m_answers.front().type != type)
            return std::nullopt;
        std::optional<std::any> value = std::move(m_answers.front().value);
        m_answers.pop_front();
        return value;
    }

    template <class T> std::optional<std::optional<T>> Take() {
        std::optional<std::optional<std::any>> answer = Take(typeid(T));
        if (!answer)
            return std::nullopt;
        if (!*answer)
            return std::optional<T>();
        return std::optional<T>(std::any_cast<T>(std::move(**answer)));
    }

    bool Empty() const { return m_answers.empty(); }
    void Clear() { m_answers.clear(); }

private:
    struct Queued {
        std::type_index type;
        std::optional<std::any> value;
    };
    std::deque<Queued> m_answers;
};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
