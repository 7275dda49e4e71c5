// The editor as a desktop program: files from the command line and from drops, keys, the help
// window, the program icon and the main window's place between runs.
#include "NoteEditor.h"
#include "WaveWindowHelpers.h"
#include "app/Artwork.h"
#include "app/ChildFrame.h"
#include "app/HelpWindow.h"
#include "app/MainFrame.h"
#include "app/QtUi.h"
#include "app/WloeApp.h"
#include "archive/ObjectArchive.h"
#include "platform/IniSettings.h"
#include "platform/ScriptedUi.h"
#include "sample/Player.h"
#include "support/TempDir.h"
#include "testing/FakeAudioDevice.h"
#include "ui/wave/SetPitchDialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

#include <filesystem>
#include <fstream>

namespace {
QStringList ChildTitles(CMainFrame& frame) {
    QStringList titles;
    for (CChildFrame* child : frame.Children())
        titles << child->windowTitle();
    titles.sort();
    return titles;
}

void Activate(QWidget* window) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("the window did not become active");
}

// Takes what would go to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Catch(const QUrl& url) { urls << url; }
};
} // namespace

class DesktopTest : public NoteAppTest {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void filesOnTheCommandLineOpenAndOneThatFailsLeavesTheOthers() {
        std::string bank = SaveNote(*m_dir, "bank.pat");
        std::string sample = SaveNote(*m_dir, "tone.wav");
        std::filesystem::current_path(m_dir->File(""));
        CWloeApp& app = StartApp({"bank.pat", "-Embedding", m_dir->File("missing.pat"), sample, bank});
        QVERIFY(!app.IsSplashEnabled());
        QCOMPARE(app.StartupFiles(),
                 (std::vector<std::string>{bank, m_dir->File("missing.pat"), sample, bank}));
        app.OpenDocumentFiles(app.StartupFiles());
        // The missing file has its message; the bank named twice opens once.
        QCOMPARE(m_ui->Messages().size(), std::size_t{1});
        QVERIFY(QString::fromStdString(m_ui->Messages()[0]).contains("missing.pat"));
        QCOMPARE(ChildTitles(app.MainFrame()), QStringList({"bank.pat", "tone.wav"}));
        QCOMPARE(app.MainFrame().ActiveChild()->windowTitle(), QString("bank.pat"));
    }

