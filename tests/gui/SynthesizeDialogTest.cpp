#include "ui/wave/SynthesizeDialog.h"
#include "sample/SynthesizeDialog.h"

#include "PerTestUi.h"
#include "platform/ScriptedUi.h"
#include "ui/patch/BreakpointGraph.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
using V = SynthesizeValues;

void ClickOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}
} // namespace

class SynthesizeDialogTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void theDefaultsAndTheLengthEnabledOnlyForReplacing() {
        CSynthesizeDialog dialog{V{}};
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Synthesize"));
        QStringList texts;
        for (auto* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        for (auto* box : dialog.findChildren<QGroupBox*>())
            texts << box->title();
        for (auto* radio : dialog.findChildren<QRadioButton*>())
            texts << radio->text() + (radio->isChecked() ? "*" : "");
        texts.sort();
        QCOMPARE(texts, QStringList({"-60 dB", "0 dB", "Add to existing*", "Amplitude vs. Time", "Cycles",
                                     "Frequency", "Function", "Length", "Note*", "Pitch",
                                     "Replace existing audio", "Sine*", "Square", "Triangle", "msecs*"}));
        QCOMPARE(dialog.LengthField()->text(), QString("1000"));
        QCOMPARE(dialog.NoteField()->text(), QString("A 4"));
        QCOMPARE(dialog.FrequencyField()->text(), QString("440"));

        auto lengthEnabled = [&](bool on) {
            return dialog.LengthField()->isEnabled() == on && dialog.MsecsButton()->isEnabled() == on &&
                   dialog.CyclesButton()->isEnabled() == on;
        };
        QVERIFY(lengthEnabled(false));
        QTest::mouseClick(dialog.ReplaceButton(), Qt::LeftButton);
        QVERIFY(lengthEnabled(true));
        QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
        QVERIFY(lengthEnabled(false));
    }

    void okReturnsTheEntriesAndTheGraphsPoints() {
        CSynthesizeDialog dialog{V{}};
        dialog.resize(520, 420);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CBreakpointGraph* graph = dialog.Graph();
        const CBreakpointGraphModel& model = graph->Model();
        QCOMPARE(std::tuple(model.GetXLow(), model.GetXHigh(), model.GetXStep()), std::tuple(0, 100, 10));
        QCOMPARE(std::tuple(model.GetYLow(), model.GetYHigh(), model.GetYStep()), std::tuple(-60, 0, 10));
        QCOMPARE(graph->GetPoints(), std::vector<std::uint32_t>{V::PackPoint(0, -10)});
        // A click three quarters across and halfway down adds a point near (75, -30).
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(graph->width() * 3 / 4, graph->height() / 2));

        QTest::mouseClick(dialog.ReplaceButton(), Qt::LeftButton);
        dialog.LengthField()->setText("250");
        QTest::mouseClick(dialog.CyclesButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.FrequencyButton(), Qt::LeftButton);
        dialog.FrequencyField()->setText(" 123.5 ");
        dialog.NoteField()->setText("C#3");
        QTest::mouseClick(dialog.TriangleButton(), Qt::LeftButton);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        V entered = dialog.Values();
        QCOMPARE(
            std::tuple(entered.mode, entered.length, entered.unit, entered.pitchSource, entered.frequency),
            std::tuple(V::Mode::Replace, 250u, V::LengthUnit::Cycles, V::PitchSource::Frequency, 123.5));
        QCOMPARE(std::tuple(entered.note, entered.function),
                 std::tuple(std::string("C#3"), V::Function::Triangle));
        QCOMPARE(entered.curve.size(), std::size_t{2});
        QVERIFY(std::abs(PackedX(entered.curve[1]) - 75) <= 2);
        QVERIFY(std::abs(PackedY(entered.curve[1]) + 30) <= 2);
    }

    void okChecksEveryBoxAndStaysOpen() {
        CSynthesizeDialog dialog{V{}};
        dialog.show();
        // Checked even while disabled, as the dialog framework checks every box.
        dialog.LengthField()->setText("-3");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        dialog.LengthField()->setText("3");
        dialog.FrequencyField()->setText("0");
        ClickOk(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.FrequencyField()->selectedText(), QString("0"));
        dialog.FrequencyField()->setText("1e-6");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().frequency, V::kMinFrequency);
        QCOMPARE(m_ui->Messages(),
                 (std::vector<std::string>{"Please enter a positive integer.",
                                           "Please enter a number between 1e-06 and 1000000."}));
    }
};

QTEST_MAIN(SynthesizeDialogTest)
#include "SynthesizeDialogTest.moc"
