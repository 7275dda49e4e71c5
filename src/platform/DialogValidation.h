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

// A real number within [low, high]: the value, or "Please enter a number." / "Please enter a number
// between %1 and %2." (the bounds written as the framework writes them, "1e-06" and "1000000").
std::variant<double, std::string> ValidateReal(const std::string& text, double low, double high);
// An unsigned 32-bit number within [low, high]: the value, "Please enter a positive integer." when
// the text is not one, or "Please enter an integer between %1 and %2." when it lies outside.
std::variant<std::uint32_t, std::string> ValidateUnsignedInRange(const std::string& text, std::uint32_t low,
                                                                 std::uint32_t high);

// "Please enter an integer between %1 and %2." with the bounds.
std::string RangeMessage(long long low, long long high);
