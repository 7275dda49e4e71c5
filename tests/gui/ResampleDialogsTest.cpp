#include "app/QtUi.h"
#include "platform/ScriptedUi.h"
#include "ui/wave/PlaybackRateDialog.h"
#include "ui/wave/ResampleDialog.h"

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
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
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
void ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
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
        QVERIFY(dialog.RateMode()->isChecked());
        QVERIFY(!dialog.PitchMode()->isChecked());
        QCOMPARE(dialog.RateMode()->text(), QString("Change sampling rate to"));
        QCOMPARE(dialog.PitchMode()->text(), QString("Change pitch to"));
        QCOMPARE(dialog.MethodBox()->title(), QString("Method"));
        QStringList methods;
        for (QRadioButton* button : dialog.MethodBox()->findChildren<QRadioButton*>())
            methods << button->text();
        QCOMPARE(methods, (QStringList{"Linear interpolation", "Bandlimited interpolation", "Drop/hold"}));
        QVERIFY(dialog.MethodButton(ResampleMethod::Bandlimited)->isChecked());
    }

    void focusOnAFieldChoosesItsMode() {
        CResampleDialog dialog(kInitial);
        ShowActive(dialog);
        dialog.PitchField()->setFocus();
        QTRY_VERIFY(dialog.PitchMode()->isChecked());
        QVERIFY(!dialog.RateMode()->isChecked());
        dialog.RateField()->setFocus();
        QTRY_VERIFY(dialog.RateMode()->isChecked());
        // Tabbing into the pitch field chooses its mode as well.
        for (int i = 0; i < 6 && !dialog.PitchField()->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(dialog.PitchField()->hasFocus());
        QVERIFY(dialog.PitchMode()->isChecked());
        // Choosing a method moves neither mode.
        bool pitch = dialog.PitchMode()->isChecked();
        Choose(dialog.MethodButton(ResampleMethod::DropHold));
        QCOMPARE(dialog.PitchMode()->isChecked(), pitch);
        QVERIFY(dialog.MethodButton(ResampleMethod::DropHold)->isChecked());
    }

    void okRefusesARateOutsideTheRangeAndStaysOpen() {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CResampleDialog dialog(kInitial);
        ShowActive(dialog);
        Type(dialog.RateField(), "3999");
        ClickOk(dialog);
        Type(dialog.RateField(), "44.1k");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ui.Messages(), (std::vector<std::string>{"Please enter an integer between 4000 and 96000.",
                                                          "Please enter a positive integer."}));
        QTRY_VERIFY(dialog.RateField()->hasFocus());
        QCOMPARE(dialog.RateField()->selectedText(), QString("44.1k"));

        // The rate is checked in pitch mode too, as every field is on OK.
        Type(dialog.PitchField(), "A 5");
        QVERIFY(dialog.PitchMode()->isChecked());
        ClickOk(dialog);
        QCOMPARE(ui.Messages().size(), std::size_t{3});

        Type(dialog.RateField(), "96000");
        dialog.PitchField()->setFocus();
        Choose(dialog.MethodButton(ResampleMethod::Linear));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.Entered() ==
                (ResampleValues{ResampleMode::Pitch, 96000, "A 5", ResampleMethod::Linear}));
    }

    void cancelLeavesTheValuesAlone() {
        CResampleDialog dialog(kInitial);
        dialog.RateField()->setText("1");
        dialog.reject();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.Entered() == kInitial);
    }

    void thePlaybackRateDialogTakesOnlyRatesInRange() {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CPlaybackRateDialog dialog(PlaybackRateValues{44100});
        QCOMPARE(dialog.windowTitle(), QString("Change Sample Rate"));
        QCOMPARE(dialog.RateField()->text(), QString("44100"));
        QLabel* label = dialog.findChild<QLabel*>();
        QVERIFY(label);
        QCOMPARE(label->text(), QString("New Rate"));
        ShowActive(dialog);
        Type(dialog.RateField(), "96001");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui.Messages(), std::vector<std::string>{"Please enter an integer between 4000 and 96000."});
        Type(dialog.RateField(), "4000");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Entered().rate, 4000u);
    }

    void theEditorsUiShowsTheDialogsAndReturnsTheirValues() {
        QtUi ui;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CResampleDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->PitchField()->setText("E 3");
            dialog->PitchMode()->setChecked(true);
            dialog->MethodButton(ResampleMethod::DropHold)->setChecked(true);
            dialog->accept();
        });
        std::optional<ResampleValues> values = ui.AskResample(kInitial);
        QVERIFY(values);
        QVERIFY(*values == (ResampleValues{ResampleMode::Pitch, 22050, "E 3", ResampleMethod::DropHold}));

        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!ui.AskPlaybackRate(PlaybackRateValues{8000}));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CPlaybackRateDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->RateField()->setText("11025");
            dialog->accept();
        });
        std::optional<PlaybackRateValues> rate = ui.AskPlaybackRate(PlaybackRateValues{8000});
        QVERIFY(rate && rate->rate == 11025);
    }
};

QTEST_MAIN(ResampleDialogsTest)
#include "ResampleDialogsTest.moc"
