#pragma once

#include "sample/SynthesizeDialog.h"

#include <QDialog>

class CBreakpointGraph;
class QLineEdit;
class QRadioButton;

// "Synthesize": replace or add, the length in milliseconds or cycles, the pitch as a note or a
// frequency, the wave's function, and the amplitude curve drawn on a graph. The length and its
// units are enabled only for replacing. OK checks the length and the frequency as the dialog
// framework does and stays open with the message shown when one fails.
class CSynthesizeDialog : public QDialog {
    Q_OBJECT
public:
    CSynthesizeDialog(const SynthesizeValues& initial, QWidget* parent = nullptr);

    SynthesizeValues Values() const { return m_values; }

    QRadioButton* ReplaceButton() const { return m_pReplace; }
    QRadioButton* AddButton() const { return m_pAdd; }
    QLineEdit* LengthField() const { return m_pLength; }
    QRadioButton* MsecsButton() const { return m_pMsecs; }
    QRadioButton* CyclesButton() const { return m_pCycles; }
    QRadioButton* NoteButton() const { return m_pNote; }
    QRadioButton* FrequencyButton() const { return m_pFrequency; }
    QLineEdit* NoteField() const { return m_pNoteText; }
    QLineEdit* FrequencyField() const { return m_pFrequencyText; }
    QRadioButton* SineButton() const { return m_pSine; }
    QRadioButton* SquareButton() const { return m_pSquare; }
    QRadioButton* TriangleButton() const { return m_pTriangle; }
    CBreakpointGraph* Graph() const { return m_pGraph; }

public slots:
    void accept() override;

private:
    void EnableLength(bool enable);

    SynthesizeValues m_values;
    QRadioButton* m_pReplace;
    QRadioButton* m_pAdd;
    QLineEdit* m_pLength;
    QRadioButton* m_pMsecs;
    QRadioButton* m_pCycles;
    QRadioButton* m_pNote;
    QRadioButton* m_pFrequency;
    QLineEdit* m_pNoteText;
    QLineEdit* m_pFrequencyText;
    QRadioButton* m_pSine;
    QRadioButton* m_pSquare;
    QRadioButton* m_pTriangle;
    CBreakpointGraph* m_pGraph;
};
