#include "sample/ResampleDialogs.h"

#include "platform/DialogValidation.h"

std::variant<std::uint32_t, std::string> ValidateSampleRate(const std::string& text) {
    return ValidateUnsignedInRange(text, kMinSampleRate, kMaxSampleRate);
}

std::optional<std::string> SampleRateProblem(std::uint32_t rate) {
    if (rate < kMinSampleRate || rate > kMaxSampleRate)
        return RangeMessage(kMinSampleRate, kMaxSampleRate);
    return std::nullopt;
}
