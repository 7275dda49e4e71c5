#include "NoteEditor.h"
#include "app/ChildFrame.h"
#include "app/Dialogs.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/WloeApp.h"
#include "archive/ObjectArchive.h"
#include "platform/IniSettings.h"
#include "platform/ScriptedUi.h"
#include "platform/Shell.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"
#include "ui/wave/SampleFrame.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QtTest>

#include <filesystem>
#include <fstream>

namespace {
QStringList MenuTitles(QMainWindow& window) {
    QStringList titles;
    for (QAction* action : window.menuBar()->actions())
        titles << action->text();
    return titles;
}

std::string TextOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class AppShellTest : public NoteAppTest {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void menusFollowTheActiveKind() {
        CWloeApp& app = StartApp();
        QCOMPARE(MenuTitles(app.MainFrame()), QStringList({"&File", "&Edit", "&Import", "&Help"}));
        app.NewDocument(DocumentKind::Wave);
        QCOMPARE(MenuTitles(app.MainFrame()),
                 QStringList({"&File", "&Edit", "&Import", "&View", "&Window", "&Help"}));
        app.NewDocument(DocumentKind::Patch);
        QCOMPARE(MenuTitles(app.MainFrame()),
                 QStringList({"&File", "&Edit", "&Import", "&Window", "&Reports", "&Help"}));
        QCOMPARE(app.MainFrame().windowTitle(), QString("Wavelith Object Editor - [Patch1]"));
        app.CloseAllDocuments();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(MenuTitles(app.MainFrame()), QStringList({"&File", "&Edit", "&Import", "&Help"}));
    }

    void importingAudioMakesANewUntitledSample() {
        CWloeApp& app = StartApp();
        app.RegisterEditor(DocumentKind::Wave, SampleEditorFactory());
        // 8-bit audio: our own reader refuses it, the importer takes it exactly.
        std::string path = m_dir->File("eight.wav");
        WavBuilder().Fmt(1, 8000, 8).Chunk("data", {0x80, 0xC0, 0x40, 0xFF}).WriteTo(path);
        m_ui->QueueDialog<std::string>(path);
        app.MainFrame().Execute(Command::ImportAudioFile);
        QCOMPARE(app.MainFrame().Children().size(), 1);
        CChildFrame* child = app.MainFrame().ActiveChild();
        QCOMPARE(child->windowTitle(), QString("eight"));
        auto& doc = dynamic_cast<CSampleDoc&>(child->Document());
        QVERIFY(doc.GetPathName().empty());
        QVERIFY(doc.IsModified());
        QCOMPARE(std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + doc.m_nFrames),
                 (std::vector<std::int16_t>{0, 0x4000, -0x4000, 0x7F00}));
        QVERIFY(m_ui->LastOpenFileRequest().pattern.find("*.flac") != std::string::npos);

        // A file it cannot import opens nothing; cancelling asks nothing more.
        std::ofstream(m_dir->File("text.flac")) << "text";
        m_ui->QueueDialog<std::string>(m_dir->File("text.flac"));
        app.MainFrame().Execute(Command::ImportAudioFile);
        m_ui->QueueDialog<std::string>(std::nullopt);
        app.MainFrame().Execute(Command::ImportAudioFile);
        QCOMPARE(app.MainFrame().Children().size(), 1);
        QCOMPARE(m_ui->Messages().size(), size_t{1});
    }

    void newDocumentsAreNumberedPerKind() {
        CWloeApp& app = StartApp();
        QCOMPARE(app.NewDocument(DocumentKind::Patch)->windowTitle(), QString("Patch1"));
        QCOMPARE(app.NewDocument(DocumentKind::Wave)->windowTitle(), QString("Wave File1"));
        QCOMPARE(app.NewDocument(DocumentKind::Patch)->windowTitle(), QString("Patch2"));
    }

    void anOpenDocumentIsActivatedNotLoadedAgain() {
        CWloeApp& app = StartApp();
        std::string bank = SaveNote(*m_dir, "bank.pat");
        std::string other = SaveNote(*m_dir, "other.wav");
        CChildFrame* first = app.OpenDocumentFile(bank);
        QVERIFY(first);
        QCOMPARE(first->Kind(), DocumentKind::Patch);
        app.OpenDocumentFile(other);
        QCOMPARE(app.MainFrame().ActiveChild()->Kind(), DocumentKind::Wave);
        std::string shouted = m_dir->File("BANK.PAT");
        QCOMPARE(app.OpenDocumentFile(shouted), first);
        QCOMPARE(app.MainFrame().ActiveChild(), first);
        QCOMPARE(app.MainFrame().Children().size(), 2);
    }

    void kindsWithoutAnEditorSaySo() {
        CWloeApp& app = StartApp();
        QVERIFY(!app.OpenDocumentFile(m_dir->File("Wl.lay")));
        QCOMPARE(m_ui->Messages(),
                 std::vector<std::string>{"The layer editor is not available yet in this version."});
    }

