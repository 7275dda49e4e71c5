#pragma once

#include <QWidget>

class CPatchFormModel;
class CPatchPropertySheet;
class QLineEdit;
class QPushButton;
class QSlider;

// The patch form: the current patch's number, name and level with "Apply"; the audition's key and
// velocity with "Play"; the property sheet of the current layer with its "Apply" and "Reset".
class CPatchFormView : public QWidget {
    Q_OBJECT
public:
    explicit CPatchFormView(CPatchFormModel& model, QWidget* parent = nullptr);
    ~CPatchFormView() override;

    CPatchFormModel& Model() const { return m_model; }
    QLineEdit* NumberBox() const { return m_pNumber; }
    QLineEdit* NameBox() const { return m_pName; }
    QLineEdit* LevelBox() const { return m_pLevel; }
    QPushButton* ApplyButton() const { return m_pApply; }
    QSlider* PitchSlider() const { return m_pPitch; }
    QSlider* VelocitySlider() const { return m_pVelocity; }
    QLineEdit* PitchText() const { return m_pPitchText; }
    QLineEdit* VelocityText() const { return m_pVelocityText; }
    QPushButton* PlayButton() const { return m_pPlay; }
    CPatchPropertySheet* Sheet() const { return m_pSheet; }
    QPushButton* SheetApplyButton() const { return m_pSheetApply; }
    QPushButton* SheetResetButton() const { return m_pSheetReset; }
    QLineEdit* LayerText() const { return m_pLayerText; }

    // Shows what the model holds after an update.
    void ShowUpdate();

private:
    void OnApply();
    void ShowAudition();

    CPatchFormModel& m_model;
    QLineEdit* m_pNumber;
    QLineEdit* m_pName;
    QLineEdit* m_pLevel;
    QPushButton* m_pApply;
    QSlider* m_pPitch;
    QSlider* m_pVelocity;
    QLineEdit* m_pPitchText;
    QLineEdit* m_pVelocityText;
    QPushButton* m_pPlay;
    CPatchPropertySheet* m_pSheet;
    QPushButton* m_pSheetApply;
    QPushButton* m_pSheetReset;
    QLineEdit* m_pLayerText;
};
