#pragma once

#include "app/ChildFrame.h"
#include "app/WloeApp.h"

#include <functional>
#include <memory>
#include <string>

class CLayerDoc;
class CPatchDoc;
class CPatchFormModel;
class CPatchFormView;
class CPatchTreeModel;
class CPatchTreeView;
class QMainWindow;
class QSplitter;
class QToolBar;

// The patch editor window: the tree of the bank left, the form of the selection right, the
// toolbar of the tree's four commands, and a private read-only copy of the layer library.
class CPatchFrame : public CChildFrame {
    Q_OBJECT
public:
    using OpenFunction = std::function<void(const std::string& path)>;

    // The library is read from `layerFile`; `open` opens a sample the tree's double click names.
    CPatchFrame(std::unique_ptr<CPatchDoc> document, const std::string& layerFile, OpenFunction open,
                QWidget* parent = nullptr);
    ~CPatchFrame() override;

    CPatchDoc& PatchDoc() const;
    CLayerDoc& LayerLibrary() const { return *m_pLayerLibrary; }
    CPatchTreeModel& TreeModel() const { return *m_pTreeModel; }
    CPatchFormModel& FormModel() const { return *m_pFormModel; }
    CPatchTreeView* TreeView() const { return m_pTreeView; }
    CPatchFormView* FormView() const { return m_pFormView; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QSplitter* Splitter() const { return m_pSplitter; }

    bool OnCommand(Command command) override;
    bool IsCommandEnabled(Command command) const override;
    QStatusBar* PromptBar() const override;
    void FocusNextPane(bool forward) override;
    void UpdateCommandUi();

private:
    void BuildToolBar();

    std::unique_ptr<CLayerDoc> m_pLayerLibrary;
    std::unique_ptr<CPatchTreeModel> m_pTreeModel;
    std::unique_ptr<CPatchFormModel> m_pFormModel;
    QMainWindow* m_pInner;
    QSplitter* m_pSplitter;
    CPatchTreeView* m_pTreeView;
    CPatchFormView* m_pFormView;
    QToolBar* m_pToolBar = nullptr;
};

// How the application makes patch documents and their windows.
EditorFactory PatchEditorFactory(CWloeApp& app);
