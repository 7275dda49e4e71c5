#include "app/Commands.h"

#include <gtest/gtest.h>

#include <set>

namespace {
std::vector<std::string> Titles(const std::vector<Menu>& menus) {
    std::vector<std::string> titles;
    for (const auto& menu : menus)
        titles.push_back(menu.title);
    return titles;
}

const Menu& MenuTitled(const std::vector<Menu>& menus, const std::string& title) {
    for (const auto& menu : menus)
        if (menu.title == title)
            return menu;
    throw std::out_of_range(title);
}
} // namespace

TEST(Commands, MenuBarsFollowTheKindOfWindow) {
    EXPECT_EQ(Titles(MenuBarFor(std::nullopt)),
              (std::vector<std::string>{"&File", "&Edit", "&Import", "&Help"}));
    EXPECT_EQ(Titles(MenuBarFor(DocumentKind::Patch)),
              (std::vector<std::string>{"&File", "&Edit", "&Import", "&Window", "&Reports", "&Help"}));
    EXPECT_EQ(Titles(MenuBarFor(DocumentKind::Layer)),
              (std::vector<std::string>{"&File", "&Edit", "&Import", "&Window", "&Reports", "&Help"}));
    // Importing audio makes a new sample, so every menu bar offers it.
    for (std::optional<DocumentKind> kind :
         {std::optional<DocumentKind>{}, std::optional(DocumentKind::Patch),
          std::optional(DocumentKind::Wave)})
        EXPECT_EQ(MenuTitled(MenuBarFor(kind), "&Import").items.back().text, "&Audio file...");
    EXPECT_EQ(Titles(MenuBarFor(DocumentKind::Wave)),
              (std::vector<std::string>{"&File", "&Edit", "&Import", "&View", "&Window", "&Help"}));
}

TEST(Commands, FileMenusDifferByKind) {
    auto texts = [](const Menu& menu) {
        std::vector<std::string> result;
        for (const auto& item : menu.items)
            result.push_back(item.command == Command::Separator ? "-" : item.text);
        return result;
    };
    EXPECT_EQ(texts(MenuTitled(MenuBarFor(std::nullopt), "&File")),
              (std::vector<std::string>{"&New\tCtrl+N", "&Open...\tCtrl+O", "Open &Patch File...",
                                        "Open &Layer File", "Open &Wave File...", "-", "Recent File", "-",
                                        "E&xit\tCtrl+Q"}));
    EXPECT_EQ(texts(MenuTitled(MenuBarFor(DocumentKind::Wave), "&File")),
              (std::vector<std::string>{"&New\tCtrl+N", "&Open...\tCtrl+O", "Open &Patch File...",
                                        "Open &Layer File...", "Open &Wave File...", "-", "&Reopen\tCtrl+R",
                                        "-", "&Close\tCtrl+W", "&Save\tCtrl+S", "Save &As...\tCtrl+Shift+S",
                                        "-", "Recent File", "-", "E&xit\tCtrl+Q"}));
    EXPECT_EQ(MenuTitled(MenuBarFor(std::nullopt), "&Edit").items.front().text, "&Preferences");
    // Every editor's Edit menu starts with Undo and Redo.
    for (DocumentKind kind : {DocumentKind::Patch, DocumentKind::Layer, DocumentKind::Wave}) {
        const Menu edit = MenuTitled(MenuBarFor(kind), "&Edit");
        EXPECT_EQ(edit.items[0].command, Command::Undo);
        EXPECT_EQ(edit.items[1].command, Command::Redo);
        EXPECT_EQ(edit.items[3].text, "&Preferences...");
    }
    EXPECT_EQ(MenuTitled(MenuBarFor(DocumentKind::Layer), "&Help").items.front().text,
              "Layer E&ditor Help\tF1");
    EXPECT_EQ(MenuTitled(MenuBarFor(DocumentKind::Wave), "&Edit").items.back().text, "G&uess pitch");
}

TEST(Commands, PromptsAndAccelerators) {
    EXPECT_EQ(PromptFor(Command::GuessPitch), "Guess pitch near selection");
    EXPECT_EQ(PromptFor(Command::LoopDisplay), "Split screen to show loop continuity\nLoop view");
    EXPECT_EQ(PromptFor(Command::RemixStereo), "Rebalance or reduce seperation");
    EXPECT_EQ(PromptFor(Command::Separator), "");
    std::vector<std::string> keys;
    for (const auto& accelerator : Accelerators())
        keys.push_back(accelerator.keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+W",
                                              "Ctrl+Q", "Ctrl+R", "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z", "F1",
                                              "F6", "Shift+F6"}));
}

TEST(Commands, EveryBoundKeyIsShownBesideItsMenuItem) {
    for (auto kind : {std::optional<DocumentKind>(), std::optional(DocumentKind::Patch),
                      std::optional(DocumentKind::Layer), std::optional(DocumentKind::Wave)})
        for (const Menu& menu : MenuBarFor(kind))
            for (const MenuItem& item : menu.items) {
                std::string keys = ShortcutText(item.command);
                std::size_t tab = item.text.find('\t');
                if (keys.empty())
                    EXPECT_EQ(tab, std::string::npos) << item.text;
                else
                    EXPECT_EQ(item.text.substr(tab == std::string::npos ? item.text.size() : tab + 1), keys)
                        << item.text;
            }
}

TEST(Commands, NoKeyIsBoundTwiceWhereBothTablesApply) {
    // The wave keys work inside the wave window, where the program's keys work too.
    std::set<std::string> seen;
    for (const auto* table : {&Accelerators(), &WaveAccelerators()})
        for (const Accelerator& accelerator : *table)
            EXPECT_TRUE(seen.insert(accelerator.keys).second) << accelerator.keys;
    EXPECT_EQ(ShortcutText(Command::PlayStop), "Space");
    EXPECT_EQ(ShortcutText(Command::HorizontalZoom), "+");
    EXPECT_EQ(ShortcutText(Command::ShowEnd), "End");
    EXPECT_EQ(ShortcutText(Command::GuessPitch), "");
}

TEST(Commands, UndoAndRedoNameTheStep) {
    EXPECT_EQ(UndoMenuText("Normalize"), "&Undo Normalize\tCtrl+Z");
    EXPECT_EQ(RedoMenuText("Set Loop Start"), "R&edo Set Loop Start\tCtrl+Y");
    EXPECT_EQ(UndoMenuText(""), "&Undo\tCtrl+Z");
    EXPECT_EQ(RedoMenuText(""), "R&edo\tCtrl+Y");
}
