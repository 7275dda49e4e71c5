#pragma once

#include "docview/Document.h"
#include "platform/DrawingSurface.h"
#include "sample/PitchNames.h"
#include "sample/ResampleDialogs.h"
#include "sample/SynthesizeDialog.h"
#include "sample/WavChunks.h"
#include "sample/WavFileLayout.h"
#include "sample/WaveSummary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

class CRiffSource;
class CSampleEdit;

// The commands a sample document answers, for menus, toolbars and status-bar prompts.
enum class SampleCommand {
    Normalize,
    NormalizeIndependently,
    ClearPoints,
    ClearLoop,
    Truncate,
    SwapChannels,
    RemixStereo,
    ReduceToMono,
    Resample,
    Synthesize,
    Reopen,
};

struct SampleCommandInfo {
    SampleCommand command;
    const char* menuText; // with the "&" of its mnemonic
    const char* prompt;   // the status-bar text
};

// What a point rule did: moved the points, only beeped (the position lies beyond the sample), or
// refused with a message.
enum class PointResult { Changed, Beyond, Refused };

// The pens, brush and font every view of a sample document paints with, so that all draw alike.
struct SampleDrawingTools {
    Pen wavePen{PenStyle::Solid, {0, 0, 0}};
    Pen axisPen{PenStyle::Solid, {127, 127, 127}};
    Pen startPen{PenStyle::Solid, {0, 191, 0}};
    Pen stopPen{PenStyle::Solid, {191, 0, 0}};
    Pen gridPen{PenStyle::Dotted, {127, 127, 127}};
    Pen loopStartPen{PenStyle::Dotted, {0, 255, 0}};
    Pen loopEndPen{PenStyle::Dotted, {255, 0, 0}};
    Brush hatchBrush{BrushStyle::ForwardDiagonalHatch, {0, 0, 255}};
    Font labelFont{"MS Sans Serif", 8, 400};
};

// One sample of 16-bit PCM audio, mono or stereo, with its pitch, sample start and stop, loop and
// the selection that the wave views display. Its files are RIFF WAVE (".wav", with our "vElO"
// information chunk) or, for any other extension, the document's archive form.
class CSampleDoc : public CDocument {
public:
    // Views told that only the pitch changed get this hint.
    static constexpr long kPitchChangedHint = 99999;
    // Views told of their own changes (displayed span, markers, display mode) get this hint: the
    // audio is as it was.
    static constexpr long kDisplayHint = 99998;
    // Saving refuses a sample without a rate: no reader would take the file back.
    static constexpr const char* kNoRateMessage =
        "The sample has no sampling rate (0), so it cannot be saved";

    CSampleDoc();
    ~CSampleDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void Serialize(CObjectArchive& ar) override;
    void DeleteContents() override;

    bool ReadWav(const std::string& path);
    // The reader itself, over any source of bytes. With `place`, the audio is left where it is:
    // the document gets its format, points and length but no buffer, and `place` says where in the
    // source the audio lies (samples in file order), for a command that streams it.
    struct WavAudioPlace {
        std::uint64_t offset = 0;
        std::size_t samples = 0;
    };
    bool ReadWav(CRiffSource& source, WavAudioPlace* place = nullptr);
    // An empty path asks for one first. With `produce`, the data chunk holds what it hands to the
    // writer it is given (SampleCount() samples in all, in blocks) instead of the buffer.
    using AudioBlockWriter = std::function<bool(const std::int16_t* samples, std::size_t count)>;
    using AudioProducer = std::function<void(const AudioBlockWriter& write)>;
    bool WriteWav(const std::string& path, const AudioProducer& produce = nullptr);
    // What a WAVE file of this document holds besides the audio: every writer of one lays it out
    // with WriteWavLayout.
    WavFileParts WavParts() const;
    // A second line for the refusals of audio that is not 16-bit PCM, saying how to convert it;
    // set once by each program.
    static void SetFormatRefusalHint(std::string hint);

    // Loads a sample file of either form for another document; says why when it cannot.
    bool LoadSample(const std::string& path);
    // What a loaded file says that no sample may hold: a rate of 0 refuses the file; a pitch that is
    // not a finite frequency is taken as no pitch, with a warning naming the file.
    bool AcceptLoadedValues(const std::string& path);

    void ClearData();
    // Takes over `frames` frames of audio (interleaved when stereo); the points start afresh. A rate
    // of 0 is refused (std::invalid_argument): no sample file may carry one.
    void SetData(std::unique_ptr<std::int16_t[]> buffer, std::uint32_t frames, std::uint32_t rate);

