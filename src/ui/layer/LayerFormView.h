#pragma once

#include "docview/Document.h"
#include "ui/layer/LayerFormModel.h"

#include <QWidget>

class CKeyboardView;
class CLayerDoc;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The layer editor's one view: the keyboard over the Samples, Layers and Cache groups. It shows
// what its model holds and hands every input to it.
class CLayerFormView : public QWidget, public CView {
    Q_OBJECT
public:
    explicit CLayerFormView(CLayerDoc& doc, QWidget* parent = nullptr);
    ~CLayerFormView() override;

    void OnUpdate(CView* sender, long hint) override;
    CLayerFormModel& Model() { return m_model; }
    const CLayerFormModel& Model() const { return m_model; }

    CKeyboardView* Keyboard() const { return m_pKeyboard; }
    QListWidget* SamplesList() const { return m_pSamples; }
    QListWidget* LayersList() const { return m_pLayers; }
    QLabel* NameField() const { return m_pNameField; }
    QLabel* CacheField() const { return m_pCacheField; }
    QLineEdit* LevelBox() const { return m_pLevel; }
    QLineEdit* TransposeBox() const { return m_pTranspose; }
    QLineEdit* CommentBox() const { return m_pComment; }
    QCheckBox* IgnoreKeyUpBox() const { return m_pIgnoreKeyUp; }
    // A button of a group ("Samples", "Layers", "Cache") by its text.
    QPushButton* Button(const QString& group, const QString& text) const;

    // Everything shown again from the model.
    void Show();

private:
    QWidget* BuildSamplesGroup();
    QWidget* BuildLayersGroup();
    QWidget* BuildCacheGroup();
    QPushButton* AddButton(QWidget* group, const QString& text, void (CLayerFormModel::*handler)());
    void BoxesEdited();

    CLayerDoc& m_doc;
    CLayerFormModel m_model;
    CKeyboardView* m_pKeyboard;
    QListWidget* m_pSamples = nullptr;
    QListWidget* m_pLayers = nullptr;
    QLabel* m_pNameField = nullptr;
    QLabel* m_pCacheField = nullptr;
    QLineEdit* m_pLevel = nullptr;
    QLineEdit* m_pTranspose = nullptr;
    QLineEdit* m_pComment = nullptr;
    QCheckBox* m_pIgnoreKeyUp = nullptr;
    QPushButton* m_pReset = nullptr;
};
