#include "cli/CliContext.h"
#include "sample/PitchNames.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>

namespace {
std::string Fixed6(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}
// A pitch is a frequency of 0 (no pitch) or more.
double ParseFrequency(const std::string& text) {
    double hz = ParseReal(text, "HZ");
    if (!std::isfinite(hz) || hz < 0)
        throw CliUsageError("HZ: not a frequency (0 or more, in Hz): " + text);
    return hz;
}
} // namespace

void AddPitchCommands(CLI::App& app, CliContext& context) {
    CLI::App* pitch = app.add_subcommand("pitch", "Name, parse and split pitches");
    pitch->require_subcommand(1);

    auto addCommand = [&](const char* name, const char* help, const char* what, auto print) {
        CLI::App* command = pitch->add_subcommand(name, help);
        auto value = std::make_shared<std::string>();
        command->add_option(what, *value, what)->required();
        command->callback([&context, print, value] { context.out << print(*value) << '\n'; });
    };
    addCommand("text", "The pitch text of a frequency", "HZ",
               [](const std::string& hz) { return PitchText(ParseFrequency(hz)); });
    addCommand("parse", "The frequency of a pitch text (0 when it names no note)", "TEXT",
               [](const std::string& text) { return Fixed6(ParsePitch(text)); });
    addCommand("key", "The name of a MIDI key", "N", [](const std::string& key) {
        long long number = ParseInteger(key, "N");
        return KeyName(number < INT_MIN || number > INT_MAX ? -1 : static_cast<int>(number));
    });
    addCommand("split", "Octave, note index and cents of a frequency", "HZ", [](const std::string& hz) {
        PitchParts parts = SplitPitch(ParseFrequency(hz));
        return std::to_string(parts.octave) + " " + std::to_string(parts.note) + " " +
               Fixed6(static_cast<double>(parts.cents));
    });
}