    void droppedFilesOpenAsFileOpenOpensThem() {
        CWloeApp& app = StartApp();
        CMainFrame& frame = app.MainFrame();
        QVERIFY(frame.acceptDrops());
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QString::fromStdString(SaveNote(*m_dir, "a.pat"))),
                       QUrl("https://example.org/b.pat"),
                       QUrl::fromLocalFile(QString::fromStdString(SaveNote(*m_dir, "c.wav")))});
        QCOMPARE(CMainFrame::DroppedFiles(&files),
                 QStringList({QString::fromStdString(m_dir->File("a.pat")),
                              QString::fromStdString(m_dir->File("c.wav"))}));
        const QPoint at = frame.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(ChildTitles(frame), QStringList({"a.pat", "c.wav"}));
        QVERIFY(m_ui->Messages().empty());

        // Text is no file: refused, nothing opens.
        QMimeData text;
        text.setText("a.pat");
        QDragEnterEvent textEnter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        textEnter.setAccepted(false);
        QCoreApplication::sendEvent(&frame, &textEnter);
        QVERIFY(!textEnter.isAccepted());
    }

    void theProgramsKeysReachTheirCommands() {
        CWloeApp& app = StartApp();
        CMainFrame& frame = app.MainFrame();
        Activate(&frame);
        app.NewDocument(DocumentKind::Patch);
        app.NewDocument(DocumentKind::Patch);
        QCOMPARE(frame.Children().size(), 2);

        // Ctrl+Shift+S: Save As, starting with the name of the document.
        m_ui->QueueDialog<std::string>(std::nullopt);
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_ui->AllAnswersUsed());
        QCOMPARE(m_ui->LastSaveFileRequest().proposedName, std::string("Patch2.pat"));

        // Once saved, Save As starts in the file's folder.
        m_ui->QueueDialog<std::string>(m_dir->File("keep/bank.pat"));
        std::filesystem::create_directory(m_dir->File("keep"));
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        m_ui->QueueDialog<std::string>(std::nullopt);
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_ui->LastSaveFileRequest().proposedName, m_dir->File("keep/bank.pat"));

        // Ctrl+W closes the active window only.
        QTest::keyClick(&frame, Qt::Key_W, Qt::ControlModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ChildTitles(frame), QStringList({"Patch1"}));

        // Ctrl+Q asks about the modified document and stays on Cancel.
        frame.Children().front()->Document().SetModifiedFlag();
        m_ui->QueueAnswer(Answer::Cancel);
        QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(m_ui->Questions(), std::vector<std::string>{"Save changes to Patch1?"});
        QVERIFY(frame.isVisible());
        m_ui->QueueAnswer(Answer::No);
        QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!frame.isVisible());
    }

    void theWaveWindowsKeysPlayZoomAndMoveTheSpan() {
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        auto frame = ShowFrame(MakeSample(100000, 44100, true));
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetLoopRange(20000, 10000);
        doc.SetModifiedFlag(false);
        Activate(frame.get());
        CSampleView1* view = frame->WaveView();
        view->setFocus();

        QTest::keyClick(view, Qt::Key_Plus);
        QCOMPARE(doc.m_nSelLength, 50000u);
        QTest::keyClick(view, Qt::Key_Equal);
        QCOMPARE(doc.m_nSelLength, 25000u);
        QTest::keyClick(view, Qt::Key_Minus);
        QCOMPARE(doc.m_nSelLength, 50000u);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(doc.m_nSelStart, 50000u);
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(doc.m_nSelStart, 0u);
        QCOMPARE(doc.m_nSelLength, 50000u);

        // Space plays, and stops what plays; L plays with the loop.
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(PlayerIsPlaying());
        QCOMPARE(device.WrittenHistory().size(), std::size_t{1});
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(!PlayerIsPlaying());
        QTest::keyClick(view, Qt::Key_L);
        QVERIFY(PlayerIsPlaying());
        QCOMPARE(device.WrittenHistory().back().pData, static_cast<const void*>(doc.m_pData.get() + 20000));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(!PlayerIsPlaying());
        QVERIFY(!doc.IsModified());

        // A field of a dialog keeps its keys: typing "+ L" there neither zooms nor plays.
        frame->OnCommand(Command::PitchDialog);
        QWidget* dialog = frame->PitchDialog();
        Activate(dialog);
        QLineEdit* field = dialog->findChild<QLineEdit*>();
        QVERIFY(field);
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, "+ L");
        QCOMPARE(field->text(), QString("+ L"));
        QCOMPARE(doc.m_nSelLength, 50000u);
        QVERIFY(!PlayerIsPlaying());
        QCOMPARE(device.Misuses(), 0);
    }

    void helpFallsBackToAWindowOfOurOwn() {
        std::string manual = m_dir->File("Wl.html");
        std::string filler;
        for (int i = 0; i < 200; ++i)
            filler += "<p>text</p>";
        std::ofstream(manual) << "<html><head><title>Manual</title></head><body><h1 id=\"contents\">Top</h1>"
                              << filler << "<h2 id=\"wave-editor\">Wave</h2>" << filler << "</body></html>";
        QList<QUrl> asked;
        {
            QtShell desktop([&asked](const QUrl& url) {
                asked << url;
                return true;
            });
            desktop.OpenHelp(manual, "wave-editor");
            QCOMPARE(asked.size(), 1);
            QCOMPARE(asked.front().fragment(), QString("wave-editor"));
            QVERIFY(!desktop.HelpWindow());
        }
        QtShell bare([](const QUrl&) { return false; });
        bare.OpenHelp(manual, "wave-editor");
        CHelpWindow* window = bare.HelpWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->Browser()->source().toLocalFile(), QString::fromStdString(manual));
        QCOMPARE(window->windowTitle(), QString("Manual"));
        QVERIFY(window->Browser()->toPlainText().contains("Wave"));
        // Scrolled down to the wave editor's part; the same window shows the contents next.
        QTRY_VERIFY(window->Browser()->verticalScrollBar()->value() > 0);
        bare.OpenHelp(manual, "");
        QCOMPARE(bare.HelpWindow(), window);
        QTRY_COMPARE(window->Browser()->verticalScrollBar()->value(), 0);
        QVERIFY(m_ui->Messages().empty());

        bare.OpenHelp(m_dir->File("gone.html"), "");
        QCOMPARE(m_ui->Messages(),
                 std::vector<std::string>{"The manual " + m_dir->File("gone.html") + " cannot be found."});
    }

    void aPageGoesToTheDesktopOnlyWhenItHasAViewerForPages() {
        // A stand-in for xdg-mime that names the desktop's page viewer, or none.
        std::filesystem::create_directory(m_dir->File("path"));
        const std::string xdgMime = m_dir->File("path/xdg-mime");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(m_dir->File("path")) + ":" + path);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "Catch");
        const QUrl page = QUrl::fromLocalFile(QString::fromStdString(m_dir->File("Wl.html")));

        std::ofstream(xdgMime) << "#!/bin/sh\necho firefox-esr.desktop\n";
        std::filesystem::permissions(xdgMime, std::filesystem::perms::owner_all);
        QVERIFY(QtShell::OpenWithDesktop(page));
        QCOMPARE(catcher.urls, QList<QUrl>({page}));

        std::ofstream(xdgMime) << "#!/bin/sh\nexit 0\n";
        QVERIFY(!QtShell::OpenWithDesktop(page));
        QCOMPARE(catcher.urls.size(), 1);
        // Anything but a page still goes to the desktop.
        const QUrl report = QUrl::fromLocalFile(QString::fromStdString(m_dir->File("PATCHES.TXT")));
        QVERIFY(QtShell::OpenWithDesktop(report));
        QCOMPARE(catcher.urls.back(), report);

        QDesktopServices::unsetUrlHandler("file");
        qputenv("PATH", path);
    }

    void everyWindowShowsTheProgramIcon() {
        CWloeApp& app = StartApp();
        CChildFrame* child = app.NewDocument(DocumentKind::Wave);
        const QImage expected = ProgramIcon().pixmap(32, 32).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(QApplication::windowIcon().pixmap(32, 32).toImage(), expected);
        QCOMPARE(child->windowIcon().pixmap(32, 32).toImage(), expected);
        QCOMPARE(app.MainFrame().windowIcon().pixmap(32, 32).toImage(), expected);
    }

    void theMainWindowComesBackWhereItWas() {
        {
            CWloeApp& app = StartApp();
            app.MainFrame().setGeometry(110, 120, 640, 480);
            QVERIFY(app.MainFrame().close());
            StopApp();
        }
        IniSettings written(m_dir->File("wloe.ini"));
        QCOMPARE(written.GetInt("Main Window", "Width", 0), 640);
        QCOMPARE(written.GetInt("Main Window", "Maximized", -1), 0);
        {
            CWloeApp& app = StartApp();
            QCOMPARE(app.MainFrame().geometry(), QRect(110, 120, 640, 480));
            QVERIFY(!app.MainFrame().isMaximized());
            app.MainFrame().showMaximized();
            QVERIFY(app.MainFrame().close());
            StopApp();
        }
        m_settings = std::make_unique<IniSettings>(m_dir->File("wloe.ini"));
        CWloeApp& app = StartApp();
        QVERIFY(app.MainFrame().isMaximized());
        QCOMPARE(app.MainFrame().normalGeometry(), QRect(110, 120, 640, 480));
    }
};

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
