#include "ui/wave/SetPitchDialog.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QtTest>

namespace {
class HintView : public CView {
public:
    void OnUpdate(CView*, long hint) override { hints.push_back(hint); }
    std::vector<long> hints;
};
} // namespace

class SetPitchDialogTest : public QObject {
    Q_OBJECT

    ScriptedUi m_ui;
    std::unique_ptr<ScopedUi> m_scope;
    std::unique_ptr<CSampleDoc> m_doc;

private slots:
    void init() {
        m_scope = std::make_unique<ScopedUi>(m_ui);
        m_doc = std::make_unique<CSampleDoc>();
        m_doc->OnNewDocument();
    }
    void cleanup() {
        m_doc.reset();
        m_scope.reset();
    }

    void slidersRunAsTheirValuesWithHigherValuesAbove() {
        CSetPitchDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("Set Pitch"));
        QVERIFY(!dialog.isModal());
        QCOMPARE(dialog.LoopText()->text(), QString("Loop pitch:"));
        const std::tuple<QSlider*, int, int, int> sliders[] = {{dialog.NoteSlider(), -11, 0, 1},
                                                               {dialog.OctaveSlider(), -9, 1, 1},
                                                               {dialog.CentsSlider(), -50, 50, 10}};
        for (auto [slider, low, high, tick] : sliders) {
            QCOMPARE(slider->minimum(), low);
            QCOMPARE(slider->maximum(), high);
            QCOMPARE(slider->tickInterval(), tick);
            QCOMPARE(slider->orientation(), Qt::Vertical);
            QVERIFY(slider->invertedAppearance());
        }
        // The boxes beside the sliders take typing.
        QVERIFY(!dialog.NoteEdit()->isReadOnly() && !dialog.OctaveEdit()->isReadOnly() &&
                !dialog.CentsEdit()->isReadOnly() && !dialog.HzEdit()->isReadOnly());
    }

    void refreshShowsThePitchAsOctaveNoteAndWholeCents() {
        m_doc->m_dPitch = 523.0; // C 5 -0.83
        CSetPitchDialog dialog;
        dialog.SetDocument(m_doc.get());
        QCOMPARE(dialog.OctaveSlider()->value(), -5);
        QCOMPARE(dialog.NoteSlider()->value(), 0);
        QCOMPARE(dialog.CentsSlider()->value(), 0);
        QCOMPARE(dialog.NoteEdit()->text(), QString("C "));
        QCOMPARE(dialog.OctaveEdit()->text(), QString("5"));
        QCOMPARE(dialog.CentsEdit()->text(), QString("0"));
        QCOMPARE(dialog.LoopText()->text(), QString("Loop pitch offset: n/a"));
        QVERIFY(!dialog.CompensateBox()->isEnabled());
        QVERIFY(!m_doc->IsModified());

        m_doc->m_dPitch = 440.0 * std::pow(2.0, -30 / 1200.0 - 4 / 12.0); // F 4 -30
        dialog.Refresh();
        QCOMPARE(dialog.NoteEdit()->text(), QString("F "));
        QCOMPARE(dialog.CentsSlider()->value(), 30);
        QCOMPARE(dialog.CentsEdit()->text(), QString("-30"));
    }

    void theLoopOffsetEnablesCompensate() {
        m_doc->SetLoopRange(0, 100); // repeats at 441 Hz
        m_doc->m_bCompensate = true;
        CSetPitchDialog dialog;
        dialog.SetDocument(m_doc.get());
        QCOMPARE(dialog.LoopText()->text(), QString("Loop pitch offset: 3"));
        QVERIFY(dialog.CompensateBox()->isEnabled());
        QVERIFY(dialog.CompensateBox()->isChecked());
        m_doc->SetModifiedFlag(false);
        dialog.CompensateBox()->click();
        QVERIFY(!m_doc->m_bCompensate);
        QVERIFY(m_doc->IsModified());
    }

    void movingASliderSetsThePitchAndTellsTheViews() {
        HintView view;
        m_doc->AddView(&view);
        m_doc->SetModifiedFlag(false);
        CSetPitchDialog dialog;
        dialog.SetDocument(m_doc.get());
        dialog.NoteSlider()->setValue(-2);
        QCOMPARE(m_doc->m_dPitch, PitchFromParts(4, 2, 0));
        QCOMPARE(dialog.NoteEdit()->text(), QString("D "));
        QCOMPARE(view.hints, std::vector<long>{CSampleDoc::kPitchChangedHint});
        QVERIFY(m_doc->IsModified());
        dialog.CentsSlider()->setValue(-20);
        dialog.OctaveSlider()->setValue(-6);
        QCOMPARE(m_doc->m_dPitch, PitchFromParts(6, 2, 20));
        QCOMPARE(dialog.CentsEdit()->text(), QString("20"));
        QCOMPARE(view.hints.size(), std::size_t{3});
        m_doc->RemoveView(&view);
    }

    void typedPartsAndHzGoThroughTheSlidersRules() {
        HintView view;
        m_doc->AddView(&view);
        CSetPitchDialog dialog;
        dialog.SetDocument(m_doc.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto type = [](QLineEdit* edit, const char* text) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        };
        type(dialog.NoteEdit(), "bb");
        QCOMPARE(dialog.NoteSlider()->value(), -10);
        QCOMPARE(dialog.NoteEdit()->text(), QString("A#"));
        type(dialog.OctaveEdit(), "2");
        type(dialog.CentsEdit(), "-25");
        QCOMPARE(m_doc->m_dPitch, PitchFromParts(2, 10, -25));
        QCOMPARE(dialog.HzEdit()->text(), QString::number(PitchFromParts(2, 10, -25), 'f', 2));
        QCOMPARE(view.hints, (std::vector<long>(3, CSampleDoc::kPitchChangedHint)));

        // Outside the sliders' reach: refused with a message, the boxes show the pitch as it stands.
        const double before = m_doc->m_dPitch;
        type(dialog.CentsEdit(), "51");
        type(dialog.OctaveEdit(), "10");
        type(dialog.NoteEdit(), "H");
        type(dialog.HzEdit(), "5");
        type(dialog.HzEdit(), "abc");
        QCOMPARE(m_ui.Messages(),
                 (std::vector<std::string>{"Please enter an integer between -50 and 50.",
                                           "Please enter an integer between -1 and 9.",
                                           "Please enter a note from C to B, with # or b for sharp or flat.",
                                           m_ui.Messages().at(3), "Please enter a number."}));
        QVERIFY(
            QString::fromStdString(m_ui.Messages().at(3)).startsWith("Please enter a number between 7.94"));
        QCOMPARE(m_doc->m_dPitch, before);
        QCOMPARE(dialog.CentsEdit()->text(), QString("-25"));
        QCOMPARE(dialog.OctaveEdit()->text(), QString("2"));

        type(dialog.HzEdit(), "261.6256");
        QCOMPARE(m_doc->m_dPitch, 261.6256);
        QCOMPARE(dialog.NoteEdit()->text(), QString("C "));
        QCOMPARE(dialog.OctaveEdit()->text(), QString("4"));
        QCOMPARE(dialog.OctaveSlider()->value(), -4);
        QCOMPARE(view.hints.size(), std::size_t{4});
        m_doc->RemoveView(&view);
    }
};

QTEST_MAIN(SetPitchDialogTest)
#include "SetPitchDialogTest.moc"
