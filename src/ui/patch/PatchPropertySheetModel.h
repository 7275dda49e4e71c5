#pragma once

#include "patch/LayerParams.h"
#include "ui/patch/EnvelopePageModel.h"
#include "ui/patch/RoutingPageModel.h"
#include "ui/patch/XfadePageModel.h"

#include <string>

// The property sheet without its window: the four pages' working copies of one layer's
// parameters, and the backup that "Reset" goes back to.
class CPatchPropertySheetModel {
public:
    enum Page { kEnvelopePage, kKeyRoutingPage, kXfadePage, kContinuousRoutingPage, kPageCount };

    CPatchPropertySheetModel();

    // The layer parameters to edit (or none): the active page's controls follow, the backup is
    // taken, every page is loaded.
    void SetLayerParams(CLayerParams* params);
    // Every page into the edited layer parameters; false without any.
    bool ApplyPages();
    // The edited layer parameters back to the backup, and every page loaded again.
    bool RevertPages();

    CLayerParams* EditedLayer() const { return m_pEdited; }
    bool IsEnabled() const { return m_bEnabled; }
    const std::string& Title() const { return m_strTitle; }
    void SetActivePage(int page) { m_nActivePage = page; }
    int ActivePage() const { return m_nActivePage; }

    CEnvelopePageModel m_envelope;
    CRoutingPageModel m_keyRoutings;
    CXfadePageModel m_xfade;
    CRoutingPageModel m_continuousRoutings;

private:
    void LoadPages();

    CLayerParams* m_pEdited = nullptr;
    CLayerParams m_backup;
    bool m_bEnabled = false;
    int m_nActivePage = kEnvelopePage;
    std::string m_strTitle;
};
