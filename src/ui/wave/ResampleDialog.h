#pragma once

#include "sample/ResampleDialogs.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QRadioButton;

// "Change Sample Rate/Pitch": a new rate or a new pitch, and the interpolation method. Giving the
// focus to either field chooses its mode. OK checks the rate with the dialog framework's message
// and stays open while it is not one the dialog takes.
class CResampleDialog : public QDialog {
    Q_OBJECT
public:
    CResampleDialog(const ResampleValues& initial, QWidget* parent = nullptr);

    ResampleValues Values() const { return m_entered; }

    QRadioButton* RateMode() const { return m_pRateMode; }
    QRadioButton* PitchMode() const { return m_pPitchMode; }
    QLineEdit* RateField() const { return m_pRate; }
    QLineEdit* PitchField() const { return m_pPitch; }
    QRadioButton* MethodButton(ResampleMethod method) const;
    QGroupBox* MethodBox() const { return m_pMethodBox; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRadioButton* m_pRateMode;
    QRadioButton* m_pPitchMode;
    QLineEdit* m_pRate;
    QLineEdit* m_pPitch;
    QGroupBox* m_pMethodBox;
    QRadioButton* m_pLinear;
    QRadioButton* m_pBandlimited;
    QRadioButton* m_pDropHold;
    ResampleValues m_entered;
};
