#pragma once

#include "layer/LayerRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CLayerDoc;

// The facts of one loaded sample file that the samples report prints and measures.
struct SampleReportInput {
    const std::int16_t* data = nullptr; // interleaved left, right when stereo
    std::uint32_t frames = 0;
    bool stereo = false;
    std::uint32_t rate = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0;
    double pitch = 0;
};

// The attack thresholds, for -24, -18, -12 and -6 dB relative to the entry's level.
std::array<double, 4> AttackThresholds(std::int32_t level);

struct SampleMeasures {
    // The frame at which each threshold was first exceeded; 0 when it never was.
    std::array<std::uint32_t, 4> attack{};
    // The largest magnitude, 0..32768.
    std::uint32_t peak = 0;
};

// Walks the values from the sample start to the stop, passing at most one threshold per value.
SampleMeasures MeasureSample(const SampleReportInput& sample, std::int32_t level);

// One entry of the report, as its bytes stand in the file.
std::string SampleReportEntry(const std::string& name, const std::string& path, std::int32_t level,
                              const SampleReportInput& sample);
// The two lines for an entry whose file could not be loaded.
std::string SampleReportError(const std::string& name, const std::string& path);

// The entries a report lists, by name without regard to case: all of them, or each entry that
// `layer` maps, once.
std::vector<const CSample*> SamplesToReport(const CLayerDoc& doc, const CLayer* layer);
