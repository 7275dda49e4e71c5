#include "ui/wave/FieldCheck.h"

#include "platform/Ui.h"

#include <QLineEdit>

void RefuseField(QLineEdit* field, const std::string& message) {
    GetUi().Message(message, MessageIcon::Exclamation);
    field->setFocus();
    field->selectAll();
}
