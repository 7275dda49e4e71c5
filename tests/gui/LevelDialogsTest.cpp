#include "sample/LevelDialogs.h"
#include "PerTestUi.h"
#include "app/QtUi.h"
#include "platform/ScriptedUi.h"
#include "ui/wave/AdjustGainDialog.h"
#include "ui/wave/LevelControl.h"
#include "ui/wave/ReduceToMonoDialog.h"
#include "ui/wave/RemixStereoDialog.h"
#include "ui/wave/WaveDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

namespace {
QStringList Texts(std::initializer_list<CLevelControl*> controls) {
    QStringList texts;
    for (CLevelControl* control : controls)
        texts << control->Edit()->text();
    return texts;
}

QList<int> Positions(std::initializer_list<CLevelControl*> controls) {
    QList<int> positions;
    for (CLevelControl* control : controls)
        positions << control->Slider()->value();
    return positions;
}

QStringList GroupTitles(QDialog& dialog) {
    QStringList titles;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        titles << group->title();
    return titles;
}

// Replaces the text of a level's box by typing, as the user does.
void Type(CLevelControl* control, const QString& text) {
    control->Edit()->setFocus();
    control->Edit()->selectAll();
    QTest::keyClicks(control->Edit(), text);
}

void ClickOk(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

bool Show(QDialog& dialog) {
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog);
}
} // namespace

class LevelDialogsTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void gainStartsAtZeroWithRightEnabledOnlyForStereo() {
        CAdjustGainDialog mono(GainValues{}, nullptr);
        QCOMPARE(mono.windowTitle(), QString("Adjust Gain"));
        QCOMPARE(GroupTitles(mono), QStringList({"Begin", "End"}));
        auto all = {mono.BeginLeft(), mono.BeginRight(), mono.EndLeft(), mono.EndRight()};
        QCOMPARE(Texts(all), QStringList({"0", "0", "0", "0"}));
        QCOMPARE(Positions(all), QList<int>({0, 0, 0, 0}));
        QSlider* slider = mono.BeginLeft()->Slider();
        QCOMPARE(std::tuple(slider->maximum(), slider->minimum(), slider->tickInterval()),
                 std::tuple(12, -96, 12));
        QVERIFY(mono.BeginLeft()->isEnabled() && mono.EndLeft()->isEnabled());
        QVERIFY(!mono.BeginRight()->isEnabled() && !mono.EndRight()->isEnabled());

