#include "app/CommandKeys.h"

#include <QAction>
#include <QWidget>

void BindCommandKeys(QWidget* owner, const std::vector<Accelerator>& keys, Qt::ShortcutContext context,
                     const std::function<void(Command)>& trigger) {
    for (const Accelerator& accelerator : keys) {
        auto* action = new QAction(owner);
        action->setShortcut(QKeySequence(accelerator.keys));
        action->setShortcutContext(context);
        action->setObjectName(QString("Key %1").arg(accelerator.keys));
        const Command command = accelerator.command;
        QObject::connect(action, &QAction::triggered, owner, [trigger, command] { trigger(command); });
        owner->addAction(action);
    }
}
