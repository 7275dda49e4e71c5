#include "sample/PitchNames.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {
constexpr const char* kNoteNames = "C C#D D#E F F#G G#A A#B ";
} // namespace

std::string KeyName(int key) {
    if (key < 0 || key > 127)
        return "***";
    int note = key % 12;
    return {kNoteNames[2 * note], kNoteNames[2 * note + 1], static_cast<char>(47 + key / 12)};
}

PitchParts SplitPitch(double hz) {
    PitchParts parts;
    if (!(hz >= 1 && hz <= 96000)) // NaN too
        return parts;
    double b = hz / (220.0 * std::pow(2.0, 0.25));
    int octave = 4;
    while (b >= 2) {
        b /= 2;
        ++octave;
    }
    while (b < 1) {
        b *= 2;
        --octave;
    }
    double s = std::log(b) / std::log(2.0) * 12;
    int note = static_cast<int>(s);
    if (note >= 12) {
        note -= 12;
        ++octave;
    }
    double c = std::fmod(s, 1.0) * 100;
    if (c > 50) {
        c -= 100;
        if (++note == 12) {
            note = 0;
            ++octave;
        }
    }
    parts.octave = octave;
    parts.note = note;
    parts.cents = static_cast<float>(c);
    return parts;
}

std::string PitchText(double hz) {
    if (hz == 0)
        return {};
    PitchParts parts = SplitPitch(hz);
    // Cents that print as 0.00 print as +0.00, never -0.00.
    if (std::fabs(parts.cents) < 0.005f)
        parts.cents = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%c%c%d %-+5.2f", kNoteNames[2 * parts.note],
                  kNoteNames[2 * parts.note + 1], parts.octave, static_cast<double>(parts.cents));
    return text;
}

double ParsePitch(const std::string& text) {
    if (text.size() < 3)
        return 0;
    // Semitones from A of C, D, E, F, G, A, B.
    static constexpr int kFromA[] = {0, 2, -9, -7, -5, -4, -2};
    int letter = std::toupper(static_cast<unsigned char>(text[0]));
    char accidental = text[1];
    char digit = text[2];
    if (letter < 'A' || letter > 'G' || (accidental != ' ' && accidental != '#' && accidental != 'b') ||
        digit < '0' || digit > '9')
        return 0;
    int semitones = kFromA[letter - 'A'] + (accidental == '#' ? 1 : accidental == 'b' ? -1 : 0);
    return 440.0 * std::pow(2.0, semitones / 12.0 + (digit - '0' - 4));
}

double PitchFromParts(int octave, int note, double cents) {
    return 440.0 * std::pow(2.0, (note - 9) * (1.0 / 12.0) + cents * (1.0 / 1200.0) + (octave - 4));
}

std::variant<int, std::string> ParseNoteName(const std::string& text) {
    static constexpr int kFromC[] = {9, 11, 0, 2, 4, 5, 7}; // A .. G
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    const std::string name =
        first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    const int letter = name.empty() ? 0 : std::toupper(static_cast<unsigned char>(name[0]));
    const bool accidental = name.size() == 2 && (name[1] == '#' || name[1] == 'b');
    if (letter >= 'A' && letter <= 'G' && (name.size() == 1 || accidental)) {
        const int note = kFromC[letter - 'A'] + (!accidental ? 0 : name[1] == '#' ? 1 : -1);
        if (note >= 0 && note <= 11)
            return note;
    }
    return std::string("Please enter a note from C to B, with # or b for sharp or flat.");
}
