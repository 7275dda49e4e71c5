#pragma once

#include <QDialog>

class CSampleDoc;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

// "Set Pitch": the sample's pitch as note, octave and cents on three sliders, the "Compensate"
// flag and the loop's pitch offset. Modeless: each slider move sets the pitch at once.
class CSetPitchDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSetPitchDialog(QWidget* parent = nullptr);

    // Points the dialog at a document (or none) and refreshes it.
    void SetDocument(CSampleDoc* doc);
    CSampleDoc* Document() const { return m_pDoc; }
    // Loads the controls from the document's pitch, flag and loop.
    void Refresh();

    QSlider* NoteSlider() const { return m_pNote; }
    QSlider* OctaveSlider() const { return m_pOctave; }
    QSlider* CentsSlider() const { return m_pCents; }
    QLineEdit* NoteEdit() const { return m_pNoteEdit; }
    QLineEdit* OctaveEdit() const { return m_pOctaveEdit; }
    QLineEdit* CentsEdit() const { return m_pCentsEdit; }
    QCheckBox* CompensateBox() const { return m_pCompensate; }
    QLabel* LoopText() const { return m_pLoopText; }

private:
    void OnSliderMoved();
    void OnCompensate();
    void ShowValues(int octave, int note, int cents);

    CSampleDoc* m_pDoc = nullptr;
    QSlider* m_pNote;
    QSlider* m_pOctave;
    QSlider* m_pCents;
    QLineEdit* m_pNoteEdit;
    QLineEdit* m_pOctaveEdit;
    QLineEdit* m_pCentsEdit;
    QCheckBox* m_pCompensate;
    QLabel* m_pLoopText;
};
