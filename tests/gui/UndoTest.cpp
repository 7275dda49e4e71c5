#include "PerTestUi.h"
#include "WaveWindowHelpers.h"

#include "app/MainFrame.h"
#include "app/QtUi.h"
#include "app/WloeApp.h"
#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "platform/IniSettings.h"
#include "sample/Resample.h"
#include "sample/ResampleDialogs.h"
#include "support/DocAudio.h"
#include "support/TempDir.h"
#include "testing/FakeAudioDevice.h"
#include "ui/layer/KeyboardLayout.h"
#include "ui/layer/KeyboardView.h"
#include "ui/layer/LayerFormView.h"
#include "ui/layer/LayerFrame.h"
#include "ui/patch/PatchFormModel.h"
#include "ui/patch/PatchFrame.h"
#include "ui/patch/PatchTreeModel.h"
#include "ui/wave/WaveDialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <vector>

namespace {
// The Edit menu's items as they read once the menu opens.
QStringList EditMenuTexts(CMainFrame& frame) {
    QMenu* edit = frame.menuBar()->actions()[1]->menu();
    emit edit->aboutToShow();
    QStringList texts;
    for (QAction* action : edit->actions().mid(0, 2))
        texts << action->text() + (action->isEnabled() ? "" : " (grey)");
    return texts;
}
} // namespace

class UndoTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void ctrlZAfterNormalizeRestoresTheAudioAndThePanes() {
        TempDir dir;
        IniSettings settings(dir.File("wloe.ini"));
        CWloeApp app(settings, dir.File("bin/wloe"), {"-Embedding"});
        app.RegisterEditor(DocumentKind::Wave, SampleEditorFactory());
        app.Start(false);
        const std::string path = dir.File("quiet.wav");
        auto quiet = MakeSample(20000, 44100, true);
        for (std::size_t i = 0; i < quiet->SampleCount(); ++i)
            quiet->m_pData[i] = static_cast<std::int16_t>(quiet->m_pData[i] / 8);
        quiet->SetLoopRange(5000, 10000);
        QVERIFY(quiet->WriteWav(path));
        auto* frame = qobject_cast<CSampleFrame*>(app.OpenDocumentFile(path));
        QVERIFY(frame);
        app.MainFrame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&app.MainFrame()));
        CSampleDoc& doc = frame->SampleDoc();
        const std::vector<std::int16_t> original = Audio(doc);
        frame->WaveView()->repaint();
        const QString loopPane = frame->PaneText(2);
        QCOMPARE(EditMenuTexts(app.MainFrame()),
                 QStringList({"&Undo\tCtrl+Z (grey)", "R&edo\tCtrl+Y (grey)"}));

        app.MainFrame().Execute(Command::Normalize);
        doc.SetLoopStart(1000);
        doc.UpdateAllViews(nullptr);
        frame->WaveView()->repaint();
        QVERIFY(Audio(doc) != original);
        QVERIFY(frame->PaneText(2) != loopPane);
        QCOMPARE(EditMenuTexts(app.MainFrame()),
                 QStringList({"&Undo Set Loop Start\tCtrl+Z", "R&edo\tCtrl+Y (grey)"}));

        QTest::keyClick(&app.MainFrame(), Qt::Key_Z, Qt::ControlModifier);
        frame->WaveView()->repaint();
        QCOMPARE(frame->PaneText(2), loopPane);
        QCOMPARE(EditMenuTexts(app.MainFrame()),
                 QStringList({"&Undo Normalize\tCtrl+Z", "R&edo Set Loop Start\tCtrl+Y"}));
        const std::vector<std::int16_t> normalized = Audio(doc);
        QTest::keyClick(&app.MainFrame(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Audio(doc), original);
        QVERIFY2(!doc.IsModified(), "back at the file's state");
        QCOMPARE(EditMenuTexts(app.MainFrame()),
                 QStringList({"&Undo\tCtrl+Z (grey)", "R&edo Normalize\tCtrl+Y"}));
        // The toolbar's buttons follow as well.
        frame->UpdateCommandUi();
        QVERIFY(!frame->ToolBar()->actions()[0]->isEnabled());
        QVERIFY(frame->ToolBar()->actions()[1]->isEnabled());

        QTest::keyClick(&app.MainFrame(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Audio(doc), normalized);
        QTest::keyClick(&app.MainFrame(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(doc.m_nLoopStart, 1000u);
        QVERIFY(doc.IsModified());
        frame->UpdateCommandUi();
        QTest::mouseClick(frame->ToolBar()->widgetForAction(frame->ToolBar()->actions()[0]), Qt::LeftButton);
        QCOMPARE(doc.m_nLoopStart, 5000u);
        m_ui->QueueAnswer(Answer::No);
        QVERIFY2(doc.IsModified(), "one step from the file's state");
        app.CloseAllDocuments();
    }

    void cancelOfALongResampleLeavesTheAudioAndPointsAsTheyWere() {
        BuildSincTable();
        QtUi ui;
        RegisterWaveDialogs(ui.Dialogs());
        ScopedUi scope(ui);
        auto frame = ShowFrame(MakeSample(4'000'000, 44100, true));
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetLoopRange(1'000'000, 2'000'000);
        doc.SetModifiedFlag(false);
        doc.History().Clear();
        const std::vector<std::int16_t> original = Audio(doc);
        ResampleValues values;
        values.rate = 96000;
        values.method = ResampleMethod::Bandlimited;
        // Cancel as soon as the progress dialog shows; meanwhile the window is repainted.
        bool cancelled = false;
        int paints = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            ++paints;
            if (QProgressDialog* progress = ui.ProgressDialog(); progress && !cancelled) {
                cancelled = true;
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        poll.start(20);
        QVERIFY(!doc.Resample(values));
        poll.stop();
        QVERIFY(cancelled);
        QVERIFY2(paints > 1, "events ran while the work did");
        QCOMPARE(doc.m_nFrames, 4'000'000u);
        QCOMPARE(doc.m_nRate, 44100u);
        QCOMPARE(std::tuple(doc.m_nLoopStart, doc.m_nLoopLength), std::tuple(1'000'000u, 2'000'000u));
        QVERIFY(Audio(doc) == original);
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.History().Count(), std::size_t{0});
        QVERIFY2(!ui.ProgressDialog(), "the dialog went with the work");
    }

    void undoAfterAPatchFormApply() {
        TempDir dir;
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        CLayerDoc library;
        library.SetLayer("Tone", std::make_unique<CLayer>());
        QVERIFY(library.OnSaveDocument(dir.File("Wl.lay")));
        auto doc = std::make_unique<CPatchDoc>();
        for (std::uint16_t number : {2, 5}) {
            auto patch = std::make_unique<CPatch>();
            patch->m_strName = number == 2 ? "Two" : "Five";
            doc->SetPatch(number, std::move(patch));
        }
        doc->SetModifiedFlag(false);
        CPatchFrame frame(std::move(doc), dir.File("Wl.lay"), nullptr);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* name = frame.findChild<QLineEdit*>("Name");
        auto* number = frame.findChild<QLineEdit*>("Number");
        QVERIFY(name && number);
        QCOMPARE(name->text(), QString("Two"));
        name->setText("Deux");
        number->setText("7");
        QTest::mouseClick(frame.findChild<QPushButton*>("Apply"), Qt::LeftButton);
        QVERIFY(frame.PatchDoc().FindPatch(7));
        QCOMPARE(frame.PatchDoc().History().UndoName(), std::string("Apply Patch Settings"));

        QVERIFY(frame.OnCommand(Command::Undo));
        QVERIFY(!frame.PatchDoc().FindPatch(7));
        QCOMPARE(frame.PatchDoc().FindPatch(2)->m_strName, std::string("Two"));
        QCOMPARE(frame.TreeModel().Items().front().text, std::string("2 Two")); // the tree shows it
        QCOMPARE(name->text(), QString("Two"));                                 // and so does the form
        QVERIFY(!frame.PatchDoc().IsModified());
        QVERIFY(frame.IsCommandEnabled(Command::Redo));
        QVERIFY(!frame.IsCommandEnabled(Command::Undo));
        frame.OnCommand(Command::Redo);
        QCOMPARE(number->text(), QString("7"));
        QCOMPARE(name->text(), QString("Deux"));
    }

    void undoAfterALayerKeyMappingSave() {
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        auto doc = std::make_unique<CLayerDoc>();
        auto entry = std::make_unique<CSample>();
        entry->m_strPath = "/samples/flute.wav";
        doc->AddSample("flute", std::move(entry));
        doc->SetLayer("Winds", std::make_unique<CLayer>());
        doc->SetModifiedFlag(false);
        CLayerFrame frame(std::move(doc));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CLayerFormView* view = frame.FormView();
        view->SamplesList()->setCurrentRow(0);
        SurfaceRect key = KeyRect(60);
        QTest::mouseClick(view->Keyboard(), Qt::LeftButton, {}, QPoint((key.left + key.right) / 2, 55));
        QTest::mouseClick(view->Button("Layers", "Save"), Qt::LeftButton);
        CLayerDoc& library = frame.LayerDoc();
        QVERIFY(library.FindLayer("Winds")->LookupSample(60));
        QCOMPARE(library.History().UndoName(), std::string("Save Layer"));

        QVERIFY(frame.OnCommand(Command::Undo));
        QVERIFY(!library.FindLayer("Winds")->LookupSample(60));
        QVERIFY2(!view->Model().WorkingCopy().LookupSample(60), "the keyboard shows the restored layer");
        QVERIFY(!library.IsModified());
        frame.OnCommand(Command::Redo);
        QCOMPARE(view->Model().WorkingCopy().LookupSample(60), library.FindSample("flute"));
        library.SetModifiedFlag(false);
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
