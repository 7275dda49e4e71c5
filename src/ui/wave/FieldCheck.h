#pragma once

#include <optional>
#include <string>
#include <variant>

class QLineEdit;

// What the dialog framework does with a box that fails its check on OK: the message, then the
// focus back in the box with its text selected.
void RefuseField(QLineEdit* field, const std::string& message);

// The box's value when its check passed; otherwise the box is refused and there is none.
template <class T>
std::optional<T> CheckedField(QLineEdit* field, const std::variant<T, std::string>& checked) {
    if (const std::string* message = std::get_if<std::string>(&checked)) {
        RefuseField(field, *message);
        return std::nullopt;
    }
    return std::get<T>(checked);
}
