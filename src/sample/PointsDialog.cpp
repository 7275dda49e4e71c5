#include "sample/PointsDialog.h"

#include "platform/DialogValidation.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

PointsValues PointsDialogValues(const CSampleDoc& doc, std::uint32_t markStart, std::uint32_t markLength) {
    PointsValues values;
    values.frames = doc.m_nFrames;
    values.rate = doc.m_nRate;
    values.sampleStart = doc.m_nStart;
    values.sampleStop = static_cast<std::uint32_t>(std::min<std::uint64_t>(doc.StopPoint(), doc.m_nFrames));
    values.loop = doc.m_nLoopLength != 0;
    values.loopStart = doc.m_nLoopStart;
    values.loopEnd = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{doc.m_nLoopStart} + doc.m_nLoopLength, doc.m_nFrames));
    values.markStart = markStart;
    values.markEnd = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{markStart} + markLength, doc.m_nFrames));
    return values;
}

std::string PointText(std::uint32_t frame, bool inSeconds, std::uint32_t rate) {
    if (!inSeconds || rate == 0)
        return std::to_string(frame);
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(frame) / rate);
    return text;
}

std::variant<std::uint32_t, std::string> ParsePointText(const std::string& text, bool inSeconds,
                                                        std::uint32_t rate, std::uint32_t frames) {
    if (!inSeconds || rate == 0)
        return ValidateUnsignedInRange(text, 0, frames);
    auto seconds = ValidateReal(text, 0, static_cast<double>(frames) / rate);
    if (auto* message = std::get_if<std::string>(&seconds))
        return *message;
    double frame = std::round(std::get<double>(seconds) * rate);
    return static_cast<std::uint32_t>(std::min(frame, static_cast<double>(frames)));
}

namespace {
struct SavedPoints {
    std::uint32_t start, length, loopStart, loopLength;
    bool modified;
};

SavedPoints Save(const CSampleDoc& doc) {
    return {doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength, doc.IsModified()};
}

void Restore(CSampleDoc& doc, const SavedPoints& saved) {
    doc.m_nStart = saved.start;
    doc.m_nLength = saved.length;
    doc.m_nLoopStart = saved.loopStart;
    doc.m_nLoopLength = saved.loopLength;
    doc.SetModifiedFlag(saved.modified);
}

// The rules only beep for a point at or past the last frame; a typed one deserves words.
bool Accepted(PointResult result, const char* what) {
    if (result == PointResult::Beyond)
        GetUi().Message(std::string("Can't set ") + what + " at the end of the sample",
                        MessageIcon::Exclamation);
    return result == PointResult::Changed;
}

// The points from a clean slate (whole sample, no loop), each through its rule, so that the order
// of the old points cannot refuse a consistent new set while an inconsistent one gets the rule's
// own message.
bool ApplyPoints(CSampleDoc& doc, const PointsValues& v) {
    const bool noStopBefore = doc.m_nLength == 0;
    doc.m_nStart = 0;
    doc.m_nLength = doc.m_nFrames;
    doc.m_nLoopStart = 0;
    doc.m_nLoopLength = 0;
    if (v.sampleStart != 0 && !Accepted(doc.SetSampleStart(v.sampleStart), "the sample start"))
        return false;
    if (v.sampleStop != doc.StopPoint() && !Accepted(doc.SetSampleStop(v.sampleStop), "the sample stop"))
        return false;
    if (v.loop) {
        if (!Accepted(doc.SetLoopStart(v.loopStart), "the loop start"))
            return false;
        if (v.loopEnd != std::uint64_t{doc.m_nLoopStart} + doc.m_nLoopLength &&
            !Accepted(doc.SetLoopEnd(v.loopEnd), "the loop end"))
            return false;
    }
    // A stop at the end of the audio stays "no stop point" when it was one.
    if (noStopBefore && doc.m_nStart == 0 && doc.StopPoint() == doc.m_nFrames)
        doc.m_nLength = 0;
    doc.SetModifiedFlag();
    return true;
}

bool PointsChanged(const PointsValues& now, const PointsValues& typed) {
    return now.sampleStart != typed.sampleStart || now.sampleStop != typed.sampleStop ||
           now.loop != typed.loop ||
           (typed.loop && (now.loopStart != typed.loopStart || now.loopEnd != typed.loopEnd));
}
} // namespace

namespace {
// False, with its message, when the typed points cannot stand; the document is then as it was.
bool TrySetPoints(CSampleDoc& doc, const PointsValues& now, const PointsValues& typed) {
    for (std::uint32_t point : {typed.sampleStart, typed.sampleStop, typed.loopStart, typed.loopEnd,
                                typed.markStart, typed.markEnd}) {
        if (point > doc.m_nFrames) {
            GetUi().Message("Can't set a point beyond the end of the sample", MessageIcon::Exclamation);
            return false;
        }
    }
    if (typed.markEnd < typed.markStart) {
        GetUi().Message("Can't set the mark end before the mark start", MessageIcon::Exclamation);
        return false;
    }
    if (!PointsChanged(now, typed))
        return true;
    const SavedPoints saved = Save(doc);
    if (ApplyPoints(doc, typed))
        return true;
    Restore(doc, saved);
    return false;
}
} // namespace

bool EditPoints(CSampleDoc& doc, std::uint32_t& markStart, std::uint32_t& markLength) {
    CSampleEdit edit(doc, "Points");
    const PointsValues now = PointsDialogValues(doc, markStart, markLength);
    // A refused set opens the dialog again with what was typed, to be mended or cancelled.
    std::optional<PointsValues> typed = GetUi().AskDialog(now);
    while (typed && !TrySetPoints(doc, now, *typed))
        typed = GetUi().AskDialog(*typed);
    if (!typed)
        return false;
    markStart = typed->markStart;
    markLength = typed->markEnd - typed->markStart;
    doc.UpdateAllViews(nullptr);
    return true;
}
