#pragma once

#include <string>
#include <variant>

// How notes and pitches are named: key names for MIDI keys, pitch texts for frequencies, and the
// octave / note / cents triple of the Set Pitch dialog. A of octave 4 is 440 Hz; octaves change at C.

// "C 4" for key 60, "A 4" for 69; "***" outside 0..127.
std::string KeyName(int key);

struct PitchParts {
    int octave = 0;
    int note = 0; // 0 = C .. 11 = B
    float cents = 0;
};

// The octave, note and cents of a frequency; all zero outside 1..96000 Hz.
PitchParts SplitPitch(double hz);

// "A 4 +0.00"; the empty text for exactly 0 Hz.
std::string PitchText(double hz);

// The frequency of the first three characters of a pitch text ("A 4", "Bb3", "c#5"); 0 when they
// do not name a note.
double ParsePitch(const std::string& text);

// The frequency of an octave, note and cents.
double PitchFromParts(int octave, int note, double cents);

// What the Set Pitch dialog's sliders span, and so what may be typed beside them.
struct PitchDialogRange {
    static constexpr int kLowestOctave = -1;
    static constexpr int kHighestOctave = 9;
    static constexpr int kCentsLimit = 50;
    // The lowest and highest frequencies the three sliders reach.
    static double LowestHz() { return PitchFromParts(kLowestOctave, 0, -kCentsLimit); }
    static double HighestHz() { return PitchFromParts(kHighestOctave, 11, kCentsLimit); }
};

// The note index (0 = C .. 11 = B) of a typed note name: a letter, upper or lower case, and an
// optional "#" or "b" ("C", "f#", "Bb"), spaces around ignored; or the message when it names no
// note within the octave (so not "Cb" or "B#").
std::variant<int, std::string> ParseNoteName(const std::string& text);
