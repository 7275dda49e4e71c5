#include "app/Commands.h"

#include <map>

namespace {
const MenuItem kSeparator{Command::Separator, ""};

std::vector<MenuItem> FileMenu(bool document, bool wave) {
    std::vector<MenuItem> items{{Command::New, "&New\tCtrl+N"},
                                {Command::Open, "&Open..."},
                                {Command::OpenPatchFile, "Open &Patch File..."},
                                {Command::OpenLayerFile, wave ? "Open &Layer File..." : "Open &Layer File"},
                                {Command::OpenWaveFile, "Open &Wave File..."},
                                kSeparator};
    if (wave) {
        items.push_back({Command::Reopen, "&Reopen"});
        items.push_back(kSeparator);
    }
    if (document) {
        items.push_back({Command::Close, "&Close"});
        items.push_back({Command::Save, "&Save\tCtrl+S"});
        items.push_back({Command::SaveAs, "Save &As..."});
        items.push_back(kSeparator);
    }
    items.push_back({Command::RecentFiles, "Recent File"});
    items.push_back(kSeparator);
    items.push_back({Command::Exit, "E&xit"});
    return items;
}

// Undo and Redo head every editor's Edit menu; their texts follow the history when it opens.
const MenuItem kUndoItem{Command::Undo, "&Undo\tCtrl+Z"};
const MenuItem kRedoItem{Command::Redo, "R&edo\tCtrl+Y"};

Menu WindowMenu() {
    return {"&Window",
            {{Command::Cascade, "&Cascade"},
             {Command::Tile, "&Tile"},
             {Command::ArrangeIcons, "&Arrange Icons"}}};
}

// Importing audio makes a new sample, so it is at hand whatever window is active.
Menu ImportMenu(bool wave) {
    const MenuItem audio{Command::ImportAudioFile, "&Audio file..."};
    if (wave)
        return {"&Import", {{Command::ImportKrz, "From .&KRZ"}, audio}};
    return {"&Import", {audio}};
}

Menu HelpMenu(const std::string& first) {
    return {"&Help",
            {{Command::Help, first},
             {Command::HelpTopics, "Help &Topics"},
             kSeparator,
             {Command::About, "&About WLOE..."}}};
}
// Every item bound to a key shows it, after a tab.
std::vector<Menu> WithShortcuts(std::vector<Menu> menus) {
    for (Menu& menu : menus)
        for (MenuItem& item : menu.items)
            if (std::string keys = ShortcutText(item.command);
                !keys.empty() && item.text.find('\t') == std::string::npos)
                item.text += "\t" + keys;
    return menus;
}

std::vector<Menu> MenuBarItems(std::optional<DocumentKind> kind) {
    if (!kind)
        return {{"&File", FileMenu(false, false)},
                {"&Edit", {{Command::Preferences, "&Preferences"}}},
                ImportMenu(false),
                HelpMenu("Help &Contents")};
    switch (*kind) {
    case DocumentKind::Patch:
        return {{"&File", FileMenu(true, false)},
                {"&Edit",
                 {kUndoItem,
                  kRedoItem,
                  kSeparator,
                  {Command::Preferences, "&Preferences..."},
                  kSeparator,
                  {Command::NewPatch, "&New patch..."},
                  {Command::AddLayer, "&Add layer..."},
                  {Command::DeleteObject, "&Delete object"},
                  {Command::ReplaceLayer, "&Replace layer..."}}},
                ImportMenu(false),
                WindowMenu(),
                {"&Reports", {{Command::ReportPatches, "&Patches"}}},
                HelpMenu("Patch E&ditor Help")};
    case DocumentKind::Layer:
        return {{"&File", FileMenu(true, false)},
                {"&Edit",
                 {kUndoItem,
                  kRedoItem,
                  kSeparator,
                  {Command::Preferences, "&Preferences..."},
                  kSeparator,
                  {Command::ReparentFilePointers, "Reparent file pointers..."}}},
                ImportMenu(false),
                WindowMenu(),
                {"&Reports",
                 {{Command::ReportLayers, "&Layers"},
                  {Command::ReportAllSamples, "&All samples"},
                  {Command::ReportLayerSamples, "&Samples for current layer"}}},
                HelpMenu("Layer E&ditor Help")};
    case DocumentKind::Wave:
        return {{"&File", FileMenu(true, true)},
                {"&Edit",
                 {kUndoItem,
                  kRedoItem,
                  kSeparator,
                  {Command::Preferences, "&Preferences..."},
                  kSeparator,
                  {Command::GainAdjust, "&Gain adjust..."},
                  {Command::Normalize, "&Normalize"},
                  {Command::NormalizeLR, "N&ormalize L/R independently"},
                  kSeparator,
                  {Command::ClearStartStop, "&Clear start/stop points"},
                  {Command::ClearLoop, "Clear &loop points"},
                  {Command::Truncate, "&Truncate to start/stop points"},
                  {Command::Points, "Po&ints..."},
                  kSeparator,
                  {Command::SwapChannels, "&Swap channels"},
                  {Command::RemixStereo, "Re&mix stereo..."},
                  {Command::ReduceToMono, "Re&duce to mono..."},
                  kSeparator,
                  {Command::CrossfadeLoop, "Cross&fade loop..."},
                  {Command::Resample, "&Resample..."},
                  {Command::ChangePlaybackRate, "C&hange playback rate..."},
                  {Command::Synthesize, "Synthesi&ze..."},
                  {Command::GuessPitch, "G&uess pitch"}}},
                ImportMenu(true),
                {"&View",
                 {{Command::ViewToolbar, "&Toolbar"},
                  {Command::ViewStatusBar, "&Status Bar"},
                  {Command::ViewPitchGrid, "&Pitch Grid"},
                  kSeparator,
                  {Command::NormalDisplay, "&Normal display"},
                  {Command::LoopDisplay, "&Loop display"}}},
                WindowMenu(),
                HelpMenu("Wave E&ditor Help")};
    }
    return {};
}

} // namespace

