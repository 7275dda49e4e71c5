#include "sample/SampleDoc.h"

#include "archive/ObjectArchive.h"
#include "platform/FileIo.h"
#include "platform/Ui.h"
#include "sample/LittleEndian.h"
#include "sample/Player.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace {
constexpr std::uint32_t kStereoBit = 0x80000000u;

constexpr std::array<SampleCommandInfo, 11> kCommands{{
    {SampleCommand::Normalize, "&Normalize", "Adjust to max amplitude"},
    {SampleCommand::NormalizeIndependently, "N&ormalize L/R independently",
     "Normalize channels independently"},
    {SampleCommand::ClearPoints, "&Clear start/stop points", "Remove start and/or stop points"},
    {SampleCommand::ClearLoop, "Clear &loop points", "Remove any loop points"},
    {SampleCommand::Truncate, "&Truncate to start/stop points", "Trim to start and stop points"},
    {SampleCommand::SwapChannels, "&Swap channels", "Swap left and right channels"},
    {SampleCommand::RemixStereo, "Re&mix stereo...", "Rebalance or reduce seperation"},
    {SampleCommand::ReduceToMono, "Re&duce to mono...", "Mix a stereo sample down to mono"},
    {SampleCommand::Resample, "&Resample...", "Change sample rate (audio modified)"},
    {SampleCommand::Synthesize, "Synthesi&ze...", "Synthesize a few simple waveforms"},
    {SampleCommand::Reopen, "&Reopen", "Reload from disk"},
}};

PointResult Refuse(const char* message) {
    GetUi().Message(message, MessageIcon::Exclamation);
    return PointResult::Refused;
}
} // namespace

bool IsWavPath(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string last = path.substr(path.size() - 4);
    for (char& c : last)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return last == ".WAV";
}

CSampleDoc::CSampleDoc() = default;

CSampleDoc::~CSampleDoc() = default;

bool CSampleDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    m_pData = std::make_unique<std::int16_t[]>(1000);
    m_nFrames = 1000;
    m_bStereo = false;
    m_nRate = 44100;
    m_nStart = 0;
    m_nLength = 1000;
    m_nLoopStart = 0;
    m_nLoopLength = 0;
    m_nSelStart = 0;
    m_nSelLength = 1000;
    m_dPitch = 440.0;
    m_dLoopPitch = 0;
    m_wavChunks = {};
    return true;
}

bool CSampleDoc::OnOpenDocument(const std::string& path) {
    // What comes from the file starts a history of its own (Reopen too).
    History().Clear();
    if (IsWavPath(path))
        return ReadWav(path);
    if (!CDocument::OnOpenDocument(path))
        return false;
    if (!AcceptLoadedValues(path))
        return false;
    UpdateAllViews(nullptr);
    return true;
}

bool CSampleDoc::OnSaveDocument(const std::string& path) {
    if (IsWavPath(path))
        return WriteWav(path);
    if (m_nRate == 0) {
        GetUi().Message(kNoRateMessage, MessageIcon::Exclamation);
        return false;
    }
    return CDocument::OnSaveDocument(path);
}

void CSampleDoc::OnHistoryStepping() {
    PlayerStop();
}

void CSampleDoc::DeleteContents() {
    ClearData();
    m_wavChunks = {};
}

