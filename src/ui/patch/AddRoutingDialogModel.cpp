#include "ui/patch/AddRoutingDialogModel.h"

#include "patch/RoutingItem.h"

#include <utility>

CAddRoutingDialogModel::CAddRoutingDialogModel(AddRoutingValues values) : m_values(std::move(values)) {
    m_values.source = kSourceNone;
    m_values.destination = kDestinationNone;
}

bool CAddRoutingDialogModel::ChooseSource(int index) {
    bool valid = index >= 0 && index < static_cast<int>(m_values.sources.size());
    m_nSource = valid ? index : -1;
    m_values.source = valid ? m_values.sources[static_cast<std::size_t>(index)].code : kSourceNone;
    if (!ShowsController())
        return false;
    m_values.controller = 0;
    return true;
}

bool CAddRoutingDialogModel::ShowsStage() const {
    return m_values.destination == kDestinationEnvLevel || m_values.destination == kDestinationEnvDuration;
}

bool CAddRoutingDialogModel::ChooseDestination(int index) {
    bool valid = index >= 0 && index < static_cast<int>(m_values.destinations.size());
    m_nDestination = valid ? index : -1;
    m_values.destination =
        valid ? m_values.destinations[static_cast<std::size_t>(index)].code : kDestinationNone;
    if (!ShowsStage())
        return false;
    m_values.stage = 1;
    return true;
}

std::optional<CAddRoutingDialogModel::Refusal> CAddRoutingDialogModel::Accept(std::int32_t controller,
                                                                              std::int32_t stage) {
    if (ShowsController()) {
        if (controller < 0 || controller > 127)
            return Refusal{"The controller number must be between 0 and 127", Field::Controller};
        m_values.controller = controller;
    } else {
        m_values.controller = 0;
    }
    if (ShowsStage()) {
        if (stage < 1 || stage > 127)
            return Refusal{"The envelope segment number must be 1 or greater", Field::Stage};
        m_values.stage = stage;
    } else {
        m_values.stage = 0;
    }
    return std::nullopt;
}
