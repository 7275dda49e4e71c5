#include "platform/Ui.h"

#include "platform/ConsoleUi.h"

Ui::~Ui() = default;

void Ui::Note(const std::string& text) {
    Message(text, MessageIcon::Information);
}

Ui& Ui::Fallback() {
    static ConsoleUi fallback{false};
    return fallback;
}
