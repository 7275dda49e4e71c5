#pragma once

#include <QApplication>

// The Qt application object, which turns an exception escaping a command (a vanished directory, an
// allocation that failed) into a message instead of ending the program.
class CGuardedApplication : public QApplication {
public:
    CGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};