void CSampleDoc::Serialize(CObjectArchive& ar) {
    // Samples travel in blocks of at most 32768 bytes.
    constexpr std::size_t kBlockSamples = 16384;
    std::vector<std::uint8_t> block;
    if (ar.IsStoring()) {
        std::uint32_t frames = m_pData ? m_nFrames : 0;
        if (frames >= kStereoBit)
            throw std::length_error("too many frames for the archive form");
        ar << (frames | (m_bStereo ? kStereoBit : 0)) << m_nStart << m_nLength;
        std::size_t samples = static_cast<std::size_t>(frames) * Channels();
        for (std::size_t done = 0; done < samples;) {
            std::size_t count = std::min(kBlockSamples, samples - done);
            block.resize(count * 2);
            for (std::size_t i = 0; i < count; ++i)
                PutLE16(&block[2 * i], static_cast<std::uint16_t>(m_pData[done + i]));
            ar.Write(block.data(), block.size());
            done += count;
        }
        ar << m_nRate << m_dPitch << m_dLoopPitch << m_nLoopStart << m_nLoopLength << m_nSelStart
           << m_nSelLength;
        return;
    }

    m_wavChunks = {};
    std::uint32_t count = 0;
    ar >> count >> m_nStart >> m_nLength;
    m_bStereo = (count & kStereoBit) != 0;
    m_nFrames = count & ~kStereoBit;
    std::size_t samples = static_cast<std::size_t>(m_nFrames) * Channels();
    // A count the file cannot back ends the load before anything is allocated.
    ar.Require(static_cast<std::uint64_t>(samples) * 2);
    m_pData.reset(new (std::nothrow) std::int16_t[samples]);
    if (!m_pData) {
        m_nFrames = 0;
        m_nStart = 0;
        m_nLength = 0;
        return;
    }
    for (std::size_t done = 0; done < samples;) {
        std::size_t n = std::min(kBlockSamples, samples - done);
        block.resize(n * 2);
        ar.Read(block.data(), block.size());
        for (std::size_t i = 0; i < n; ++i)
            m_pData[done + i] = static_cast<std::int16_t>(GetLE16(&block[2 * i]));
        done += n;
    }
    ar >> m_nRate >> m_dPitch >> m_dLoopPitch >> m_nLoopStart >> m_nLoopLength >> m_nSelStart >> m_nSelLength;
    FitPointsToAudio();
}

bool CSampleDoc::LoadSample(const std::string& path) {
    if (IsWavPath(path))
        return ReadWav(path);
    FileContents file = ReadWholeFile(path);
    if (file.error != FileErrorCause::None) {
        GetUi().Message("Loading sample document: can't open file " + path, MessageIcon::Exclamation);
        GetUi().Beep();
        return false;
    }
    ClearData();
    try {
        CObjectArchive ar(std::move(file.bytes));
        Serialize(ar);
    } catch (const CArchiveException& error) {
        if (error.GetKind() == CArchiveException::Kind::BadIndex)
            GetUi().Message("Error loading sample: bad file format", MessageIcon::Exclamation);
        else if (error.GetKind() == CArchiveException::Kind::BadClass)
            GetUi().Message("Error loading sample: bad object type", MessageIcon::Exclamation);
        ClearData();
        return false;
    }
    return m_pData != nullptr && AcceptLoadedValues(path);
}

bool CSampleDoc::AcceptLoadedValues(const std::string& path) {
    if (m_nRate == 0) {
        GetUi().Message("Bad sample file: the sampling rate is 0", MessageIcon::Exclamation);
        ClearData();
        return false;
    }
    auto valid = [](double hz) { return std::isfinite(hz) && hz >= 0; };
    if (!valid(m_dPitch) || !valid(m_dLoopPitch)) {
        GetUi().Message("Warning: " + path +
                            " holds a pitch that is not a frequency; it is taken as no pitch",
                        MessageIcon::Exclamation);
        if (!valid(m_dPitch))
            m_dPitch = 0;
        if (!valid(m_dLoopPitch))
            m_dLoopPitch = 0;
    }
    return true;
}

void CSampleDoc::ClearData() {
    m_summary.Clear();
    m_pData.reset();
    m_nFrames = 0;
    m_nStart = 0;
    m_nLength = 0;
    m_nLoopStart = 0;
    m_nLoopLength = 0;
    m_nSelStart = 0;
    m_nSelLength = 0;
}

void CSampleDoc::SetData(std::unique_ptr<std::int16_t[]> buffer, std::uint32_t frames, std::uint32_t rate) {
    if (rate == 0)
        throw std::invalid_argument("a sample's rate cannot be 0");
    m_summary.Clear();
    m_pData = std::move(buffer);
    m_nFrames = frames;
    m_nRate = rate;
    m_nStart = 0;
    m_nLength = 0;
    m_nLoopStart = 0;
    m_nLoopLength = 0;
    m_nSelStart = 0;
    m_nSelLength = frames;
    KeptChunksAudioReplaced();
    SetModifiedFlag();
}

