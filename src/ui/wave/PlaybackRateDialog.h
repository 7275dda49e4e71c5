#pragma once

#include "sample/ResampleDialogs.h"

#include <QDialog>

class QLineEdit;

// "Change Sample Rate": the nominal rate only. OK checks it with the dialog framework's message
// and stays open while it is not one the dialog takes.
class CPlaybackRateDialog : public QDialog {
    Q_OBJECT
public:
    CPlaybackRateDialog(const PlaybackRateValues& initial, QWidget* parent = nullptr);

    PlaybackRateValues Values() const { return m_entered; }
    QLineEdit* RateField() const { return m_pRate; }

public slots:
    void accept() override;

private:
    QLineEdit* m_pRate;
    PlaybackRateValues m_entered;
};