std::vector<Menu> MenuBarFor(std::optional<DocumentKind> kind) {
    return WithShortcuts(MenuBarItems(kind));
}

std::string UndoMenuText(const std::string& stepName) {
    return stepName.empty() ? kUndoItem.text : "&Undo " + stepName + "\tCtrl+Z";
}

std::string RedoMenuText(const std::string& stepName) {
    return stepName.empty() ? kRedoItem.text : "R&edo " + stepName + "\tCtrl+Y";
}

std::string PromptFor(Command command) {
    static const std::map<Command, std::string> prompts = {
        {Command::New, "Create a new document"},
        {Command::Open, "Open an existing document"},
        {Command::Close, "Close the active document"},
        {Command::Save, "Save the active document"},
        {Command::SaveAs, "Save the active document with a new name"},
        {Command::RecentFiles, "Open this document"},
        {Command::Exit, "Quit the application; prompts to save documents"},
        {Command::About, "Display program information, version number and copyright"},
        {Command::HelpTopics, "List Help topics\nHelp Topics"},
        {Command::Help, "Display help for current task or command\nHelp"},
        {Command::Cascade, "Arrange windows so they overlap"},
        {Command::Tile, "Arrange windows as non-overlapping tiles"},
        {Command::ArrangeIcons, "Arrange icons at the bottom of the window"},
        {Command::ViewToolbar, "Show or hide the toolbar"},
        {Command::ViewStatusBar, "Show or hide the status bar"},
        {Command::Preferences, "Edit preferences"},
        {Command::Undo, "Undo the last change\nUndo"},
        {Command::Redo, "Redo the change last undone\nRedo"},
        {Command::OpenWaveFile, "Open a sample file (*.wav)"},
        {Command::OpenPatchFile, "Open a patch file (*.pat)"},
        {Command::OpenLayerFile, "Open a layer file (*.lay)"},
        {Command::ReportPatches, "Print patch report"},
        {Command::ReportLayers, "Generate a layer report"},
        {Command::ReportAllSamples, "Generate a samples report"},
        {Command::ReportLayerSamples, "Write a report on the current layer's samples"},
        {Command::ReparentFilePointers, "Adjust pointers when samples have been moved"},
        {Command::GainAdjust, "Change amplitude (whole or selection)"},
        {Command::ChangePlaybackRate, "Change nominal rate (audio not modified)"},
        {Command::CrossfadeLoop, "Destructive crossfade at loop points"},
        {Command::ImportKrz, "Import from a Kurzweil .KRZ file"},
        {Command::ImportAudioFile, "Import an audio file of any format as a new 16-bit sample"},
        {Command::GuessPitch, "Guess pitch near selection"},
        {Command::Points, "Type the start, stop, loop and marked points as frames or seconds"},
        {Command::ViewPitchGrid, "Show or hide the pitch grid and scrollbar"},
        {Command::NormalDisplay, "Single view of wave\nNormal view"},
        {Command::LoopDisplay, "Split screen to show loop continuity\nLoop view"},
        {Command::NewPatch, "Add a new patch\nNew patch"},
        {Command::AddLayer, "Add a new layer at the current position\nAdd layer"},
        {Command::DeleteObject, "Delete this object\nDelete object"},
        {Command::ReplaceLayer, "Replace the current layer\nReplace layer"},
        {Command::Normalize, "Adjust to max amplitude"},
        {Command::NormalizeLR, "Normalize channels independently"},
        {Command::ClearStartStop, "Remove start and/or stop points"},
        {Command::ClearLoop, "Remove any loop points"},
        {Command::Truncate, "Trim to start and stop points"},
        {Command::SwapChannels, "Swap left and right channels"},
        {Command::RemixStereo, "Rebalance or reduce seperation"},
        {Command::ReduceToMono, "Mix a stereo sample down to mono"},
        {Command::Resample, "Change sample rate (audio modified)"},
        {Command::Synthesize, "Synthesize a few simple waveforms"},
        {Command::Reopen, "Reload from disk"},
        {Command::Play, "Play without loop\nPlay"},
        {Command::LoopPlay, "Playback with loop\nLoop Play"},
        {Command::Stop, "Stop playback\nStop"},
        {Command::HorizontalZoom, "Increase horizontal magnification\nHorizontal zoom"},
        {Command::HorizontalUnzoom, "Decrease horizontal magnification\nHorizontal unzoom"},
        {Command::VerticalZoom, "Increase vertical magnification\nVertical zoom"},
        {Command::VerticalUnzoom, "Decrease vertical magnification\nVertical unzoom"},
        {Command::SetStart, "Set the start marker\nSet start"},
        {Command::SetStop, "Set the stop marker\nSet stop"},
        {Command::SetLoopStart, "Set the loop start point\nSet loop start"},
        {Command::SetLoopEnd, "Set the loop end point\nSet loop end"},
        {Command::PitchDialog, "Shows the pitch dialog box\nPitch dialog"},
        {Command::PlayStop, "Play, or stop what is playing"},
        {Command::ShowStart, "Show the beginning of the sample"},
        {Command::ShowEnd, "Show the end of the sample"},
    };
    auto found = prompts.find(command);
    return found == prompts.end() ? std::string{} : found->second;
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> accelerators = {
        {Command::New, "Ctrl+N"},
        {Command::Open, "Ctrl+O"},
        {Command::Save, "Ctrl+S"},
        {Command::SaveAs, "Ctrl+Shift+S"},
        {Command::Close, "Ctrl+W"},
        {Command::Exit, "Ctrl+Q"},
        {Command::Reopen, "Ctrl+R"},
        {Command::Undo, "Ctrl+Z"},
        {Command::Redo, "Ctrl+Y"},
        {Command::Redo, "Ctrl+Shift+Z"},
        {Command::Help, "F1"},
        {Command::NextPane, "F6"},
        {Command::PreviousPane, "Shift+F6"},
    };
    return accelerators;
}

const std::vector<Accelerator>& WaveAccelerators() {
    static const std::vector<Accelerator> accelerators = {
        {Command::PlayStop, "Space"},     {Command::LoopPlay, "L"},
        {Command::ShowStart, "Home"},     {Command::ShowEnd, "End"},
        {Command::HorizontalZoom, "+"},   {Command::HorizontalZoom, "="}, // + without Shift
        {Command::HorizontalUnzoom, "-"},
    };
    return accelerators;
}

std::string ShortcutText(Command command) {
    for (const auto* table : {&Accelerators(), &WaveAccelerators()})
        for (const Accelerator& accelerator : *table)
            if (accelerator.command == command)
                return accelerator.keys;
    return {};
}
