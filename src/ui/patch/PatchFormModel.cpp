#include "ui/patch/PatchFormModel.h"

#include "docview/DocumentEdit.h"
#include "patch/PatchDoc.h"
#include "platform/TextEncoding.h"
#include "sample/PitchNames.h"
#include "sample/Player.h"
#include "ui/patch/PatchTreeModel.h"

#include <algorithm>

CPatchFormModel::CPatchFormModel(CPatchDoc& doc, const CPatchTreeModel& tree, CLayerDoc& library)
    : m_doc(doc), m_tree(tree), m_library(library) {
    m_doc.AddView(this);
}

CPatchFormModel::~CPatchFormModel() {
    m_doc.RemoveView(this);
    PlayerStop();
    PlayerClose();
}

void CPatchFormModel::OnUpdate(CView*, long) {
    Update();
}

void CPatchFormModel::Update() {
    CPatch* patch = m_tree.CurrentPatch();
    CLayerParams* layer = m_tree.CurrentLayer();
    m_boxes.enabled = patch != nullptr;
    if (patch)
        m_boxes = {true, patch->m_nNumber, Cp1252ToUtf8(patch->m_strName), patch->m_nMasterLevel};
    // The voices point at layer parameters that may be gone.
    m_audition.Invalidate();
    m_sheet.SetLayerParams(layer);
    m_bLayerShown = layer != nullptr;
    m_strLayerText.clear();
    if (layer && patch)
        m_strLayerText = Cp1252ToUtf8(patch->m_strName) + " -> " + Cp1252ToUtf8(layer->m_strLayerName);
    m_bResetEnabled = false;
    if (m_onUpdated)
        m_onUpdated();
}

bool CPatchFormModel::Apply(std::uint16_t number, const std::string& name, std::int32_t level) {
    CPatch* patch = m_tree.CurrentPatch();
    if (!patch)
        return false;
    std::uint16_t oldNumber = patch->m_nNumber;
    CDocumentEdit edit(m_doc, "Apply Patch Settings", number);
    CPatch* applied = m_doc.ApplyPatchSettings(*patch, number, Utf8ToCp1252(name), level, this);
    if (!applied)
        return false;
    if (applied->m_nNumber != oldNumber)
        m_audition.Invalidate();
    return true;
}

long CPatchFormModel::CurrentPatchNumber() const {
    const CPatch* patch = m_tree.CurrentPatch();
    return patch ? patch->m_nNumber : 0;
}

int CPatchFormModel::SliderValue(int value, SliderAction action, int thumb, int page) {
    switch (action) {
    case SliderAction::LineDown:
        value -= 1;
        break;
    case SliderAction::LineUp:
        value += 1;
        break;
    case SliderAction::PageDown:
        value -= page;
        break;
    case SliderAction::PageUp:
        value += page;
        break;
    case SliderAction::Thumb:
        value = thumb;
        break;
    case SliderAction::Other:
        return value;
    }
    return std::clamp(value, kLowestValue, kHighestValue);
}

void CPatchFormModel::OnPitchSlider(SliderAction action, int thumb) {
    m_nPitch = SliderValue(m_nPitch, action, thumb, kPitchPage);
}

void CPatchFormModel::OnVelocitySlider(SliderAction action, int thumb) {
    m_nVelocity = SliderValue(m_nVelocity, action, thumb, kVelocityPage);
}

std::string CPatchFormModel::PitchText() const {
    return KeyName(m_nPitch);
}

bool CPatchFormModel::Play() {
    CPatch* patch = m_tree.CurrentPatch();
    if (!patch)
        return false;
    return m_audition.Play(m_library, *patch, m_nPitch, m_nVelocity);
}

bool CPatchFormModel::ApplySheet() {
    CDocumentEdit edit(m_doc, "Apply Layer Settings", CurrentPatchNumber());
    if (!m_sheet.ApplyPages())
        return false;
    m_bResetEnabled = true;
    m_doc.SetModifiedFlag();
    return true;
}

bool CPatchFormModel::ResetSheet() {
    CDocumentEdit edit(m_doc, "Reset Layer Settings", CurrentPatchNumber());
    m_sheet.RevertPages();
    m_bResetEnabled = false;
    return true;
}
