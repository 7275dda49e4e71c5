#include "ui/wave/SynthesizeDialog.h"
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

QStringList Texts(QWidget& parent) {
    QStringList texts;
    for (auto* label : parent.findChildren<QLabel*>())
        texts << label->text();
    for (auto* box : parent.findChildren<QGroupBox*>())
        texts << box->title();
    return texts;
}
} // namespace

class SynthesizeDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> m_ui;
    std::unique_ptr<ScopedUi> m_scope;

private slots:
    void init() {
        m_ui = std::make_unique<ScriptedUi>();
        m_scope = std::make_unique<ScopedUi>(*m_ui);
    }
    void cleanup() {
        m_scope.reset();
        m_ui.reset();
    }

    void showsTheDefaultsWithTheLengthDisabledForAdding() {
        CSynthesizeDialog dialog{V{}};
        QCOMPARE(dialog.windowTitle(), QString("Synthesize"));
        QVERIFY(dialog.AddButton()->isChecked());
        QVERIFY(!dialog.ReplaceButton()->isChecked());
        QCOMPARE(dialog.LengthField()->text(), QString("1000"));
        QVERIFY(dialog.MsecsButton()->isChecked());
        QVERIFY(dialog.NoteButton()->isChecked());
        QCOMPARE(dialog.NoteField()->text(), QString("A 4"));
        QCOMPARE(dialog.FrequencyField()->text(), QString("440"));
        QVERIFY(dialog.SineButton()->isChecked());
        QVERIFY(!dialog.LengthField()->isEnabled());
        QVERIFY(!dialog.MsecsButton()->isEnabled());
        QVERIFY(!dialog.CyclesButton()->isEnabled());
        QStringList texts = Texts(dialog);
        for (const char* text : {"Length", "Pitch", "Function", "Amplitude vs. Time", "0 dB", "-60 dB"})
            QVERIFY2(texts.contains(text), text);
        QCOMPARE(dialog.ReplaceButton()->text(), QString("Replace existing audio"));
        QCOMPARE(dialog.AddButton()->text(), QString("Add to existing"));
        QCOMPARE(dialog.CyclesButton()->text(), QString("Cycles"));
        QCOMPARE(dialog.TriangleButton()->text(), QString("Triangle"));
    }

    void theModeRadiosEnableAndDisableTheLength() {
        CSynthesizeDialog dialog{V{}};
        dialog.show();
        QTest::mouseClick(dialog.ReplaceButton(), Qt::LeftButton);
        QVERIFY(dialog.LengthField()->isEnabled());
        QVERIFY(dialog.MsecsButton()->isEnabled());
        QVERIFY(dialog.CyclesButton()->isEnabled());
        QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
        QVERIFY(!dialog.LengthField()->isEnabled());
        QVERIFY(!dialog.CyclesButton()->isEnabled());

        V replace;
        replace.mode = V::Mode::Replace;
        CSynthesizeDialog opened{replace};
        QVERIFY(opened.LengthField()->isEnabled());
    }

    void okReturnsWhatWasEntered() {
        V initial;
        initial.curve = {V::PackPoint(0, -20), V::PackPoint(50, -3)};
        CSynthesizeDialog dialog{initial};
        dialog.show();
        QTest::mouseClick(dialog.ReplaceButton(), Qt::LeftButton);
        dialog.LengthField()->setText("250");
        QTest::mouseClick(dialog.CyclesButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.FrequencyButton(), Qt::LeftButton);
        dialog.FrequencyField()->setText(" 123.5 ");
        dialog.NoteField()->setText("C#3");
        QTest::mouseClick(dialog.TriangleButton(), Qt::LeftButton);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        V entered = dialog.Entered();
        QCOMPARE(entered.mode, V::Mode::Replace);
        QCOMPARE(entered.length, 250u);
        QCOMPARE(entered.unit, V::LengthUnit::Cycles);
        QCOMPARE(entered.pitchSource, V::PitchSource::Frequency);
        QCOMPARE(entered.frequency, 123.5);
        QCOMPARE(entered.note, std::string("C#3"));
        QCOMPARE(entered.function, V::Function::Triangle);
        QVERIFY(entered.curve == initial.curve);
        QVERIFY(m_ui->Messages().empty());
    }

    void theGraphShowsTheCurveAndReturnsItsEdits() {
        CSynthesizeDialog dialog{V{}};
        dialog.resize(520, 420);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CBreakpointGraph* graph = dialog.Graph();
        QCOMPARE(graph->objectName(), QString("graph"));
        QVERIFY(graph->width() >= 320);
        const CBreakpointGraphModel& model = graph->Model();
        QCOMPARE(std::tuple(model.GetXLow(), model.GetXHigh(), model.GetXStep()), std::tuple(0, 100, 10));
        QCOMPARE(std::tuple(model.GetYLow(), model.GetYHigh(), model.GetYStep()), std::tuple(-60, 0, 10));
        QCOMPARE(graph->GetPointCount(), 1);
        QCOMPARE(std::pair(graph->GetPointX(0), graph->GetPointY(0)), std::pair(0, -10));

        // A click three quarters across and halfway down adds a point near (75, -30).
        QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(graph->width() * 3 / 4, graph->height() / 2));
        QCOMPARE(graph->GetPointCount(), 2);
        ClickOk(dialog);
        std::vector<std::uint32_t> curve = dialog.Entered().curve;
        QCOMPARE(curve.size(), std::size_t{2});
        QCOMPARE(curve[0], V::PackPoint(0, -10));
        QCOMPARE(curve[1], graph->GetPoints()[1]);
        QVERIFY(std::abs(PackedX(curve[1]) - 75) <= 2);
        QVERIFY(std::abs(PackedY(curve[1]) + 30) <= 2);
    }

    void okChecksTheBoxesAndStaysOpen() {
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
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Entered().frequency, V::kMinFrequency);
        QCOMPARE(m_ui->Messages(),
                 (std::vector<std::string>{"Please enter a positive integer.",
                                           "Please enter a number between 1e-06 and 1000000."}));
    }
};

QTEST_MAIN(SynthesizeDialogTest)
#include "SynthesizeDialogTest.moc"
