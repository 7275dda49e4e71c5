#include "app/CommandToolBar.h"

#include <QAction>
#include <QToolBar>

void AddCommandButtons(QToolBar* toolBar, std::span<const std::optional<Command>> layout,
                       const std::function<QIcon(Command)>& art,
                       const std::function<void(Command)>& trigger) {
    for (const std::optional<Command>& slot : layout) {
        if (!slot) {
            toolBar->addSeparator();
            continue;
        }
        const Command command = *slot;
        const std::string prompt = PromptFor(command);
        const std::size_t newline = prompt.find('\n');
        const QString tip = QString::fromStdString(prompt.substr(newline + 1));
        QAction* action = toolBar->addAction(art(command), tip);
        const std::string keys = ShortcutText(command);
        action->setToolTip(keys.empty() ? tip : QString("%1 (%2)").arg(tip, QString::fromStdString(keys)));
        action->setStatusTip(QString::fromStdString(prompt.substr(0, newline)));
        action->setData(static_cast<int>(command));
        QObject::connect(action, &QAction::triggered, toolBar, [trigger, command] { trigger(command); });
    }
}

std::optional<Command> ButtonCommand(const QAction* action) {
    if (!action->data().isValid())
        return std::nullopt;
    return static_cast<Command>(action->data().toInt());
}