        GainValues stereoValues;
        stereoValues.stereo = true;
        CAdjustGainDialog stereo(stereoValues, nullptr);
        QVERIFY(stereo.BeginRight()->isEnabled() && stereo.EndRight()->isEnabled());
    }

    void gainSlidersAreCoupledFromTheLeft() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        auto all = {dialog.BeginLeft(), dialog.BeginRight(), dialog.EndLeft(), dialog.EndRight()};
        dialog.BeginLeft()->Slider()->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(Texts(all), QStringList({"-10", "-10", "-10", "-10"}));
        QCOMPARE(Positions(all), QList<int>({-10, -10, -10, -10}));
        dialog.EndLeft()->Slider()->setValue(-30);
        QCOMPARE(Texts(all), QStringList({"-10", "-10", "-30", "-30"}));
        QCOMPARE(Positions(all), QList<int>({-10, -10, -30, -30}));
        dialog.BeginRight()->Slider()->setValue(6);
        dialog.EndRight()->Slider()->setValue(-96);
        QCOMPARE(Texts(all), QStringList({"-10", "6", "-30", "-96"}));
        QCOMPARE(Positions(all), QList<int>({-10, 6, -30, -96}));
    }

    void gainTypingDropsTheSliderAndLeavingCopiesFromTheLeft() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        QVERIFY(Show(dialog));
        auto all = {dialog.BeginLeft(), dialog.BeginRight(), dialog.EndLeft(), dialog.EndRight()};
        Type(dialog.BeginLeft(), "-20");
        QCOMPARE(Positions(all), QList<int>({-96, 0, 0, 0})); // until the box is left
        QCOMPARE(Texts(all), QStringList({"-20", "0", "0", "0"}));
        Type(dialog.EndLeft(), "5");
        QCOMPARE(Texts(all), QStringList({"-20", "-20", "5", "-20"}));
        QCOMPARE(Positions(all), QList<int>({-20, -20, -96, -20}));
        Type(dialog.BeginRight(), "3");
        QCOMPARE(Texts(all), QStringList({"-20", "3", "5", "5"}));
        QCOMPARE(Positions(all), QList<int>({-20, -96, 5, 5}));
        Type(dialog.EndRight(), "-1");
        QCOMPARE(Texts(all), QStringList({"-20", "3", "5", "-1"}));
        QCOMPARE(Positions(all), QList<int>({-20, 3, 5, -96})); // a Right box moves only its own slider
    }

    void gainFirstOkAfterTypingOnlyBeeps() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        QVERIFY(Show(dialog));
        Type(dialog.EndLeft(), "-12");
        QTest::keyClick(dialog.EndLeft()->Edit(), Qt::Key_Return);
        QCOMPARE(m_ui->Beeps(), 1);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(dialog.EndLeft()->Edit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_ui->Beeps(), 1);
        GainValues values = dialog.Values();
        // Enter does not leave the box, so End Right was not copied.
        QCOMPARE(
            std::tuple(values.beginLeft, values.beginRight, values.endLeft, values.endRight, values.stereo),
            std::tuple(0, 0, -12, 0, true));
    }

    void gainOkAfterLeavingTheBoxBeepsAndTheNextTakesTheCopies() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        QVERIFY(Show(dialog));
        Type(dialog.BeginLeft(), "-7");
        ClickOk(dialog);
        QCOMPARE(m_ui->Beeps(), 1);
        QVERIFY(dialog.isVisible());
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        GainValues values = dialog.Values();
        QCOMPARE(std::tuple(values.beginLeft, values.beginRight, values.endLeft, values.endRight),
                 std::tuple(-7, -7, -7, -7));
    }

    void gainSliderMoveClearsThePendingEdit() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        QVERIFY(Show(dialog));
        Type(dialog.BeginRight(), "4");
        QVERIFY(dialog.EditPending());
        dialog.EndRight()->Slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(!dialog.EditPending());
        ClickOk(dialog);
        QCOMPARE(m_ui->Beeps(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(std::tuple(dialog.Values().beginRight, dialog.Values().endRight), std::tuple(4, 1));
    }

    void gainRefusesTextThatIsNoInteger() {
        CAdjustGainDialog dialog(GainValues{0, 0, 0, 0, true}, nullptr);
        QVERIFY(Show(dialog));
        Type(dialog.EndRight(), "abc");
        ClickOk(dialog);
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Please enter an integer."});
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.EndRight()->Edit()));
    }

    void remixLevelsMoveOnlyThemselves() {
        CRemixStereoDialog dialog(RemixValues{}, nullptr);
        QVERIFY(Show(dialog));
        QCOMPARE(dialog.windowTitle(), QString("Remix Stereo"));
        QCOMPARE(GroupTitles(dialog), QStringList({"Left Out", "Right Out"}));
        auto all = {dialog.LeftFromLeft(), dialog.LeftFromRight(), dialog.RightFromLeft(),
                    dialog.RightFromRight()};
        QCOMPARE(Texts(all), QStringList({"0", "-96", "-96", "0"}));
        QCOMPARE(Positions(all), QList<int>({0, -96, -96, 0}));
        dialog.LeftFromLeft()->Slider()->setValue(-40);
        QCOMPARE(Texts(all), QStringList({"-40", "-96", "-96", "0"}));
        Type(dialog.RightFromRight(), "-3");
        QCOMPARE(Positions(all), QList<int>({-40, -96, -96, -96}));
        Type(dialog.LeftFromRight(), "2");
        QCOMPARE(Positions(all), QList<int>({-40, -96, -96, -3}));
        QCOMPARE(Texts(all), QStringList({"-40", "2", "-96", "-3"}));
    }

    void remixChecksEveryLevelOnOk() {
        CRemixStereoDialog dialog(RemixValues{}, nullptr);
        QVERIFY(Show(dialog));
        Type(dialog.RightFromLeft(), "97");
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Please enter an integer between -96 and 96."});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.RightFromLeft()->Slider()->value(), 12); // beyond the slider, it rests at the top
        Type(dialog.RightFromLeft(), "-6");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        RemixValues values = dialog.Values();
        QCOMPARE(std::tuple(values.leftFromLeft, values.leftFromRight, values.rightFromLeft,
                            values.rightFromRight),
                 std::tuple(0, -96, -6, 0));
        QCOMPARE(m_ui->Beeps(), 0); // only the gain dialog holds back its first OK
    }

    void monoDefaultsToMinusSixOnBothInputs() {
        CReduceToMonoDialog dialog(MonoValues{}, nullptr);
        QVERIFY(Show(dialog));
        QCOMPARE(dialog.windowTitle(), QString("Reduce To Mono"));
        auto all = {dialog.LeftIn(), dialog.RightIn()};
        QCOMPARE(Texts(all), QStringList({"-6", "-6"}));
        dialog.RightIn()->Slider()->setValue(-50);
        QCOMPARE(Texts(all), QStringList({"-6", "-50"}));
        Type(dialog.LeftIn(), "x");
        ClickOk(dialog);
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Please enter an integer."});
        Type(dialog.LeftIn(), "120");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted)); // the mono levels have no range
        QCOMPARE(std::tuple(dialog.Values().left, dialog.Values().right), std::tuple(120, -50));
    }

    void theEditorsUiShowsEachDialogAndReturnsItsValues() {
        QtUi ui;
        RegisterWaveDialogs(ui.Dialogs());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CAdjustGainDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->EndLeft()->Slider()->setValue(-24);
            dialog->accept();
        });
        std::optional<GainValues> gain = ui.AskDialog(GainValues{0, 0, 0, 0, true});
        QVERIFY(gain);
        QCOMPARE(std::tuple(gain->endLeft, gain->endRight, gain->beginLeft), std::tuple(-24, -24, 0));

        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!ui.AskDialog(RemixValues{}));
        QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept(); });
        std::optional<MonoValues> mono = ui.AskDialog(MonoValues{});
        QVERIFY(mono);
        QCOMPARE(mono->left, -6);
    }
};

QTEST_MAIN(LevelDialogsTest)
#include "LevelDialogsTest.moc"
