#pragma once

#include <cstdint>
#include <string>
#include <variant>

class CSampleDoc;

// "Points": the sample start and stop, the loop and the marked range, in frames. The dialog shows
// and reads them as frames or as seconds at the sample's rate.
struct PointsValues {
    std::uint32_t frames = 0; // the audio's length: the last place a point may stand
    std::uint32_t rate = 0;   // for seconds; 0 offers frames only
    bool inSeconds = false;
    std::uint32_t sampleStart = 0;
    std::uint32_t sampleStop = 0;
    bool loop = false; // both loop boxes empty: no loop
    std::uint32_t loopStart = 0;
    std::uint32_t loopEnd = 0;
    std::uint32_t markStart = 0;
    std::uint32_t markEnd = 0; // equal to markStart: nothing marked
};

// What the dialog opens with for the document and the view's marked range.
PointsValues PointsDialogValues(const CSampleDoc& doc, std::uint32_t markStart, std::uint32_t markLength);

// A point as the dialog writes it: the frame number, or seconds to the microsecond.
std::string PointText(std::uint32_t frame, bool inSeconds, std::uint32_t rate);
// A typed point: its frame (seconds round to the nearest frame), or why it cannot be one. Points lie
// within 0 .. frames.
std::variant<std::uint32_t, std::string> ParsePointText(const std::string& text, bool inSeconds,
                                                        std::uint32_t rate, std::uint32_t frames);

// "Points...": asks for the points and sets them through the document's point rules, which may refuse
// with their message; a refusal leaves every point as it was and asks again with the values typed.
// The marked range comes back through markStart and markLength. False when cancelled.
bool EditPoints(CSampleDoc& doc, std::uint32_t& markStart, std::uint32_t& markLength);
