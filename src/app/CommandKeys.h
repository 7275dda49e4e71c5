#pragma once

#include "app/Commands.h"

#include <Qt>

#include <functional>
#include <vector>

class QWidget;

// Binds each key of `keys` to its command on `owner`, active in `context`.
void BindCommandKeys(QWidget* owner, const std::vector<Accelerator>& keys, Qt::ShortcutContext context,
                     const std::function<void(Command)>& trigger);
