#include "app/Preferences.h"

#include "platform/DialogValidation.h"

namespace {
constexpr const char* kSection = "General";
constexpr const char* kSampleRoot = "SamplePathRoot";
constexpr const char* kMinLoopPlay = "MinLoopPlay";
constexpr const char* kUndoMemory = "UndoMemoryMB";
} // namespace

Preferences Preferences::Load(Settings& settings) {
    Preferences preferences;
    preferences.sampleRoot = settings.GetString(kSection, kSampleRoot, "");
    auto parsed = ValidateUnsigned(settings.GetString(kSection, kMinLoopPlay, ""));
    if (auto* value = std::get_if<std::uint32_t>(&parsed))
        preferences.minLoopPlay = *value;
    auto undo = ValidateUnsigned(settings.GetString(kSection, kUndoMemory, ""));
    if (auto* value = std::get_if<std::uint32_t>(&undo); value && *value != 0)
        preferences.undoMemoryMb = *value;
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
    if (entered.undoMemoryMb != undoMemoryMb && entered.undoMemoryMb != 0) {
        undoMemoryMb = entered.undoMemoryMb;
        settings.SetString(kSection, kUndoMemory, std::to_string(undoMemoryMb));
    }
}
