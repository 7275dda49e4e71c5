#pragma once

#include <QDialog>

class CSampleDoc;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

// "Set Pitch": the sample's pitch as note, octave and cents on three sliders, the "Compensate"
// flag and the loop's pitch offset. Modeless: each slider move sets the pitch at once. The note,
// octave and cents may also be typed in the boxes below the sliders, and a pitch in Hz in its own
// box; a typed value outside the sliders' reach is refused with a message and the box shows the
// pitch as it stands.
class CSetPitchDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSetPitchDialog(QWidget* parent = nullptr);
    ~CSetPitchDialog() override;

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
    QLineEdit* HzEdit() const { return m_pHzEdit; }
    QCheckBox* CompensateBox() const { return m_pCompensate; }
    QLabel* LoopText() const { return m_pLoopText; }

private:
    void OnSliderMoved();
    void OnCompensate();
    void ShowValues(int octave, int note, int cents);
    void OnPartTyped(QLineEdit* edit);
    void OnHzTyped();

    CSampleDoc* m_pDoc = nullptr;
    QSlider* m_pNote;
    QSlider* m_pOctave;
    QSlider* m_pCents;
    QLineEdit* m_pNoteEdit;
    QLineEdit* m_pOctaveEdit;
    QLineEdit* m_pCentsEdit;
    QLineEdit* m_pHzEdit;
    QCheckBox* m_pCompensate;
    QLabel* m_pLoopText;
};
