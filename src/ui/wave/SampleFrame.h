#pragma once

#include "app/ChildFrame.h"
#include "app/WloeApp.h"

#include <QPointer>

#include <cstdint>
#include <memory>
#include <string>

class CSampleDoc;
class CSampleView1;
class CSampleView2;
class CSetPitchDialog;
class QLabel;
class QMainWindow;
class QSplitter;
class QToolBar;

// The wave editor window: the waveform view over the overview strip, its own toolbar and status
// panes, the display mode both views follow, and the modeless Set Pitch dialog.
class CSampleFrame : public CChildFrame {
    Q_OBJECT
public:
    explicit CSampleFrame(std::unique_ptr<CSampleDoc> document, QWidget* parent = nullptr);
    ~CSampleFrame() override;

    CSampleDoc& SampleDoc() const;
    CSampleView1* WaveView() const { return m_pView1; }
    CSampleView2* Strip() const { return m_pView2; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QSplitter* Splitter() const { return m_pSplitter; }
    CSetPitchDialog* PitchDialog() const { return m_pPitchDialog; }

    bool OnCommand(Command command) override;
    bool IsCommandEnabled(Command command) const override;
    bool IsCommandChecked(Command command) const override;
    QStatusBar* PromptBar() const override;
    void FocusNextPane(bool forward) override;

    // 0: the normal display; 1: the loop display.
    int DisplayMode() const { return m_nDisplayMode; }
    bool IsLoopDisplay() const { return m_nDisplayMode == 1; }

    void SetPlayPane(std::uint64_t start, std::uint64_t stop);
    void SetLoopPane(std::uint64_t start, std::uint64_t end);
    void SetPitchPane(double hz, const std::string& noteName);
    void SetPositionPane(std::int64_t frame, std::uint32_t rate);
    void SetMarkPane(std::uint32_t start, std::uint32_t length, std::uint32_t rate);
    // Panes 0 (prompts) to 6 (the marked range).
    QString PaneText(int pane) const;
    void RefreshPitchDialog();

    // Enables and checks the toolbar's buttons as the commands stand; also where the display
    // mode goes back to normal once the loop is gone.
    void UpdateCommandUi();
    // Sets the two rows to 85 % and 15 % of their height.
    void SplitRows();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildStatusBar();
    void OnDocumentCommand(Command command);
    bool IsDocumentCommand(Command command, bool* enabled) const;

    QMainWindow* m_pInner;
    QSplitter* m_pSplitter;
    CSampleView1* m_pView1;
    CSampleView2* m_pView2;
    QToolBar* m_pToolBar = nullptr;
    static constexpr int kPaneCount = 7;
    QLabel* m_pPanes[kPaneCount] = {};
    CSetPitchDialog* m_pPitchDialog;
    mutable int m_nDisplayMode = 0;
    bool m_bWatchingActivation = false;
};

// How the application makes wave documents and their windows.
EditorFactory SampleEditorFactory();
