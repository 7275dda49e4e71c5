#include "ui/layer/LayerFrame.h"

#include "layer/LayerDoc.h"
#include "ui/layer/LayerFormView.h"

CLayerFrame::CLayerFrame(std::unique_ptr<CLayerDoc> document, QWidget* parent)
    : CChildFrame(DocumentKind::Layer, std::move(document), parent) {
    m_pView = new CLayerFormView(LayerDoc());
    setWidget(m_pView);
    resize(920, 440);
}

CLayerFrame::~CLayerFrame() {
    // The view goes before the document it points at.
    delete m_pView;
}

CLayerDoc& CLayerFrame::LayerDoc() const {
    return static_cast<CLayerDoc&>(Document());
}

bool CLayerFrame::OnCommand(Command command) {
    switch (command) {
    case Command::ReparentFilePointers:
        LayerDoc().OnReparentFilePointers();
        return true;
    case Command::ReportAllSamples:
        LayerDoc().ReportSamples(nullptr);
        return true;
    case Command::ReportLayerSamples:
        // The working copy, unsaved keys and all.
        if (IsCommandEnabled(command))
            LayerDoc().ReportSamples(&m_pView->Model().WorkingCopy());
        return true;
    default:
        return CChildFrame::OnCommand(command);
    }
}

bool CLayerFrame::IsCommandEnabled(Command command) const {
    switch (command) {
    case Command::ReparentFilePointers:
    case Command::ReportAllSamples:
        return true;
    case Command::ReportLayerSamples:
        return !m_pView->Model().WorkingCopy().m_keys.Empty();
    default:
        return CChildFrame::IsCommandEnabled(command);
    }
}

void CLayerFrame::OfferToKeepViewChanges() {
    m_pView->Model().KeepChanges();
    m_pView->Show();
}

EditorFactory LayerEditorFactory() {
    return {[] { return std::make_unique<CLayerDoc>(); },
            [](std::unique_ptr<CDocument> document) {
                return new CLayerFrame(
                    std::unique_ptr<CLayerDoc>(static_cast<CLayerDoc*>(document.release())));
            }};
}
