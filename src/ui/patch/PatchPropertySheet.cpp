#include "ui/patch/PatchPropertySheet.h"

#include "ui/patch/EnvelopePage.h"
#include "ui/patch/PatchPropertySheetModel.h"
#include "ui/patch/RoutingPage.h"
#include "ui/patch/XfadePage.h"

CPatchPropertySheet::CPatchPropertySheet(CPatchPropertySheetModel& model, QWidget* parent)
    : QTabWidget(parent), m_model(model), m_pEnvelope(new CEnvelopePage(model.m_envelope)),
      m_pKeyRoutings(new CRoutingPage(model.m_keyRoutings)), m_pXfade(new CXfadePage(model.m_xfade)),
      m_pContinuousRoutings(new CRoutingPage(model.m_continuousRoutings)) {
    setObjectName("PatchSheet");
    addTab(m_pEnvelope, "Amplitude Envelope");
    addTab(m_pKeyRoutings, model.m_keyRoutings.Kind().title);
    addTab(m_pXfade, "Crossfade");
    addTab(m_pContinuousRoutings, model.m_continuousRoutings.Kind().title);
    connect(this, &QTabWidget::currentChanged, this, [this](int page) { m_model.SetActivePage(page); });
    Load();
}

void CPatchPropertySheet::Load() {
    setEnabled(m_model.IsEnabled());
    setWindowTitle(QString::fromStdString(m_model.Title()));
    m_pEnvelope->Load();
    m_pKeyRoutings->Load();
    m_pXfade->Load();
    m_pContinuousRoutings->Load();
}

void CPatchPropertySheet::Commit() {
    m_pEnvelope->Commit();
    m_pXfade->Commit();
}
