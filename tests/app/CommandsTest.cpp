#include "app/Commands.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Titles(MenuBarFor(std::nullopt)), (std::vector<std::string>{"&File", "&Edit", "&Help"}));
    EXPECT_EQ(Titles(MenuBarFor(DocumentKind::Patch)),
              (std::vector<std::string>{"&File", "&Edit", "&Window", "&Reports", "&Help"}));
    EXPECT_EQ(Titles(MenuBarFor(DocumentKind::Layer)),
              (std::vector<std::string>{"&File", "&Edit", "&Window", "&Reports", "&Help"}));
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
              (std::vector<std::string>{"&New\tCtrl+N", "Open &Patch File...", "Open &Layer File",
                                        "Open &Wave File...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(texts(MenuTitled(MenuBarFor(DocumentKind::Wave), "&File")),
              (std::vector<std::string>{"&New\tCtrl+N", "Open &Patch File...", "Open &Layer File...",
                                        "Open &Wave File...", "-", "&Reopen", "-", "&Close", "&Save\tCtrl+S",
                                        "Save &As...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(MenuTitled(MenuBarFor(std::nullopt), "&Edit").items.front().text, "&Preferences");
    // Every editor's Edit menu starts with Undo and Redo.
    for (DocumentKind kind : {DocumentKind::Patch, DocumentKind::Layer, DocumentKind::Wave}) {
        const Menu edit = MenuTitled(MenuBarFor(kind), "&Edit");
        EXPECT_EQ(edit.items[0].command, Command::Undo);
        EXPECT_EQ(edit.items[1].command, Command::Redo);
        EXPECT_EQ(edit.items[3].text, "&Preferences...");
    }
    EXPECT_EQ(MenuTitled(MenuBarFor(DocumentKind::Layer), "&Help").items.front().text, "Layer E&ditor Help");
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
    EXPECT_EQ(keys, (std::vector<std::string>{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+R", "Ctrl+Z",
                                              "Ctrl+Shift+Z", "Ctrl+Y", "F1", "F6", "Shift+F6"}));
}

TEST(Commands, UndoAndRedoNameTheStep) {
    EXPECT_EQ(UndoMenuText("Normalize"), "&Undo Normalize\tCtrl+Z");
    EXPECT_EQ(RedoMenuText("Set Loop Start"), "R&edo Set Loop Start\tCtrl+Y");
    EXPECT_EQ(UndoMenuText(""), "&Undo\tCtrl+Z");
    EXPECT_EQ(RedoMenuText(""), "R&edo\tCtrl+Y");
}
