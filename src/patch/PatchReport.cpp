#include "patch/PatchReport.h"

#include "archive/PackedPoint.h"
#include "patch/PatchDoc.h"
#include "platform/FileIo.h"
#include "platform/Ui.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::vector<char> text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    return std::string(text.data(), text.size() - 1);
}

std::string SourceText(const CRoutingItem& item) {
    switch (item.m_nSource) {
    case kSourceNone:
        return "Nothing (error)";
    case kSourceKeyNumber:
        return "Note Number";
    case kSourceVelocity:
        return "Velocity";
    case kSourceController:
        return Format("Controller %d", item.m_nController);
    case kSourcePitchWheel:
        return "Pitch Wheel";
    case kSourceAftertouch:
        return "Channel Aftertouch";
    default:
        return "Unknown source (error)";
    }
}

std::string DestinationText(const CRoutingItem& item) {
    switch (item.m_nDestination) {
    case kDestinationNone:
        return "Nowhere (error)";
    case kDestinationVolume:
        return "Volume";
    case kDestinationPitch:
        return "Pitch";
    case kDestinationEnvLevel:
        return Format("Amp Env Level %lld", static_cast<long long>(item.m_nStage) + 1);
    case kDestinationEnvDuration:
        return Format("Amp Env Duration %lld", static_cast<long long>(item.m_nStage) + 1);
    case kDestinationEnvHoldLevel:
        return "Amp Env Hold Level";
    case kDestinationEnvReleaseDuration:
        return "Amp Env Release Duration";
    default:
        return "Unknown destination (error)";
    }
}

template <class List> void WriteRoutings(std::string& out, const List& routings) {
    for (int i = 0; i < routings.GetCount(); ++i) {
        const CRoutingItem& item = routings.GetItem(i);
        out += "         " + SourceText(item) + " to " + DestinationText(item) + "\r\n";
        for (std::uint32_t point : item.m_curve)
            out += Format("            %3d @ %d\r\n", PackedY(point), PackedX(point));
    }
}

const char* CrossfadeFormat(std::int32_t curve) {
    switch (curve) {
    case CXfade::kInverseSquare:
        return "      Crossfade (inverse square) at %d, radius %d\r\n";
    case CXfade::kExponential:
        return "      Crossfade (exponential) at %d, radius %d\r\n";
    case CXfade::kLinear:
        return "      Crossfade (linear) at %d, radius %d\r\n";
    default:
        return "      Crossfade (undefined method) at %d, radius %d\r\n";
    }
}

void WriteLayer(std::string& out, int counter, const CLayerParams& layer) {
    out += Format("   LAYER %d: ", counter) + layer.m_strLayerName + Format(" (%d dB)\r\n", layer.m_nLevel);
    out += "      Amplitude Envelope\r\n";
    const CEnvelope& envelope = layer.m_envelope;
    for (int j = 0; j < envelope.GetPointCount(); ++j) {
        out += Format("         %d dB @ %.3f sec", envelope.GetPointLevel(j),
                      static_cast<double>(static_cast<float>(envelope.GetPointTime(j)) * 0.001f));
        if (envelope.IsLinear(j))
            out += " (linear)";
        out += "\r\n";
    }
    out += Format("         Release length %.3f sec\r\n",
                  static_cast<double>(static_cast<float>(envelope.GetRelease()) * 0.001f));
    out += "      Key Routings\r\n";
    WriteRoutings(out, layer.m_noteOnRouting);
    const CXfade& xfade = layer.m_xfade;
    if (xfade.m_nCenter != 0) {
        // The format is one of four fixed texts.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        out += Format(CrossfadeFormat(xfade.m_nCurve), xfade.m_nCenter, xfade.m_nWidth / 2);
#pragma GCC diagnostic pop
    }
    out += "      Continuous Routings\r\n";
    WriteRoutings(out, layer.m_controllerRouting);
}
} // namespace

std::string PatchReportText(const CPatchDoc& doc) {
    std::string out;
    for (std::uint16_t number = 0; number < CPatchDoc::kPatchCount; ++number) {
        const CPatch* patch = doc.FindPatch(number);
        if (!patch)
            continue;
        out += Format("%03d ", number) + patch->m_strName +
               Format("\r\n   Master Level: %d dB\r\n", patch->m_nMasterLevel);
        int counter = 0;
        for (const auto& layer : patch->m_layers) {
            ++counter; // skipped layers count too
            if (!layer->m_strLayerName.empty())
                WriteLayer(out, counter, *layer);
        }
    }
    return out;
}

bool WritePatchReport(const CPatchDoc& doc, const std::string& path) {
    return WriteReportFile(path, PatchReportText(doc));
}
