#include "sample/SampleEdit.h"

#include "docview/UndoHistory.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <bit>
#include <new>
#include <optional>
#include <utility>

// The other side of a change: its points, and the audio it rewrote (some frames, or all of it).
class CSampleStep : public CUndoStep {
public:
    CSampleStep(std::string name, const SamplePoints& points)
        : CUndoStep(std::move(name)), m_points(points) {}

    void SetDocument(CSampleDoc* doc) { m_pDoc = doc; }
    bool HoldsAudio() const { return m_audio || !m_frames.empty(); }
    bool HoldsWholeAudio() const { return m_audio != nullptr; }

    bool KeepFrames(const CSampleDoc& doc, std::uint32_t first, std::uint32_t count) {
        if (m_audio)
            return true;
        const std::size_t channels = doc.Channels();
        const std::size_t from = std::size_t{first} * channels;
        const std::size_t to = from + std::size_t{count} * channels;
        if (!m_frames.empty() && from >= m_nFirst && to <= m_nFirst + m_frames.size())
            return true;
        if (!m_frames.empty())
            return KeepAll(doc);
        try {
            m_frames.assign(doc.m_pData.get() + from, doc.m_pData.get() + to);
        } catch (const std::bad_alloc&) {
            return false;
        }
        m_nFirst = from;
        return true;
    }

    bool KeepAll(const CSampleDoc& doc) {
        if (m_audio)
            return true;
        std::unique_ptr<std::int16_t[]> copy(new (std::nothrow) std::int16_t[doc.SampleCount()]);
        if (!copy)
            return false;
        std::copy_n(doc.m_pData.get(), doc.SampleCount(), copy.get());
        // Frames kept before were copied before being rewritten: they are the older values.
        std::copy(m_frames.begin(), m_frames.end(), copy.get() + m_nFirst);
        m_frames.clear();
        m_frames.shrink_to_fit();
        m_audio = std::make_unique<SampleAudio>();
        m_audio->data = std::move(copy);
        m_audio->frames = doc.m_nFrames;
        m_audio->stereo = doc.m_bStereo;
        m_audio->selStart = doc.m_nSelStart;
        m_audio->selLength = doc.m_nSelLength;
        return true;
    }

    void TakeAll(CSampleDoc& doc) {
        if (m_audio)
            return;
        // Only the buffer leaves: the operation still reads the length, channels and span.
        auto audio = std::make_unique<SampleAudio>();
        audio->data = std::move(doc.m_pData);
        audio->frames = doc.m_nFrames;
        audio->stereo = doc.m_bStereo;
        audio->selStart = doc.m_nSelStart;
        audio->selLength = doc.m_nSelLength;
        // Frames rewritten before the buffer was taken go back to their older values.
        if (audio->data)
            std::copy(m_frames.begin(), m_frames.end(), audio->data.get() + m_nFirst);
        m_frames.clear();
        m_frames.shrink_to_fit();
        m_audio = std::move(audio);
    }

    // Before an edit that moves or replaces the audio rewrites the chunks that name its frames.
    void KeepChunks(const CSampleDoc& doc) {
        if (!m_chunks)
            m_chunks = doc.m_wavChunks;
    }

    void Exchange() override {
        m_points.ExchangeWith(*m_pDoc);
        if (m_chunks)
            std::swap(*m_chunks, m_pDoc->m_wavChunks);
        if (m_audio)
            m_audio->ExchangeWith(*m_pDoc);
        else if (!m_frames.empty())
            std::swap_ranges(m_frames.begin(), m_frames.end(), m_pDoc->m_pData.get() + m_nFirst);
    }

    std::size_t Bytes() const override {
        std::size_t chunkBytes = 0;
        if (m_chunks)
            for (const WavKeptChunk& chunk : m_chunks->chunks)
                chunkBytes += sizeof(chunk) + chunk.bytes.size();
        return sizeof(*this) + m_frames.size() * sizeof(std::int16_t) + (m_audio ? m_audio->Bytes() : 0) +
               chunkBytes;
    }

private:
    CSampleDoc* m_pDoc = nullptr;
    SamplePoints m_points;
    std::unique_ptr<SampleAudio> m_audio;
    std::size_t m_nFirst = 0; // the first sample value of m_frames in the buffer
    std::vector<std::int16_t> m_frames;
    std::optional<WavChunks> m_chunks; // the chunks from before, when the edit rewrote them
};

