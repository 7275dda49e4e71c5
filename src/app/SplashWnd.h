#pragma once

#include <QPixmap>
#include <QWidget>

// The start-up picture: a borderless popup over the main window that closes after 3500 ms, or
// at the first key or mouse-button press anywhere in the program.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLifetimeMs = 3500;

    explicit CSplashWnd(QWidget* owner);

    // Whether `event` is one that closes the splash (a key or mouse-button press).
    static bool ClosesSplash(const QEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_bitmap;
};