void CSampleDoc::KeptChunksFollowAudio(const FrameMap& map) {
    if (m_pEdit)
        m_pEdit->KeepChunks();
    std::string note = m_wavChunks.FollowAudio(map, m_nFrames);
    if (!note.empty())
        GetUi().Note(note);
}

void CSampleDoc::KeptChunksAudioReplaced() {
    if (m_pEdit)
        m_pEdit->KeepChunks();
    std::string note = m_wavChunks.AudioReplaced(m_nFrames);
    if (!note.empty())
        GetUi().Note(note);
}

std::uint64_t CSampleDoc::StopPoint() const {
    return m_nLength != 0 ? std::uint64_t{m_nStart} + m_nLength : m_nFrames;
}

void CSampleDoc::FitPointsToAudio() {
    std::uint32_t lastFrame = m_nFrames != 0 ? m_nFrames - 1 : 0;
    m_nStart = std::min(m_nStart, lastFrame);
    m_nLength = std::min(m_nLength, m_nFrames - m_nStart);
    if (m_nLoopStart >= m_nFrames) {
        m_nLoopStart = 0;
        m_nLoopLength = 0;
    }
    m_nLoopLength = std::min(m_nLoopLength, m_nFrames - m_nLoopStart);
    m_nSelStart = std::min(m_nSelStart, lastFrame);
    m_nSelLength = std::min(m_nSelLength, m_nFrames - m_nSelStart);
}

PointResult CSampleDoc::SetSampleStart(std::uint32_t p) {
    CSampleEdit edit(*this, "Set Start");
    if (p >= m_nFrames) {
        GetUi().Beep();
        return PointResult::Beyond;
    }
    std::uint64_t stop = StopPoint();
    bool loop = m_nLoopLength != 0;
    std::uint64_t loopEnd = std::uint64_t{m_nLoopStart} + m_nLoopLength;
    if (m_nLength != 0 && p >= stop)
        return Refuse("Can't set sample start after sample stop");
    if (loop && loopEnd <= p)
        return Refuse("Can't set sample start after loop end");
    if (loop && m_nLoopStart < p)
        return Refuse("Can't set sample start inside the loop");
    m_nLength = static_cast<std::uint32_t>(stop - p);
    m_nStart = p;
    SetModifiedFlag();
    return PointResult::Changed;
}

PointResult CSampleDoc::SetSampleStop(std::uint32_t p) {
    CSampleEdit edit(*this, "Set Stop");
    if (p >= m_nFrames) {
        GetUi().Beep();
        return PointResult::Beyond;
    }
    bool loop = m_nLoopLength != 0;
    std::uint64_t loopEnd = std::uint64_t{m_nLoopStart} + m_nLoopLength;
    if (p <= m_nStart)
        return Refuse("Can't set sample stop before sample start");
    if (loop && p <= m_nLoopStart)
        return Refuse("Can't set sample stop before loop start");
    if (loop && loopEnd > p)
        return Refuse("Can't set sample stop inside the loop");
    m_nLength = p - m_nStart;
    SetModifiedFlag();
    return PointResult::Changed;
}

PointResult CSampleDoc::SetLoopStart(std::uint32_t p) {
    CSampleEdit edit(*this, "Set Loop Start");
    if (p >= m_nFrames) {
        GetUi().Beep();
        return PointResult::Beyond;
    }
    std::uint64_t stop = StopPoint();
    bool loop = m_nLoopLength != 0;
    std::uint64_t loopEnd = std::uint64_t{m_nLoopStart} + m_nLoopLength;
    if (p < m_nStart)
        return Refuse("Can't set loop start before sample start");
    if (p > stop)
        return Refuse("Can't set loop start after sample stop");
    if (loop && p < loopEnd) {
        m_nLoopLength = static_cast<std::uint32_t>(loopEnd - p);
    } else if (loop) {
        return Refuse("Can't set loop start after loop end");
    } else {
        m_nLoopLength = static_cast<std::uint32_t>(stop - p);
    }
    m_nLoopStart = p;
    SetModifiedFlag();
    return PointResult::Changed;
}

