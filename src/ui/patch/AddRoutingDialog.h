#pragma once

#include "ui/patch/AddRoutingDialogModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Add New Routing": a source and a destination, with the controller number or the envelope
// stage when the choice needs one.
class CAddRoutingDialog : public QDialog {
    Q_OBJECT
public:
    CAddRoutingDialog(const AddRoutingValues& initial, QWidget* parent = nullptr);

    AddRoutingValues Values() const { return m_model.Values(); }
    QListWidget* Sources() const { return m_pSources; }
    QListWidget* Destinations() const { return m_pDestinations; }
    QLineEdit* ControllerBox() const { return m_pController; }
    QLineEdit* StageBox() const { return m_pStage; }
    QPushButton* OkButton() const { return m_pOk; }

public slots:
    void accept() override;

private:
    void ShowBoxes();

    CAddRoutingDialogModel m_model;
    QListWidget* m_pSources;
    QListWidget* m_pDestinations;
    QLabel* m_pControllerLabel;
    QLineEdit* m_pController;
    QLabel* m_pStageLabel;
    QLineEdit* m_pStage;
    QPushButton* m_pOk;
};
