#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The values of the "Synthesize" dialog, with its defaults and the range it checks.
struct SynthesizeValues {
    enum class Mode { Replace = 0, Add = 1 };
    enum class LengthUnit { Milliseconds = 0, Cycles = 1 };
    enum class PitchSource { Note = 0, Frequency = 1 };
    enum class Function { Sine = 0, Square = 1, Triangle = 2 };

    // The frequency box accepts these, both included.
    static constexpr double kMinFrequency = 0.000001;
    static constexpr double kMaxFrequency = 1000000;

    // The amplitude curve's points keep x (percent of the length) in the low 16 bits and y (dB)
    // in the high 16 bits, as the breakpoint graph packs them.
    static constexpr std::uint32_t PackPoint(int x, int y) {
        return static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16 |
               static_cast<std::uint16_t>(x);
    }

    Mode mode = Mode::Add;
    std::uint32_t length = 1000;
    LengthUnit unit = LengthUnit::Milliseconds;
    PitchSource pitchSource = PitchSource::Note;
    std::string note = "A 4";
    double frequency = 440.0;
    Function function = Function::Sine;
    std::vector<std::uint32_t> curve{PackPoint(0, -10)};
};
