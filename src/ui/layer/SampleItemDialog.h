#pragma once

#include "layer/LayerDialogs.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Edit Sample List Item": a sample entry's name, path (chosen with "Browse"), level and settings.
// OK checks the level's range and keeps the dialog open while it is outside.
class CSampleItemDialog : public QDialog {
    Q_OBJECT
public:
    CSampleItemDialog(const SampleItemValues& initial, QWidget* parent = nullptr);

    SampleItemValues Values() const { return m_values; }
    QLineEdit* NameBox() const { return m_pName; }
    QLineEdit* PathBox() const { return m_pPath; }
    QLineEdit* LevelBox() const { return m_pLevel; }
    QCheckBox* FixedPitchBox() const { return m_pFixedPitch; }
    QCheckBox* IgnoreKeyUpBox() const { return m_pIgnoreKeyUp; }
    QPushButton* BrowseButton() const { return m_pBrowse; }

public slots:
    void accept() override;

private:
    void Browse();
    void ShowValues();
    // The controls' contents, except the level, which only OK checks.
    void TakeControls();

    QCheckBox* m_pFixedPitch;
    QLineEdit* m_pName;
    QLineEdit* m_pPath;
    QPushButton* m_pBrowse;
    QLineEdit* m_pLevel;
    QCheckBox* m_pIgnoreKeyUp;
    SampleItemValues m_values;
};
