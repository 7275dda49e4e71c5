#include "ui/wave/PointsDialog.h"

#include "PerTestUi.h"
#include "WaveWindowHelpers.h"
#include "app/QtUi.h"
#include "ui/wave/WaveDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {
using Strings = std::vector<std::string>;

// 2000 frames at 1000 Hz; sample 100..1900, loop 500..1500, marked 10..20.
PointsValues Initial() {
    PointsValues v;
    v.frames = 2000;
    v.rate = 1000;
    v.sampleStart = 100;
    v.sampleStop = 1900;
    v.loop = true;
    v.loopStart = 500;
    v.loopEnd = 1500;
    v.markStart = 10;
    v.markEnd = 20;
    return v;
}
} // namespace

class PointsDialogTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

    static void ClickOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void okRefusesWhatIsNoPointAndKeepsTheDialogOpen() {
        CPointsDialog dialog(Initial(), nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Points"));
        QCOMPARE(dialog.FieldBox(CPointsDialog::SampleStop)->text(), QString("1900"));
        dialog.FieldBox(CPointsDialog::SampleStart)->setText("abc");
        ClickOk(dialog);
        dialog.FieldBox(CPointsDialog::SampleStart)->setText("2001");
        ClickOk(dialog);
        dialog.FieldBox(CPointsDialog::SampleStart)->setText("0");
        dialog.FieldBox(CPointsDialog::LoopEnd)->clear();
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(),
                 (Strings{"Please enter a positive integer.", "Please enter an integer between 0 and 2000.",
                          "Please enter both loop points, or neither."}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.FieldBox(CPointsDialog::LoopEnd)));
        dialog.FieldBox(CPointsDialog::LoopStart)->clear();
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().sampleStart, 0u);
        QVERIFY(!dialog.Values().loop);
    }

    void secondsAreShownAndTypedAndRoundToFrames() {
        CPointsDialog dialog(Initial(), nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.SecondsButton()->click();
        QCOMPARE(dialog.FieldBox(CPointsDialog::LoopStart)->text(), QString("0.500000"));
        QCOMPARE(dialog.FieldBox(CPointsDialog::MarkEnd)->text(), QString("0.020000"));
        dialog.FieldBox(CPointsDialog::SampleStop)->setText("2.5");
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(), Strings{"Please enter a number between 0 and 2."});
        dialog.FieldBox(CPointsDialog::SampleStop)->setText("1.8004");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const PointsValues v = dialog.Values();
        QVERIFY(v.inSeconds);
        QCOMPARE((std::vector<std::uint32_t>{v.sampleStart, v.sampleStop, v.loopStart, v.loopEnd, v.markStart,
                                             v.markEnd}),
                 (std::vector<std::uint32_t>{100, 1800, 500, 1500, 10, 20}));
    }

    void theEditorsUiReturnsTheValuesOrNothing() {
        QtUi ui;
        RegisterWaveDialogs(ui.Dialogs());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPointsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->FieldBox(CPointsDialog::LoopStart)->setText("600");
            dialog->accept();
        });
        std::optional<PointsValues> values = ui.AskDialog(Initial());
        QVERIFY(values);
        QCOMPARE(values->loopStart, 600u);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!ui.AskDialog(Initial()));
    }

    void aDoubleClickOnThePositionPaneSetsThePointsAndTheMarkPaneShowsTheRange() {
        auto frame = ShowFrame(MakeSample(44100));
        auto* position = frame->findChild<QLabel*>("Pane4");
        QVERIFY(position);
        PointsValues typed = PointsDialogValues(frame->SampleDoc(), 0, 0);
        typed.sampleStop = 40000;
        typed.loop = true;
        typed.loopStart = 30000;
        typed.loopEnd = 42000; // beyond the new stop: the rule refuses, nothing changes
        m_ui->QueueDialog<PointsValues>(typed);
        m_ui->QueueDialog<PointsValues>(std::nullopt); // the refused values come back: cancel
        QTest::mouseDClick(position, Qt::LeftButton);
        QCOMPARE(m_ui->Messages(), Strings{"Can't set loop end after sample stop"});
        QCOMPARE(frame->SampleDoc().m_nLength, 44100u);
        typed.loopEnd = 35000;
        typed.markStart = 22050;
        typed.markEnd = 33075;
        m_ui->QueueDialog<PointsValues>(typed);
        QTest::mouseDClick(position, Qt::LeftButton);
        QApplication::processEvents();
        QCOMPARE(frame->SampleDoc().m_nLength, 40000u);
        QCOMPARE(frame->SampleDoc().m_nLoopStart, 30000u);
        QCOMPARE(frame->SampleDoc().m_nLoopLength, 5000u);
        QTRY_COMPARE(frame->PaneText(6), QString("Mark: 022050  011025  0.250 s"));
        QTRY_COMPARE(frame->PaneText(2), QString("Loop: 030000  035000"));
    }
};

QTEST_MAIN(PointsDialogTest)
#include "PointsDialogTest.moc"