    PointResult SetSampleStart(std::uint32_t p);
    PointResult SetSampleStop(std::uint32_t p);
    PointResult SetLoopStart(std::uint32_t p);
    PointResult SetLoopEnd(std::uint32_t p);

    void SetSampleRange(std::uint32_t start, std::uint32_t length);
    void SetLoopRange(std::uint32_t start, std::uint32_t length);
    void SetSelection(std::uint32_t start, std::uint32_t length);
    void ShiftSelection(std::int64_t dStart, std::int64_t dLength);
    void ShiftLoop(std::int64_t dStart, std::int64_t dLength);

    // Cents between the rate at which the loop repeats and the pitch; false (and no loop pitch)
    // when there is no loop or they lie more than 200 cents apart.
    bool LoopPitchOffset(int* cents = nullptr);

    void SetPitch(double hz);
    void SetPitchFromParts(int octave, int note, double cents);
    void SetCompensate(bool compensate);
    static std::string PitchText(double hz) { return ::PitchText(hz); }

    void OnClearPoints();
    void OnClearLoop();
    // False when the shorter buffer could not be had; the audio is then unchanged.
    bool OnTruncate();
    bool OnReopen();

    // "G&uess pitch": estimates the pitch over the marked range and offers to store it. False when no
    // estimate could be made (its message shown); declining the offer is not a failure.
    bool GuessPitch(std::uint32_t markStart, std::uint32_t markLength);

    // Level and channel operations. Each shows the wait cursor, redraws the views and marks the
    // document modified; false when it was refused, cancelled or failed (its message shown).
    // "&Gain adjust...": asks for the levels, then ramps the gain over the marked range (the whole
    // sample when its length is 0).
    bool OnGainAdjust(std::uint32_t markStart, std::uint32_t markLength);
    bool GainAdjust(int beginLeft, int endLeft, int beginRight, int endRight, std::uint32_t markStart,
                    std::uint32_t markLength);
    bool OnNormalize();
    bool OnNormalizeIndependently();
    bool OnSwapChannels();
    bool OnRemixStereo();
    bool OnReduceToMono();

    // "Cross&fade loop...": asks for the radius and contour, then fades the audio around the loop.
    // It only redraws the views; it does not mark the document modified.
    bool OnCrossfadeLoop();
    bool CrossfadeLoop(std::uint32_t radiusMs, std::uint32_t contour);
    // The radius in frames: 44.1 frames per millisecond whatever the rate.
    static std::uint32_t CrossfadeRadiusFrames(std::uint32_t radiusMs);

    // "Synthesi&ze...": asks for the dialog's values, then synthesizes. False when cancelled or
    // refused (its message shown).
    bool OnSynthesize();
    // Fills or adds to the audio with a sine, square or triangle wave shaped by an amplitude
    // curve. A note text that names no note is refused before anything changes; so is a length
    // whose buffer cannot be had, and the old audio then stays.
    bool Synthesize(const SynthesizeValues& values);

    // "From .&KRZ": asks for a Kurzweil file, lists its samples, and replaces the audio with the
    // one chosen. False when cancelled or refused (its message shown); the document is then
    // unchanged.
    bool OnImportKrz();
    bool ImportKrz(const std::string& path);

    // "&Resample...": asks for a new rate or pitch and a method, then recomputes the audio. False
    // when cancelled or refused (its message shown); the document is then unchanged.
    bool OnResample();
    // The same with the dialog's values given.
    bool Resample(const ResampleValues& values);
    // What the resample dialog starts with: the current rate and the pitch as text.
    ResampleValues ResampleDialogValues() const;

    // Whole commands on a document read without its audio (ReadWav with a place): the audio at
    // `source` (SampleCount() samples) is worked on block by block and saved to `path` as the
    // operation and WriteWav would have written it; the document is left with the result's points
    // and no buffer. False when refused or the file could not be written (its message shown).
    bool SaveNormalized(const std::int16_t* source, const std::string& path);
    bool SaveResampled(const ResampleValues& values, const std::int16_t* source, const std::string& path);
    // "C&hange playback rate...": asks for a new nominal rate; the audio stays as it is.
    bool OnChangePlaybackRate();
    bool SetPlaybackRate(std::uint32_t rate);

    static std::span<const SampleCommandInfo> Commands();
    static const SampleCommandInfo& CommandInfo(SampleCommand command);
    bool IsCommandEnabled(SampleCommand command) const;

