#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSampleDoc;
class CSampleStep;

// The points, pitch and rate of a sample document: what every step of its history restores.
struct SamplePoints {
    std::uint32_t rate = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0;
    double pitch = 0;
    double loopPitch = 0;
    bool compensate = false;

    static SamplePoints Of(const CSampleDoc& doc);
    void ExchangeWith(CSampleDoc& doc);
    // The loop pitch is left out: it is worked out again from the others whenever it is shown.
    bool SameAs(const SamplePoints& other) const;
};

// The whole audio of a sample document and what goes with its length: the channels and the
// displayed span. Whatever else the document keeps with its audio (from its file) belongs here
// too, so that it comes back with the audio.
struct SampleAudio {
    std::unique_ptr<std::int16_t[]> data;
    std::uint32_t frames = 0;
    bool stereo = false;
    std::uint32_t selStart = 0;
    std::uint32_t selLength = 0;

    void ExchangeWith(CSampleDoc& doc);
    std::size_t Bytes() const;
};

// A command's change to a sample document, recorded as one undo step named after the command. Begun
// before the command and ended with it: a step is recorded when the points changed or the audio
// was kept for rewriting, and nothing when the command was refused. Edits nest; only the outermost
// records, and the inner ones hand what they keep to it.
//
// An audio operation says what it is about to change, so that the step keeps no more than it
// needs: the frames it rewrites in place (a copy of them), or the whole buffer when it replaces it
// (the buffer itself, moved). Undo and redo then exchange buffers rather than copying them.
class CSampleEdit {
public:
    // `merge`: a step of the same name just before, with nothing undone since, takes this change
    // in (the moves of a slider make one step).
    CSampleEdit(CSampleDoc& doc, std::string name, bool merge = false);
    ~CSampleEdit();
    CSampleEdit(const CSampleEdit&) = delete;
    CSampleEdit& operator=(const CSampleEdit&) = delete;

    // Before frames [first, first + count) are rewritten in place. False when the copy could not
    // be had: the operation must not go on.
    bool KeepFrames(std::uint32_t first, std::uint32_t count);
    // Before the whole audio is rewritten in place.
    bool KeepAudio();
    // Before the buffer is replaced: the step takes the old one, and the document's buffer is
    // empty until the new one is given.
    void TakeAudio();
    // Before the chunks of other programs are rewritten to follow the audio.
    void KeepChunks();
    // The work was cancelled part-way: the document goes back to how it was before the edit,
    // modified flag and all, and nothing is recorded. With recording off (wloe-cli, whose Ui never
    // cancels) nothing was kept to go back to.
    void Cancel();

private:
    CSampleDoc& m_doc;
    CSampleEdit* m_pOuter; // the edit that records; this one when outermost
    std::unique_ptr<CSampleStep> m_pStep;
    SamplePoints m_before;
    bool m_bWasModified;
    bool m_bMerge;
    bool m_bCancelled = false;
};