    void recentFilesKeepFourInTheSettingsFile() {
        CWloeApp& app = StartApp();
        for (const char* name : {"a.pat", "b.pat", "c.pat", "d.pat", "e.pat"})
            app.OpenDocumentFile(SaveNote(*m_dir, name));
        IniSettings reread(m_dir->File("wloe.ini"));
        QCOMPARE(reread.GetString("Recent File List", "File1", ""), m_dir->File("e.pat"));
        QCOMPARE(reread.GetString("Recent File List", "File4", ""), m_dir->File("b.pat"));
        QCOMPARE(reread.GetString("Recent File List", "File5", "none"), std::string("none"));
    }

    void preferencesAcceptZeroAndRefuseText() {
        Preferences current;
        CPreferencesDialog dialog(current, nullptr);
        dialog.MinLoopField()->setText("abc");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Please enter a positive integer."});
        dialog.MinLoopField()->setText("0");
        dialog.RootField()->setText("/samples");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Entered().minLoopPlay, 0u);
        QCOMPARE(dialog.Entered().sampleRoot, std::string("/samples"));
    }

    void splashFollowsTheFlagsAndClosesOnAKey() {
        CWloeApp& quiet = StartApp({"/embedding"});
        QVERIFY(!quiet.MainFrame().Splash());
        m_app.reset();
        CWloeApp& app = StartApp({});
        QVERIFY(app.MainFrame().Splash());
        QCOMPARE(app.MainFrame().Splash()->geometry().center(),
                 app.MainFrame().screen()->availableGeometry().center());
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::sendEvent(&app.MainFrame(), &press);
        QVERIFY(!app.MainFrame().Splash());
    }

    void exitAsksAboutEachModifiedDocument() {
        CWloeApp& app = StartApp();
        app.NewDocument(DocumentKind::Patch)->Document().SetModifiedFlag();
        app.NewDocument(DocumentKind::Wave);
        app.NewDocument(DocumentKind::Patch)->Document().SetModifiedFlag();
        m_ui->QueueAnswer(Answer::No);
        m_ui->QueueAnswer(Answer::Cancel);
        QVERIFY(!app.CloseAllDocuments());
        QCOMPARE(m_ui->Questions(),
                 (std::vector<std::string>{"Save changes to Patch1?", "Save changes to Patch2?"}));
        QCOMPARE(app.MainFrame().Children().size(), 3);

        // Yes saves through the save dialog.
        m_ui->QueueAnswer(Answer::Yes);
        m_ui->QueueDialog<std::string>(m_dir->File("saved.pat"));
        m_ui->QueueAnswer(Answer::No);
        QVERIFY(app.CloseAllDocuments());
        QVERIFY(std::filesystem::exists(m_dir->File("saved.pat")));
        QVERIFY(m_ui->AllAnswersUsed());
    }

    void theMainCaptionFollowsSaveAs() {
        CWloeApp& app = StartApp();
        CChildFrame* child = app.NewDocument(DocumentKind::Patch);
        QCOMPARE(app.MainFrame().windowTitle(), QString("Wavelith Object Editor - [Patch1]"));
        m_ui->QueueDialog<std::string>(m_dir->File("renamed.pat"));
        QVERIFY(child->Save(true));
        QCOMPARE(app.MainFrame().windowTitle(), QString("Wavelith Object Editor - [renamed.pat]"));
    }

    void savingOverAReadOnlyFileSaysSoAndOffersAnotherName() {
        CWloeApp& app = StartApp();
        std::string path = m_dir->File("kept.pat");
        CChildFrame* child = app.NewDocument(DocumentKind::Patch);
        child->Document().SetPathName(path);
        QVERIFY(child->Save(false));
        std::filesystem::permissions(path,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        std::string before = TextOf(path);
        m_ui->QueueDialog<std::string>(m_dir->File("copy.pat"));
        QVERIFY(child->Save(false));
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{path + " is read-only."});
        QCOMPARE(child->Document().GetPathName(), m_dir->File("copy.pat"));
        QCOMPARE(TextOf(path), before);
        QVERIFY(std::filesystem::exists(m_dir->File("copy.pat")));
    }

    void helpOpensTheManualAtTheActiveEditor() {
        RecordingShell shell;
        ScopedShell scope(shell);
        CWloeApp& app = StartApp();
        app.MainFrame().Execute(Command::Help);
        app.NewDocument(DocumentKind::Wave);
        app.MainFrame().Execute(Command::Help);
        app.MainFrame().Execute(Command::HelpTopics);
        std::string manual = m_dir->File("bin/Wl.html");
        QCOMPARE(shell.Opened(), (std::vector<std::string>{manual, manual + "#wave-editor", manual}));
    }
};

QTEST_MAIN(AppShellTest)
#include "AppShellTest.moc"
