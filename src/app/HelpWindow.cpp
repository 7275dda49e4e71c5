#include "app/HelpWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent), m_pBrowser(new QTextBrowser(this)) {
    setWindowTitle("Wavelith Object Editor Help");
    setAttribute(Qt::WA_DeleteOnClose);
    // The program ends with its main window, whether or not the manual is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 640);
    m_pBrowser->setOpenExternalLinks(true);
    setCentralWidget(m_pBrowser);
    QToolBar* bar = addToolBar("Help");
    bar->setMovable(false);
    QAction* back = bar->addAction("Back", m_pBrowser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction("Forward", m_pBrowser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    bar->addAction("Contents", m_pBrowser, &QTextBrowser::home);
    QAction* close = new QAction(this);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, [this] {
        QString title = m_pBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? "Wavelith Object Editor Help" : title);
    });
}

void CHelpWindow::ShowPage(const QUrl& url) {
    show();
    raise();
    activateWindow();
    QUrl page = url.adjusted(QUrl::RemoveFragment);
    if (m_pBrowser->source().adjusted(QUrl::RemoveFragment) != page)
        m_pBrowser->setSource(page);
    // Once the window has its size: before that the page has no layout to scroll in.
    QString anchor = url.fragment();
    QTimer::singleShot(0, m_pBrowser, [browser = m_pBrowser, anchor] {
        if (anchor.isEmpty())
            browser->verticalScrollBar()->setValue(0);
        else
            browser->scrollToAnchor(anchor);
    });
}
