#pragma once

#include "app/ChildFrame.h"
#include "app/WloeApp.h"

#include <memory>

class CLayerDoc;
class CLayerFormView;

// The layer editor window: a plain child frame around the layer form, with the layer menus'
// commands.
class CLayerFrame : public CChildFrame {
    Q_OBJECT
public:
    explicit CLayerFrame(std::unique_ptr<CLayerDoc> document, QWidget* parent = nullptr);
    ~CLayerFrame() override;

    CLayerDoc& LayerDoc() const;
    CLayerFormView* FormView() const { return m_pView; }

    bool OnCommand(Command command) override;
    bool IsCommandEnabled(Command command) const override;

protected:
    void OfferToKeepViewChanges() override;

private:
    CLayerFormView* m_pView;
};

// How the application makes layer documents and their windows.
EditorFactory LayerEditorFactory();
