#include "app/GuardedApplication.h"

#include "platform/Ui.h"

#include <exception>
#include <new>
#include <string>

bool CGuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        GetUi().Message("Not enough memory", MessageIcon::Error);
    } catch (const std::exception& error) {
        GetUi().Message(std::string("The command could not be completed: ") + error.what(),
                        MessageIcon::Error);
    }
    return false;
}
