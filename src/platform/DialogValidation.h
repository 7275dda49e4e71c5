#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// The checks the dialog framework makes on OK, with its own messages. A field that fails keeps
// the dialog open with the message shown.

// A whole number within [low, high]: the value, or "Please enter an integer." /
// "Please enter an integer between %1 and %2." (with the bounds).
std::variant<long long, std::string> ValidateInteger(const std::string& text, long long low, long long high);

// An unsigned 32-bit number: the value, or "Please enter a positive integer.".
std::variant<std::uint32_t, std::string> ValidateUnsigned(const std::string& text);
