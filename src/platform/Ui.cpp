#include "platform/Ui.h"

#include "platform/ConsoleUi.h"

Ui::~Ui() = default;

Ui& Ui::Fallback() {
    static ConsoleUi fallback{false};
    return fallback;
}
