#include "app/Preferences.h"

#include "platform/DialogValidation.h"

namespace {
constexpr const char* kSection = "General";
constexpr const char* kSampleRoot = "SamplePathRoot";
constexpr const char* kMinLoopPlay = "MinLoopPlay";
} // namespace

Preferences Preferences::Load(Settings& settings) {
    Preferences preferences;
    preferences.sampleRoot = settings.GetString(kSection, kSampleRoot, "");
    auto parsed = ValidateUnsigned(settings.GetString(kSection, kMinLoopPlay, ""));
    if (auto* value = std::get_if<std::uint32_t>(&parsed))
        preferences.minLoopPlay = *value;
    return preferences;
}

void Preferences::Apply(const Preferences& entered, Settings& settings) {
    if (entered.sampleRoot != sampleRoot) {
        sampleRoot = entered.sampleRoot;
        settings.SetString(kSection, kSampleRoot, sampleRoot);
    }
    if (entered.minLoopPlay != minLoopPlay) {
        minLoopPlay = entered.minLoopPlay;
        settings.SetString(kSection, kMinLoopPlay, std::to_string(minLoopPlay));
    }
}
