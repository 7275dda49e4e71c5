#include "platform/DialogValidation.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
// The text without surrounding spaces; a leading '+' is allowed, as the dialog framework allows it.
std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    std::string core = text.substr(first, last - first + 1);
    if (core.size() > 1 && core[0] == '+')
        core.erase(0, 1);
    return core;
}

template <class T> std::optional<T> ParseWhole(const std::string& text) {
    std::string core = Trimmed(text);
    T value{};
    const char* end = core.data() + core.size();
    auto [stop, error] = std::from_chars(core.data(), end, value);
    if (core.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}
} // namespace

std::variant<long long, std::string> ValidateInteger(const std::string& text, long long low, long long high) {
    std::optional<long long> value = ParseWhole<long long>(text);
    if (!value)
        return std::string("Please enter an integer.");
    if (*value < low || *value > high)
        return RangeMessage(low, high);
    return *value;
}

std::variant<std::uint32_t, std::string> ValidateUnsigned(const std::string& text) {
    std::optional<std::uint32_t> value = ParseWhole<std::uint32_t>(text);
    if (!value)
        return std::string("Please enter a positive integer.");
    return *value;
}

std::variant<double, std::string> ValidateReal(const std::string& text, double low, double high) {
    // Whatever the user's locale, the decimal point is '.'.
    std::optional<double> parsed = ParseWhole<double>(text);
    if (!parsed || !std::isfinite(*parsed))
        return std::string("Please enter a number.");
    double value = *parsed;
    if (value < low || value > high) {
        char message[128];
        std::snprintf(message, sizeof message, "Please enter a number between %.15g and %.15g.", low, high);
        return std::string(message);
    }
    return value;
}
std::variant<std::uint32_t, std::string> ValidateUnsignedInRange(const std::string& text, std::uint32_t low,
                                                                 std::uint32_t high) {
    std::variant<std::uint32_t, std::string> value = ValidateUnsigned(text);
    if (auto* number = std::get_if<std::uint32_t>(&value); number && (*number < low || *number > high))
        return RangeMessage(low, high);
    return value;
}

std::string RangeMessage(long long low, long long high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}
