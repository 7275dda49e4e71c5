#pragma once

#include "app/Commands.h"

#include <QIcon>

#include <functional>
#include <optional>
#include <span>

class QAction;
class QToolBar;

// Fills a child frame's toolbar from left to right with the buttons of `layout` (nothing stands
// for a gap): each with its drawn art, the tool tip and fly-by prompt of its command, and the
// command as its data; a click runs `trigger`.
void AddCommandButtons(QToolBar* toolBar, std::span<const std::optional<Command>> layout,
                       const std::function<QIcon(Command)>& art, const std::function<void(Command)>& trigger);

// The command a toolbar button carries, if it carries one.
std::optional<Command> ButtonCommand(const QAction* action);
