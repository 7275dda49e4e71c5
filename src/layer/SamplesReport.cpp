#include "layer/SamplesReport.h"

#include "layer/CaseFold.h"
#include "layer/LayerDoc.h"
#include "layer/SamplePath.h"
#include "platform/FileIo.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "sample/PitchNames.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

namespace {
constexpr std::array<int, 4> kAttackLevels = {-24, -18, -12, -6};

template <class... Args> std::string Format(const char* pattern, Args... args) {
    char text[256];
    int n = std::snprintf(text, sizeof text, pattern, args...);
    return n < 0 ? std::string()
                 : std::string(text, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof text - 1));
}

// A time in seconds; a document without a rate has none.
double Seconds(std::uint32_t frames, std::uint32_t rate) {
    return rate == 0 ? 0.0 : static_cast<double>(frames) / rate;
}
} // namespace

std::array<double, 4> AttackThresholds(std::int32_t level) {
    std::array<double, 4> thresholds{};
    for (std::size_t k = 0; k < thresholds.size(); ++k)
        thresholds[k] =
            std::trunc(32767.0 * std::exp2((kAttackLevels[k] - static_cast<double>(level)) / 6.0));
    return thresholds;
}

SampleMeasures MeasureSample(const SampleReportInput& sample, std::int32_t level) {
    SampleMeasures measures;
    if (!sample.data)
        return measures;
    std::array<double, 4> thresholds = AttackThresholds(level);
    const std::uint64_t channels = sample.stereo ? 2 : 1;
    // A length of 0 means no stop point: the audio runs to its end. A stop point beyond the
    // audio (a damaged file) is not read past.
    const std::uint64_t first = std::uint64_t{sample.start} * channels;
    const std::uint64_t end = std::uint64_t{sample.frames} * channels;
    const std::uint64_t wanted = sample.length != 0 ? std::uint64_t{sample.length} * channels : end;
    const std::uint64_t count = first >= end ? 0 : std::min<std::uint64_t>(wanted, end - first);
    std::size_t next = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::int32_t value = sample.data[first + i];
        auto magnitude = static_cast<std::uint32_t>(value < 0 ? -value : value);
        if (next < thresholds.size() && magnitude > thresholds[next]) {
            measures.attack[next] = static_cast<std::uint32_t>(i / channels);
            ++next;
        }
        measures.peak = std::max(measures.peak, magnitude);
    }
    return measures;
}

std::string SampleReportEntry(const std::string& name, const std::string& path, std::int32_t level,
                              const SampleReportInput& sample) {
    std::string text = name;
    if (text.size() < 30)
        text.append(30 - text.size(), ' ');
    text += " (" + path + ")";
    text += "\r\n  Pitch:" + PitchText(sample.pitch);
    text += Format("  Stereo:%c  Length:%07lu  Time:%2.2f  Level:%d", sample.stereo ? 'Y' : 'N',
                   static_cast<unsigned long>(sample.length), Seconds(sample.frames, sample.rate), level);
    SampleMeasures measures = MeasureSample(sample, level);
    text += Format("\r\n  Attack (-24/-18/-12/-6dB): %1.3f/%1.3f/%1.3f/%1.3f",
                   Seconds(measures.attack[0], sample.rate), Seconds(measures.attack[1], sample.rate),
                   Seconds(measures.attack[2], sample.rate), Seconds(measures.attack[3], sample.rate));
    text +=
        Format("\r\n  Max amplitude: %2.2f  Loop from %lu to %lu\r\n\r\n", measures.peak * 0.0030517578125,
               static_cast<unsigned long>(sample.loopStart),
               static_cast<unsigned long>(static_cast<std::uint32_t>(sample.loopStart + sample.loopLength)));
    return text;
}

std::string SampleReportError(const std::string& name, const std::string& path) {
    return "*** Error loading sample doc for " + name + "\r\n    " + path + " could not be opened\r\n\r\n";
}

std::vector<const CSample*> SamplesToReport(const CLayerDoc& doc, const CLayer* layer) {
    std::vector<const CSample*> samples;
    if (layer) {
        std::unordered_set<const CSample*> seen;
        layer->m_keys.ForEach([&](std::uint16_t, CSample* sample) {
            if (seen.insert(sample).second)
                samples.push_back(sample);
        });
    } else {
        doc.Samples().ForEach([&](const std::string&, const std::unique_ptr<CSample>& sample) {
            samples.push_back(sample.get());
        });
    }
    // Names that differ only in case keep a fixed order between them.
    std::sort(samples.begin(), samples.end(), [](const CSample* a, const CSample* b) {
        int order = CompareIgnoringCase(a->m_strName, b->m_strName);
        return order != 0 ? order < 0 : a->m_strName < b->m_strName;
    });
    return samples;
}

namespace {
SampleReportInput InputOf(const CSampleDoc& doc) {
    SampleReportInput input;
    input.data = doc.m_pData.get();
    input.frames = doc.m_nFrames;
    input.stereo = doc.m_bStereo;
    input.rate = doc.m_nRate;
    input.start = doc.m_nStart;
    input.length = doc.m_nLength;
    input.loopStart = doc.m_nLoopStart;
    input.loopLength = doc.m_nLoopLength;
    input.pitch = doc.m_dPitch;
    return input;
}
} // namespace

bool CLayerDoc::ReportSamples(const CLayer* layer, const std::string& path) const {
    // Measured before the output exists: a long measurement stopped midway leaves nothing behind.
    std::string text;
    for (const CSample* sample : SamplesToReport(*this, layer)) {
        // Each file is measured in a document of its own; the cache is left alone.
        CSampleDoc doc;
        text += doc.LoadSample(SamplePathForOpening(sample->m_strPath))
                    ? SampleReportEntry(sample->m_strName, sample->m_strPath, sample->m_nLevel, InputOf(doc))
                    : SampleReportError(sample->m_strName, sample->m_strPath);
    }
    if (!WriteReportFile(path, text))
        return false;
    GetShell().OpenForReading(path);
    return true;
}
