#pragma once

#include <QMainWindow>

class QTextBrowser;
class QUrl;

// The manual in a window of our own, for a desktop that has no viewer for it: its links,
// Back, Forward and Contents.
class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the page at `url`, at its fragment when it has one, and brings the window forward.
    void ShowPage(const QUrl& url);
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