SamplePoints SamplePoints::Of(const CSampleDoc& doc) {
    return {doc.m_nRate,       doc.m_nStart, doc.m_nLength,    doc.m_nLoopStart,
            doc.m_nLoopLength, doc.m_dPitch, doc.m_dLoopPitch, doc.m_bCompensate};
}

void SamplePoints::ExchangeWith(CSampleDoc& doc) {
    std::swap(rate, doc.m_nRate);
    std::swap(start, doc.m_nStart);
    std::swap(length, doc.m_nLength);
    std::swap(loopStart, doc.m_nLoopStart);
    std::swap(loopLength, doc.m_nLoopLength);
    std::swap(pitch, doc.m_dPitch);
    std::swap(loopPitch, doc.m_dLoopPitch);
    std::swap(compensate, doc.m_bCompensate);
}

bool SamplePoints::SameAs(const SamplePoints& other) const {
    return rate == other.rate && start == other.start && length == other.length &&
           loopStart == other.loopStart && loopLength == other.loopLength &&
           // Compared as bits: a NaN pitch set twice is no change.
           std::bit_cast<std::uint64_t>(pitch) == std::bit_cast<std::uint64_t>(other.pitch) &&
           compensate == other.compensate;
}

void SampleAudio::ExchangeWith(CSampleDoc& doc) {
    std::swap(data, doc.m_pData);
    std::swap(frames, doc.m_nFrames);
    std::swap(stereo, doc.m_bStereo);
    std::swap(selStart, doc.m_nSelStart);
    std::swap(selLength, doc.m_nSelLength);
}

std::size_t SampleAudio::Bytes() const {
    return data ? std::size_t{frames} * (stereo ? 2 : 1) * sizeof(std::int16_t) : 0;
}

CSampleEdit::CSampleEdit(CSampleDoc& doc, std::string name, bool merge)
    : m_doc(doc), m_pOuter(doc.m_pEdit ? doc.m_pEdit : this), m_before(SamplePoints::Of(doc)),
      m_bWasModified(doc.IsModified()), m_bMerge(merge) {
    if (m_pOuter != this)
        return;
    doc.m_pEdit = this;
    m_pStep = std::make_unique<CSampleStep>(std::move(name), m_before);
}

CSampleEdit::~CSampleEdit() {
    if (m_pOuter != this)
        return;
    m_doc.m_pEdit = nullptr;
    if (m_bCancelled || !CUndoHistory::IsRecording())
        return;
    const bool audio = m_pStep->HoldsAudio();
    if (!audio && m_before.SameAs(SamplePoints::Of(m_doc)))
        return;
    CUndoHistory& history = m_doc.History();
    // A slider's moves: the step before already holds the points from before them all.
    if (m_bMerge && !audio && history.CanUndo() && !history.CanRedo() && !history.IsClean() &&
        history.UndoName() == m_pStep->Name() && history.LastIsMergeable())
        return;
    m_pStep->SetDocument(&m_doc);
    m_pStep->SetMergeable(m_bMerge && !audio);
    history.Record(std::move(m_pStep));
}

bool CSampleEdit::KeepFrames(std::uint32_t first, std::uint32_t count) {
    if (!m_doc.m_pData || count == 0 || !CUndoHistory::IsRecording())
        return true;
    return m_pOuter->m_pStep->KeepFrames(m_doc, first, count);
}

bool CSampleEdit::KeepAudio() {
    if (!m_doc.m_pData || !CUndoHistory::IsRecording())
        return true;
    return m_pOuter->m_pStep->KeepAll(m_doc);
}

void CSampleEdit::TakeAudio() {
    if (!CUndoHistory::IsRecording()) {
        m_doc.m_pData.reset();
        return;
    }
    m_pOuter->m_pStep->TakeAll(m_doc);
}

void CSampleEdit::KeepChunks() {
    if (CUndoHistory::IsRecording())
        m_pOuter->m_pStep->KeepChunks(m_doc);
}

void CSampleEdit::Cancel() {
    CSampleEdit& outer = *m_pOuter;
    if (outer.m_bCancelled)
        return;
    outer.m_bCancelled = true;
    CSampleStep& step = *outer.m_pStep;
    // The step holds the points and the audio from before: one exchange puts them back.
    step.SetDocument(&m_doc);
    step.Exchange();
    m_doc.SetModifiedFlag(outer.m_bWasModified);
    // The views may have shown the work part-done.
    m_doc.UpdateAllViews(nullptr, 0);
}
