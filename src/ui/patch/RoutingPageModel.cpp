#include "ui/patch/RoutingPageModel.h"

#include "platform/Ui.h"

#include <algorithm>
#include <cstdio>

namespace {
std::string Numbered(const char* format, std::int32_t value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string KeySourceText(std::int32_t source, std::int32_t controller) {
    switch (source) {
    case kSourceKeyNumber:
        return "Key Number";
    case kSourceVelocity:
        return "Velocity";
    case kSourceController:
        return Numbered("Controller %d", controller);
    default:
        return "Error!";
    }
}

std::string KeyDestinationText(std::int32_t destination, std::int32_t stage) {
    switch (destination) {
    case kDestinationVolume:
        return "Volume";
    case kDestinationPitch:
        return "Pitch";
    case kDestinationEnvLevel:
        return Numbered("AmpEnvLevel %d", stage + 1);
    case kDestinationEnvDuration:
        return Numbered("AmpEnvDur %d", stage + 1);
    case kDestinationEnvHoldLevel:
        return "AmpEnvHoldLevel";
    case kDestinationEnvReleaseDuration:
        return "AmpEnvReleaseDur";
    default:
        return "Error!";
    }
}

std::string ContinuousSourceText(std::int32_t source, std::int32_t controller) {
    switch (source) {
    case kSourceController:
        return Numbered("Controller %d", controller);
    case kSourcePitchWheel:
        return "Pitch Wheel";
    case kSourceAftertouch:
        return "Channel Aftertouch";
    default:
        return "Error!";
    }
}

std::string ContinuousDestinationText(std::int32_t destination, std::int32_t) {
    switch (destination) {
    case kDestinationVolume:
        return "Volume";
    case kDestinationPitch:
        return "Pitch";
    default:
        return "Error!";
    }
}

bool IsDuration(std::int32_t destination) {
    return destination == kDestinationEnvDuration || destination == kDestinationEnvReleaseDuration;
}

bool TakesStage(std::int32_t destination) {
    return destination == kDestinationEnvLevel || destination == kDestinationEnvDuration;
}

constexpr std::int32_t kAmountPercent = 100;
} // namespace

const RoutingPageKind& KeyRoutingKind() {
    static const RoutingPageKind kind{
        "Key Routings",
        "Active Key Routings",
        {{"Velocity", kSourceVelocity}, {"Key Number", kSourceKeyNumber}, {"Controller", kSourceController}},
        {{"Volume", kDestinationVolume},
         {"Pitch", kDestinationPitch},
         {"Amp Env Level", kDestinationEnvLevel},
         {"Amp Env Dur", kDestinationEnvDuration},
         {"Amp Env Hold Level", kDestinationEnvHoldLevel},
         {"Amp Env Release Dur", kDestinationEnvReleaseDuration}},
        KeySourceText,
        KeyDestinationText,
        true};
    return kind;
}

const RoutingPageKind& ContinuousRoutingKind() {
    static const RoutingPageKind kind{"Continuous Routings",
                                      "Active Continuous Routings",
                                      {{"Controller", kSourceController},
                                       {"Channel Aftertouch", kSourceAftertouch},
                                       {"Pitch Wheel", kSourcePitchWheel}},
                                      {{"Volume", kDestinationVolume}, {"Pitch", kDestinationPitch}},
                                      ContinuousSourceText,
                                      ContinuousDestinationText,
                                      false};
    return kind;
}

CRoutingPageModel::CRoutingPageModel(const RoutingPageKind& kind) : m_kind(kind) {
    m_graph.SetXRange(1, 127, 10);
}

std::vector<std::string> CRoutingPageModel::Descriptions() const {
    std::vector<std::string> lines;
    for (const Entry& entry : m_entries)
        lines.push_back(m_kind.sourceText(entry.source, entry.controller) + " to " +
                        m_kind.destinationText(entry.destination, entry.stage));
    return lines;
}

void CRoutingPageModel::StoreCurve() {
    if (m_nSelected >= 0 && m_nSelected < GetCount())
        m_entries[static_cast<std::size_t>(m_nSelected)].curve = m_graph.GetPoints();
}

void CRoutingPageModel::OnSelectionChanged(int index) {
    if (index < 0)
        return;
    StoreCurve();
    ShowRouting(index);
}

void CRoutingPageModel::ShowRouting(int index) {
    m_bZoomEnabled = false;
    if (index < 0 || index >= GetCount()) {
        m_nSelected = -1;
        m_graph.SetPointCount(0);
        return;
    }
    m_nSelected = index;
    const Entry& entry = m_entries[static_cast<std::size_t>(index)];
    if (m_kind.keyPage)
        m_graph.SetXRange(0, 127, entry.source == kSourceKeyNumber ? 12 : 10);
    if (entry.destination == kDestinationVolume ||
        (m_kind.keyPage &&
         (entry.destination == kDestinationEnvLevel || entry.destination == kDestinationEnvHoldLevel))) {
        m_graph.SetYRange(-60, 10, 10);
        m_strUnit = "dB";
    } else if (entry.destination == kDestinationPitch) {
        m_graph.SetYRange(-100, 100, 100);
        m_strUnit = "%";
    } else if (m_kind.keyPage && IsDuration(entry.destination)) {
        m_bZoomEnabled = true;
        m_strUnit = "%";
        SetDurationZoom(1);
    } else {
        GetUi().Message("Internal error: unexpected dest code");
    }
    m_graph.SetPointCount(static_cast<int>(entry.curve.size()));
    for (std::size_t i = 0; i < entry.curve.size(); ++i)
        m_graph.SetPoint(static_cast<int>(i), PackedX(entry.curve[i]), PackedY(entry.curve[i]));
}

bool CRoutingPageModel::OnAdd() {
    AddRoutingValues values;
    values.sources = m_kind.sources;
    values.destinations = m_kind.destinations;
    std::optional<AddRoutingValues> answer = GetUi().AskDialog(values);
    return answer && AddRouting(*answer);
}

bool CRoutingPageModel::AddRouting(const AddRoutingValues& values) {
    Entry entry{values.source, values.destination, values.controller, values.stage, {}};
    if (m_kind.keyPage && TakesStage(entry.destination))
        --entry.stage;
    bool duplicate = std::any_of(m_entries.begin(), m_entries.end(), [&entry](const Entry& e) {
        return e.source == entry.source && e.destination == entry.destination &&
               e.controller == entry.controller && e.stage == entry.stage;
    });
    if (duplicate) {
        GetUi().Message("That routing is already in place.");
        return false;
    }
    bool fullAmount = m_kind.keyPage && IsDuration(entry.destination);
    entry.curve = {PackPoint(1, fullAmount ? kAmountPercent : 0)};
    StoreCurve();
    m_entries.push_back(std::move(entry));
    ShowRouting(GetCount() - 1);
    return true;
}

bool CRoutingPageModel::OnDelete(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    m_entries.erase(m_entries.begin() + index);
    ShowRouting(index < GetCount() ? index : index - 1);
    return true;
}

void CRoutingPageModel::SetDurationZoom(int index) {
    m_nZoom = index;
    std::int32_t high = kDurationZoom[index];
    m_graph.SetYRange(0, high, GridStepBelow(high));
}

void CRoutingPageModel::Zoom() {
    if (ZoomEnabled())
        SetDurationZoom(m_nZoom - 1);
}

void CRoutingPageModel::Unzoom() {
    if (UnzoomEnabled())
        SetDurationZoom(m_nZoom + 1);
}

std::string CRoutingPageModel::YLabel(std::int32_t value) const {
    // Until a routing has been shown there is no range to name.
    if (m_strUnit.empty())
        return {};
    if (value == 0 && m_kind.keyPage)
        return "0";
    char text[32];
    std::snprintf(text, sizeof text, "%+d%s", value, m_strUnit.c_str());
    return text;
}

std::string CRoutingPageModel::YLowLabel() const {
    return YLabel(m_graph.GetYLow());
}

std::string CRoutingPageModel::YHighLabel() const {
    return YLabel(m_graph.GetYHigh());
}

void CRoutingPageModel::OnGraphNotify(int kind, std::uint32_t point) {
    m_strReadOut = PointReadOut(kind, point, "(%d,%d)");
}
