#include "sample/ResampleDialogs.h"
#include "WaveWindowHelpers.h"
#include "app/QtUi.h"
#include "platform/ScriptedUi.h"
#include "ui/wave/PlaybackRateDialog.h"
#include "ui/wave/ResampleDialog.h"
#include "ui/wave/WaveDialogs.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {
const ResampleValues kInitial{ResampleMode::Rate, 22050, "C 4 +0.00", ResampleMethod::Bandlimited};

void ClickOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// Clicks into a field and replaces its text.
void Type(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Clicks a radio button on its indicator (a click beyond its text misses it).
void Choose(QRadioButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

// Shows a dialog as the active window, so that focus moves as it would under a user's hands.
bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}
} // namespace

class ResampleDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theResampleDialogStartsFromTheDocumentsValues() {
        CResampleDialog dialog(kInitial);
        QCOMPARE(dialog.windowTitle(), QString("Change Sample Rate/Pitch"));
        QCOMPARE(dialog.RateField()->text(), QString("22050"));
        QCOMPARE(dialog.PitchField()->text(), QString("C 4 +0.00"));
        QCOMPARE(dialog.RateMode()->text(), QString("Change sampling rate to"));
        QCOMPARE(dialog.PitchMode()->text(), QString("Change pitch to"));
        QVERIFY(dialog.RateMode()->isChecked() && !dialog.PitchMode()->isChecked());
        QCOMPARE(dialog.MethodBox()->title(), QString("Method"));
        QStringList methods;
        for (QRadioButton* button : dialog.MethodBox()->findChildren<QRadioButton*>())
            methods << button->text();
        QCOMPARE(methods, (QStringList{"Linear interpolation", "Bandlimited interpolation", "Drop/hold"}));
        QVERIFY(dialog.MethodButton(ResampleMethod::Bandlimited)->isChecked());
    }

    void focusOnAFieldChoosesItsMode() {
        CResampleDialog dialog(kInitial);
        QVERIFY(ShowActive(dialog));
        dialog.PitchField()->setFocus();
        QTRY_VERIFY(dialog.PitchMode()->isChecked());
        QVERIFY(!dialog.RateMode()->isChecked());
        dialog.RateField()->setFocus();
        QTRY_VERIFY(dialog.RateMode()->isChecked());
        for (int i = 0; i < 6 && !dialog.PitchField()->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(dialog.PitchField()->hasFocus());
        QVERIFY2(dialog.PitchMode()->isChecked(), "tabbing into the field chooses its mode too");
        Choose(dialog.MethodButton(ResampleMethod::DropHold));
        QVERIFY(dialog.PitchMode()->isChecked() &&
                dialog.MethodButton(ResampleMethod::DropHold)->isChecked());
    }

    void okRefusesARateOutsideTheRangeAndStaysOpen() {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CResampleDialog dialog(kInitial);
        QVERIFY(ShowActive(dialog));
        Type(dialog.RateField(), "3999");
        ClickOk(dialog);
        Type(dialog.RateField(), "44.1k");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible() && dialog.result() == QDialog::Rejected);
        QTRY_VERIFY(dialog.RateField()->hasFocus());
        QCOMPARE(dialog.RateField()->selectedText(), QString("44.1k"));
        Type(dialog.PitchField(), "A 5"); // the rate is checked in pitch mode too
        ClickOk(dialog);
        QCOMPARE(ui.Messages(), (std::vector<std::string>{"Please enter an integer between 4000 and 96000.",
                                                          "Please enter a positive integer.",
                                                          "Please enter a positive integer."}));
        Type(dialog.RateField(), "96000");
        dialog.PitchField()->setFocus();
        Choose(dialog.MethodButton(ResampleMethod::Linear));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.Values() ==
                (ResampleValues{ResampleMode::Pitch, 96000, "A 5", ResampleMethod::Linear}));
    }

    void thePlaybackRateDialogTakesOnlyRatesInRange() {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CPlaybackRateDialog dialog(PlaybackRateValues{44100});
        QCOMPARE(dialog.windowTitle(), QString("Change Sample Rate"));
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QString("New Rate"));
        QCOMPARE(dialog.RateField()->text(), QString("44100"));
        QVERIFY(ShowActive(dialog));
        Type(dialog.RateField(), "96001");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui.Messages(), std::vector<std::string>{"Please enter an integer between 4000 and 96000."});
        Type(dialog.RateField(), "4000");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().rate, 4000u);
    }

    void theWaveWindowsCommandsRunTheDocumentsOperations() {
        ScriptedUi ui;
        ScopedUi scope(ui);
        auto frame = ShowFrame(MakeSample(4410));
        CSampleDoc& doc = frame->SampleDoc();
        QVERIFY(frame->IsCommandEnabled(Command::Resample) &&
                frame->IsCommandEnabled(Command::ChangePlaybackRate));
        ui.QueueDialog<PlaybackRateValues>(PlaybackRateValues{22050});
        QVERIFY(frame->OnCommand(Command::ChangePlaybackRate));
        QCOMPARE(std::pair(doc.m_nRate, doc.m_nFrames), std::pair(22050u, 4410u));
        ui.QueueDialog<ResampleValues>(
            ResampleValues{ResampleMode::Rate, 11025, "", ResampleMethod::DropHold});
        QVERIFY(frame->OnCommand(Command::Resample));
        QCOMPARE(std::pair(doc.m_nRate, doc.m_nFrames), std::pair(11025u, 2205u));
        QVERIFY(ui.AllAnswersUsed() && doc.IsModified());
    }

    void theEditorsUiShowsTheDialogsAndReturnsTheirValues() {
        QtUi ui;
        RegisterWaveDialogs(ui.Dialogs());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CResampleDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->PitchField()->setText("E 3");
            dialog->PitchMode()->setChecked(true);
            dialog->MethodButton(ResampleMethod::DropHold)->setChecked(true);
            dialog->accept();
        });
        std::optional<ResampleValues> values = ui.AskDialog(kInitial);
        QVERIFY(values == (ResampleValues{ResampleMode::Pitch, 22050, "E 3", ResampleMethod::DropHold}));
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!ui.AskDialog(PlaybackRateValues{8000}));
    }
};

QTEST_MAIN(ResampleDialogsTest)
#include "ResampleDialogsTest.moc"
