#include "ui/wave/CrossfadeLoopDialog.h"
#include "sample/CrossfadeDialog.h"

#include "PerTestUi.h"
#include "app/QtUi.h"
#include "platform/ScriptedUi.h"
#include "ui/wave/WaveDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class CrossfadeLoopDialogTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

    void ClickOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void showsTheRadiusAndContourWithTheirCaptions() {
        CCrossfadeLoopDialog dialog(CrossfadeValues{}, nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Crossfade Loop"));
        QCOMPARE(dialog.RadiusField()->text(), QString("0"));
        QCOMPARE(dialog.ContourField()->text(), QString("0"));
        QStringList captions;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            captions << label->text();
        QVERIFY(captions.contains("Radius (msec)"));
        QVERIFY(captions.contains("Contour"));
        QVERIFY(captions.contains("Contour: 0 = linear, 100 = equal squares"));
    }

    void okRefusesTheInitialRadiusAndValuesOutsideTheRanges() {
        CCrossfadeLoopDialog dialog(CrossfadeValues{}, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        ClickOk(dialog);
        dialog.RadiusField()->setText("-5");
        ClickOk(dialog);
        dialog.RadiusField()->setText("10001");
        ClickOk(dialog);
        dialog.RadiusField()->setText("10000");
        dialog.ContourField()->setText("101");
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(), (std::vector<std::string>{"Please enter an integer between 1 and 10000.",
                                                             "Please enter a positive integer.",
                                                             "Please enter an integer between 1 and 10000.",
                                                             "Please enter an integer between 0 and 100."}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.ContourField()));
        dialog.ContourField()->setText("100");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(std::tuple(dialog.Values().radiusMs, dialog.Values().contour), std::tuple(10000u, 100u));
    }

    void theEditorsUiReturnsTheValuesOrNothing() {
        QtUi ui;
        RegisterWaveDialogs(ui.Dialogs());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CCrossfadeLoopDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->RadiusField()->setText("25");
            dialog->accept();
        });
        std::optional<CrossfadeValues> values = ui.AskDialog(CrossfadeValues{});
        QVERIFY(values);
        QCOMPARE(std::tuple(values->radiusMs, values->contour), std::tuple(25u, 0u));
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!ui.AskDialog(CrossfadeValues{}));
    }
};

QTEST_MAIN(CrossfadeLoopDialogTest)
#include "CrossfadeLoopDialogTest.moc"
