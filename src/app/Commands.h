#pragma once

#include "app/DocumentKinds.h"

#include <optional>
#include <string>
#include <vector>

// Every command a menu or accelerator can give.
enum class Command {
    Separator,
    RecentFiles, // expands to the recent-file list
    New,
    Open,
    OpenPatchFile,
    OpenLayerFile,
    OpenWaveFile,
    Close,
    Save,
    SaveAs,
    Exit,
    Preferences,
    About,
    Help,
    HelpTopics,
    Cascade,
    Tile,
    ArrangeIcons,
    NextPane,
    PreviousPane,
    Undo,
    Redo,
    // Patch editor
    NewPatch,
    AddLayer,
    DeleteObject,
    ReplaceLayer,
    ReportPatches,
    // Layer editor
    ReparentFilePointers,
    ReportLayers,
    ReportAllSamples,
    ReportLayerSamples,
    // Wave editor
    Reopen,
    GainAdjust,
    Normalize,
    NormalizeLR,
    ClearStartStop,
    ClearLoop,
    Truncate,
    SwapChannels,
    RemixStereo,
    ReduceToMono,
    CrossfadeLoop,
    Resample,
    ChangePlaybackRate,
    Synthesize,
    GuessPitch,
    ImportKrz,
    ImportAudioFile,
    Points,
    ViewToolbar,
    ViewStatusBar,
    ViewPitchGrid,
    NormalDisplay,
    LoopDisplay,
    // Wave editor toolbar
    Play,
    LoopPlay,
    Stop,
    HorizontalZoom,
    HorizontalUnzoom,
    VerticalZoom,
    VerticalUnzoom,
    SetStart,
    SetStop,
    SetLoopStart,
    SetLoopEnd,
    PitchDialog,
    // Wave editor keys
    PlayStop,
    ShowStart,
    ShowEnd,
};

struct MenuItem {
    Command command;
    std::string text; // with its & mnemonic and any "\t" accelerator text
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// The menu bar for the active child's kind; menu 1 when no child is open.
std::vector<Menu> MenuBarFor(std::optional<DocumentKind> kind);

// The texts of Edit > Undo and Redo, naming the step they would take back or make again (empty:
// none, and the item is greyed).
std::string UndoMenuText(const std::string& stepName);
std::string RedoMenuText(const std::string& stepName);

// The status-bar prompt of a command (empty when it has none). A second line, after "\n", is the
// tool tip.
std::string PromptFor(Command command);

// Commands bound to keys, whether or not a menu shows them.
struct Accelerator {
    Command command;
    const char* keys; // in the portable form Qt reads ("Ctrl+N")
};
// Keys that work wherever the focus is in the program.
const std::vector<Accelerator>& Accelerators();
// Keys of the wave editor, only while the focus is in its window: letters, Space and +/- must
// stay free for typing in dialogs.
const std::vector<Accelerator>& WaveAccelerators();
// The first key bound to a command, as menus and tool tips show it; empty when none is.
std::string ShortcutText(Command command);