    // The pictures of the sample, on a logical area of width × height with `samplesPerPixel`
    // frames a column and sample values divided by `ampDivisor`: the displayed span (the
    // selection) with its markers and an optional pitch grid, the splice the loop makes, and the
    // whole sample. A pitch grid over a pitch of 0 sets the pitch to 440 Hz.
    void DrawWave(DrawingSurface& surface, int width, int height, int samplesPerPixel, int ampDivisor,
                  bool pitchGrid);
    void DrawLoopSplice(DrawingSurface& surface, int width, int height, int samplesPerPixel,
                        int ampDivisor) const;
    void DrawOverview(DrawingSurface& surface, int width, int height, int samplesPerPixel, int ampDivisor,
                      bool loopDisplay) const;
    const SampleDrawingTools& DrawingTools() const { return m_tools; }
    // Smallest and largest value of one channel over frames [first, end), first < end <= frames.
    CWaveSummary::Extremes ChannelExtremes(int channel, std::uint32_t first, std::uint32_t end) const;

    int Channels() const { return m_bStereo ? 2 : 1; }
    // Samples in the buffer: frames times channels.
    std::size_t SampleCount() const { return static_cast<std::size_t>(m_nFrames) * Channels(); }
    // The stop point; with no stop point set, the end of the audio.
    std::uint64_t StopPoint() const;

    std::uint32_t m_nFrames = 0;
    std::unique_ptr<std::int16_t[]> m_pData; // interleaved left, right when stereo
    std::uint32_t m_nRate = 0;
    std::uint32_t m_nStart = 0;
    std::uint32_t m_nLength = 0; // 0: no stop point
    std::uint32_t m_nLoopStart = 0;
    std::uint32_t m_nLoopLength = 0; // 0: no loop
    std::uint32_t m_nSelStart = 0;
    std::uint32_t m_nSelLength = 0;
    bool m_bStereo = false;
    double m_dPitch = 0;
    double m_dLoopPitch = 0;
    bool m_bCompensate = false;
    // The chunks of other programs that the WAVE file brought; the archive form keeps none.
    WavChunks m_wavChunks;
    // The command's edit in progress, which records the undo step; null between commands.
    CSampleEdit* m_pEdit = nullptr;

protected:
    // Any change but the pitch's or the views' own may have changed the audio.
    void OnUpdatingViews(long hint) override;
    // The player reads the audio in place: it stops before a step exchanges the buffer.
    void OnHistoryStepping() override;

private:
    const CWaveSummary& Summary() const;

    // A resampling the document has agreed to: the new rate, pitch and length, and the step.
    struct ResamplePlan {
        std::uint32_t newRate;
        double newPitch;
        double step;
        std::uint32_t newFrames;
        ResampleMethod method;
    };
    // Checks the values (refusing with a message) and works out the new length.
    std::optional<ResamplePlan> PlanResample(const ResampleValues& values);
    // Computes the new audio from `source`, handing it to `store` block by block in order as
    // work values with the scale and magnitude StoreResampled takes; `sourceDone` is told once the
    // source has been read for the last time. `work` holds the whole result for the bandlimited
    // method (which scales by the peak), and is not used by the others.
    using ResampledStore = std::function<void(const float* values, std::size_t firstSample, std::size_t count,
                                              float scale, float magnitude)>;
    void ComputeResampled(const ResamplePlan& plan, const std::int16_t* source, std::uint32_t sourceFrames,
                          float* work, const ResampledStore& store, const std::function<void()>& sourceDone);
    // The points, rate, pitch and length of the result.
    void AdoptResampled(const ResamplePlan& plan);

    SampleDrawingTools m_tools;
    mutable CWaveSummary m_summary;

    // After an edit that moved or replaced the audio: the kept chunks that name frames follow it,
    // or are dropped with a note.
    void KeptChunksFollowAudio(const FrameMap& map);
    void KeptChunksAudioReplaced();
    // Keeps every point inside the audio, whatever a file said.
    void FitPointsToAudio();
    // The largest start the range setters allow.
    std::uint32_t LastRangeStart() const { return m_nFrames >= 2 ? m_nFrames - 2 : 0; }
    // A range starts no later than LastRangeStart and ends within the audio.
    void ClampRange(std::uint32_t& start, std::uint32_t& length) const;
    void HoldLoopInSampleRange();
    // False, with a message, when a marked range reaches beyond the audio.
    bool MarkInsideAudio(std::uint32_t markStart, std::uint32_t markLength);
};

// Whether a WAVE file holds audio other than 16-bit PCM (24-bit, float, ...) in a format chunk we can
// read: such a file is for an import to convert. False for anything ReadWav itself would take or
// refuse for other reasons.
bool IsOtherAudioWav(const std::string& path);

// Whether a path names the WAVE form: its last four characters, upper-cased, are ".WAV".
bool IsWavPath(const std::string& path);