PointResult CSampleDoc::SetLoopEnd(std::uint32_t p) {
    CSampleEdit edit(*this, "Set Loop End");
    if (p >= m_nFrames) {
        GetUi().Beep();
        return PointResult::Beyond;
    }
    // A new loop never starts before the sample does.
    std::uint32_t loopStart = m_nLoopLength != 0 ? m_nLoopStart : std::max(m_nLoopStart, m_nStart);
    if (p <= loopStart)
        return Refuse("Can't set loop end before loop start");
    if (StopPoint() < p)
        return Refuse("Can't set loop end after sample stop");
    if (p <= m_nStart)
        return Refuse("Can't set loop end before sample start");
    m_nLoopStart = loopStart;
    m_nLoopLength = p - loopStart;
    SetModifiedFlag();
    return PointResult::Changed;
}

void CSampleDoc::HoldLoopInSampleRange() {
    if (m_nLoopLength == 0)
        return;
    if (m_nStart > m_nLoopStart)
        m_nStart = m_nLoopStart;
    std::uint64_t loopEnd = std::uint64_t{m_nLoopStart} + m_nLoopLength;
    if (StopPoint() < loopEnd)
        m_nLength = static_cast<std::uint32_t>(loopEnd - m_nStart);
}

void CSampleDoc::ClampRange(std::uint32_t& start, std::uint32_t& length) const {
    start = std::min(start, LastRangeStart());
    if (std::uint64_t{start} + length > m_nFrames)
        length = m_nFrames - std::min(start, m_nFrames);
}

void CSampleDoc::SetSampleRange(std::uint32_t start, std::uint32_t length) {
    CSampleEdit edit(*this, "Set Sample Range");
    ClampRange(start, length);
    m_nStart = start;
    m_nLength = length;
    HoldLoopInSampleRange();
    SetModifiedFlag();
}

void CSampleDoc::SetLoopRange(std::uint32_t start, std::uint32_t length) {
    CSampleEdit edit(*this, "Set Loop Range");
    ClampRange(start, length);
    m_nLoopStart = start;
    m_nLoopLength = length;
    HoldLoopInSampleRange();
    SetModifiedFlag();
}

void CSampleDoc::SetSelection(std::uint32_t start, std::uint32_t length) {
    ClampRange(start, length);
    m_nSelStart = start;
    m_nSelLength = length;
}

void CSampleDoc::ShiftSelection(std::int64_t dStart, std::int64_t dLength) {
    std::int64_t start = std::clamp<std::int64_t>(std::int64_t{m_nSelStart} + dStart, 0, LastRangeStart());
    std::int64_t length = std::clamp<std::int64_t>(std::int64_t{m_nSelLength} + dLength, 2, 0xFFFFFFFF);
    start = std::max<std::int64_t>(0, std::min(start, std::int64_t{m_nFrames} - length));
    m_nSelStart = static_cast<std::uint32_t>(start);
    m_nSelLength = static_cast<std::uint32_t>(length);
}

void CSampleDoc::ShiftLoop(std::int64_t dStart, std::int64_t dLength) {
    CSampleEdit edit(*this, "Move Loop", true);
    std::int64_t start = std::clamp<std::int64_t>(std::int64_t{m_nLoopStart} + dStart, 0, LastRangeStart());
    std::int64_t length = std::int64_t{m_nLoopLength} + dLength;
    if (length < 0)
        length = 2;
    if (start + length > m_nFrames)
        length = m_nFrames - start;
    m_nLoopStart = static_cast<std::uint32_t>(start);
    m_nLoopLength = static_cast<std::uint32_t>(length);
    HoldLoopInSampleRange();
    SetModifiedFlag();
}

bool CSampleDoc::LoopPitchOffset(int* cents) {
    if (m_nLoopLength >= 1) {
        double ratio = (static_cast<double>(m_nRate) / m_nLoopLength) / m_dPitch;
        // Written so that a pitch of 0 (no ratio at all) fails too.
        if (ratio <= 2.0 && ratio >= 0.5) {
            int offset = static_cast<int>(1200 * std::log(ratio) / std::log(2.0));
            if (std::abs(offset) <= 200) {
                if (cents)
                    *cents = offset;
                return true;
            }
        }
    }
    m_dLoopPitch = 0;
    return false;
}

