#include "sample/LevelDialogs.h"

#include "platform/DialogValidation.h"

#include <initializer_list>
#include <variant>

namespace {
std::optional<std::string> FirstOutside(std::initializer_list<int> values, long long low, long long high) {
    for (int value : values) {
        auto checked = ValidateInteger(std::to_string(value), low, high);
        if (auto* message = std::get_if<std::string>(&checked))
            return *message;
    }
    return std::nullopt;
}
} // namespace

std::optional<std::string> RangeMessage(const GainValues& v) {
    return FirstOutside({v.beginLeft, v.beginRight, v.endLeft, v.endRight}, GainValues::kLowest,
                        GainValues::kHighest);
}

std::optional<std::string> RangeMessage(const RemixValues& v) {
    return FirstOutside({v.leftFromLeft, v.leftFromRight, v.rightFromLeft, v.rightFromRight},
                        RemixValues::kLowest, RemixValues::kHighest);
}

std::optional<std::string> RangeMessage(const MonoValues& v) {
    return FirstOutside({v.left, v.right}, MonoValues::kLowest, MonoValues::kHighest);
}
