#pragma once

#include <QTabWidget>

class CEnvelopePage;
class CPatchPropertySheetModel;
class CRoutingPage;
class CXfadePage;

// The four pages that edit one layer of a patch: envelope, key routings, crossfade, continuous
// routings. The form's Apply and Reset under the sheet drive it.
class CPatchPropertySheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CPatchPropertySheet(CPatchPropertySheetModel& model, QWidget* parent = nullptr);

    // Shows the model's pages as they stand (after the layer parameters changed, or a Reset).
    void Load();
    // The pages' boxes into the model, before it applies them.
    void Commit();

    CEnvelopePage* EnvelopePage() const { return m_pEnvelope; }
    CRoutingPage* KeyRoutingPage() const { return m_pKeyRoutings; }
    CXfadePage* XfadePage() const { return m_pXfade; }
    CRoutingPage* ContinuousRoutingPage() const { return m_pContinuousRoutings; }

private:
    CPatchPropertySheetModel& m_model;
    CEnvelopePage* m_pEnvelope;
    CRoutingPage* m_pKeyRoutings;
    CXfadePage* m_pXfade;
    CRoutingPage* m_pContinuousRoutings;
};