void CSampleDoc::SetPitch(double hz) {
    CSampleEdit edit(*this, "Set Pitch", true);
    m_dPitch = hz;
    SetModifiedFlag();
}

void CSampleDoc::SetPitchFromParts(int octave, int note, double cents) {
    CSampleEdit edit(*this, "Set Pitch", true);
    m_dPitch = PitchFromParts(octave, note, cents);
    SetModifiedFlag();
}

void CSampleDoc::SetCompensate(bool compensate) {
    CSampleEdit edit(*this, "Set Pitch", true);
    m_bCompensate = compensate;
    SetModifiedFlag();
}

void CSampleDoc::OnClearPoints() {
    CSampleEdit edit(*this, "Clear Start/Stop Points");
    m_nStart = 0;
    m_nLength = m_nFrames;
    UpdateAllViews(nullptr);
    SetModifiedFlag();
}

void CSampleDoc::OnClearLoop() {
    CSampleEdit edit(*this, "Clear Loop Points");
    m_nLoopStart = 0;
    m_nLoopLength = 0;
    UpdateAllViews(nullptr);
    SetModifiedFlag();
}

bool CSampleDoc::OnTruncate() {
    CSampleEdit edit(*this, "Truncate");
    if (!m_pData || (m_nStart == 0 && m_nLength == m_nFrames))
        return true;
    std::uint32_t oldStart = m_nStart;
    std::uint64_t stop = std::min<std::uint64_t>(StopPoint(), m_nFrames);
    auto frames = static_cast<std::uint32_t>(stop - std::min<std::uint64_t>(oldStart, stop));
    std::size_t samples = static_cast<std::size_t>(frames) * Channels();
    std::unique_ptr<std::int16_t[]> kept(new (std::nothrow) std::int16_t[samples]);
    if (!kept) {
        GetUi().Message("Not enough memory", MessageIcon::Exclamation);
        return false;
    }
    {
        BusyCursor busy;
        std::copy_n(m_pData.get() + static_cast<std::size_t>(oldStart) * Channels(), samples, kept.get());
    }
    edit.TakeAudio();
    m_pData = std::move(kept);
    m_nFrames = frames;
    m_nLength = frames;
    if (m_nLoopStart >= oldStart)
        m_nLoopStart -= oldStart;
    KeptChunksFollowAudio([oldStart](std::uint32_t frame) -> std::optional<std::uint32_t> {
        return frame >= oldStart ? std::optional<std::uint32_t>(frame - oldStart) : std::nullopt;
    });
    m_nStart = 0;
    m_nSelStart = 0;
    m_nSelLength = frames;
    FitPointsToAudio();
    UpdateAllViews(nullptr);
    SetModifiedFlag();
    return true;
}

bool CSampleDoc::OnReopen() {
    // Reopening throws the edits away: ask first, as a revert does.
    if (IsModified() && GetUi().Ask("Discard the changes to " + GetTitle() + " and reopen it from disk?",
                                    AskButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return false;
    bool opened = OnOpenDocument(GetPathName());
    SetModifiedFlag(false);
    return opened;
}

std::span<const SampleCommandInfo> CSampleDoc::Commands() {
    return kCommands;
}

const SampleCommandInfo& CSampleDoc::CommandInfo(SampleCommand command) {
    for (const SampleCommandInfo& info : kCommands)
        if (info.command == command)
            return info;
    throw std::invalid_argument("not a sample document command");
}

bool CSampleDoc::IsCommandEnabled(SampleCommand command) const {
    switch (command) {
    case SampleCommand::NormalizeIndependently:
    case SampleCommand::SwapChannels:
    case SampleCommand::RemixStereo:
    case SampleCommand::ReduceToMono:
        return m_bStereo;
    case SampleCommand::ClearLoop:
        return m_nLoopLength != 0;
    case SampleCommand::ClearPoints:
        return m_nLength != 0 && m_nLength != m_nFrames;
    default:
        return true;
    }
}
