#include "ui/patch/PatchPropertySheetModel.h"

#include "platform/TextEncoding.h"

CPatchPropertySheetModel::CPatchPropertySheetModel()
    : m_keyRoutings(KeyRoutingKind()), m_continuousRoutings(ContinuousRoutingKind()) {}

void CPatchPropertySheetModel::SetLayerParams(CLayerParams* params) {
    // Only the page in front follows; the others keep their state until shown.
    bool on = params != nullptr;
    switch (m_nActivePage) {
    case kEnvelopePage:
        m_envelope.EnableControls(on);
        break;
    case kKeyRoutingPage:
        m_keyRoutings.EnableControls(on);
        break;
    case kXfadePage:
        m_xfade.EnableControls(on);
        break;
    default:
        m_continuousRoutings.EnableControls(on);
        break;
    }
    m_bEnabled = on;
    // Without layer parameters nothing may be applied, least of all to a layer since deleted.
    m_pEdited = params;
    if (!params)
        return;
    m_backup.CopyFrom(*params);
    m_strTitle = Cp1252ToUtf8(params->m_strLayerName);
    LoadPages();
}

void CPatchPropertySheetModel::LoadPages() {
    m_envelope.LoadFrom(m_pEdited->m_envelope, m_pEdited->m_nLevel);
    m_keyRoutings.LoadFrom(m_pEdited->m_noteOnRouting);
    m_xfade.LoadFrom(m_pEdited->m_xfade);
    m_continuousRoutings.LoadFrom(m_pEdited->m_controllerRouting);
}

bool CPatchPropertySheetModel::ApplyPages() {
    if (!m_pEdited)
        return false;
    m_envelope.StoreTo(m_pEdited->m_envelope, m_pEdited->m_nLevel);
    m_keyRoutings.StoreCurve();
    m_keyRoutings.StoreTo(m_pEdited->m_noteOnRouting);
    m_xfade.StoreTo(m_pEdited->m_xfade);
    m_continuousRoutings.StoreCurve();
    m_continuousRoutings.StoreTo(m_pEdited->m_controllerRouting);
    return true;
}

bool CPatchPropertySheetModel::RevertPages() {
    if (!m_pEdited)
        return false;
    m_pEdited->CopyFrom(m_backup);
    LoadPages();
    return true;
}
