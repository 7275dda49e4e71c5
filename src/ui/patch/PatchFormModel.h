#pragma once

#include "docview/Document.h"
#include "layer/PatchAudition.h"
#include "ui/patch/PatchPropertySheetModel.h"

#include <cstdint>
#include <functional>
#include <string>

class CLayerDoc;
class CPatchDoc;
class CPatchTreeModel;

// The patch form without its window: the Number, Name and Level boxes of the current patch and
// their Apply, the audition's key and velocity with "Play", and the property sheet of the current
// layer with its Apply and Reset. It is a view of the document: every update shows the tree's
// current patch and layer afresh and makes the next Play prepare its voices again.
class CPatchFormModel : public CView {
public:
    // How a slider moved, as the scroll bar tells it.
    enum class SliderAction { LineDown, LineUp, PageDown, PageUp, Thumb, Other };
    static constexpr int kLowestValue = 1;
    static constexpr int kHighestValue = 127;
    static constexpr int kPitchPage = 12;
    static constexpr int kVelocityPage = 10;

    // The boxes as the form shows them.
    struct Boxes {
        bool enabled = false;
        std::uint16_t number = 0;
        std::string name; // UTF-8
        std::int32_t level = 0;
    };

    CPatchFormModel(CPatchDoc& doc, const CPatchTreeModel& tree, CLayerDoc& library);
    ~CPatchFormModel() override;
    CPatchFormModel(const CPatchFormModel&) = delete;
    CPatchFormModel& operator=(const CPatchFormModel&) = delete;

    // Heard after every update, so the window shows the boxes and the sheet again.
    void SetUpdatedHandler(std::function<void()> handler) { m_onUpdated = std::move(handler); }

    void OnUpdate(CView* sender, long hint) override;
    void Update();

    const Boxes& GetBoxes() const { return m_boxes; }
    // The "PATCH -> LAYER" line, and whether it and the sheet's buttons show.
    bool IsLayerShown() const { return m_bLayerShown; }
    const std::string& LayerText() const { return m_strLayerText; }
    bool IsResetEnabled() const { return m_bResetEnabled; }

    // The boxes' Apply: the number (moving the patch when it changes), name and level. False when
    // nothing was applied.
    bool Apply(std::uint16_t number, const std::string& name, std::int32_t level);

    // A slider's new value: steps of one and of a page, or the thumb, kept within 1..127.
    static int SliderValue(int value, SliderAction action, int thumb, int page);
    void OnPitchSlider(SliderAction action, int thumb);
    void OnVelocitySlider(SliderAction action, int thumb);
    int Pitch() const { return m_nPitch; }
    int Velocity() const { return m_nVelocity; }
    // The note name of the pitch: "E 4".
    std::string PitchText() const;
    // Plays the current patch; false when nothing was played.
    bool Play();

    // The sheet's buttons.
    bool ApplySheet();
    bool ResetSheet();

    CPatchPropertySheetModel& Sheet() { return m_sheet; }
    CPatchAudition& Audition() { return m_audition; }

private:
    // What the views are told when a change of the current patch is undone: its number.
    long CurrentPatchNumber() const;

    CPatchDoc& m_doc;
    const CPatchTreeModel& m_tree;
    CLayerDoc& m_library;
    Boxes m_boxes;
    bool m_bLayerShown = false;
    std::string m_strLayerText;
    bool m_bResetEnabled = false;
    int m_nPitch = 64;
    int m_nVelocity = 100;
    CPatchPropertySheetModel m_sheet;
    CPatchAudition m_audition;
    std::function<void()> m_onUpdated;
};
