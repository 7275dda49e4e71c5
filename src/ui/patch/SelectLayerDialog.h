#pragma once

#include "patch/SelectLayerValues.h"

#include <QDialog>

class QListWidget;

// "Select Layer": the library's layers in sorted order; a double click is OK.
class CSelectLayerDialog : public QDialog {
    Q_OBJECT
public:
    CSelectLayerDialog(const SelectLayerValues& initial, QWidget* parent = nullptr);

    SelectLayerValues Values() const { return m_values; }
    QListWidget* List() const { return m_pList; }

public slots:
    void accept() override;

private:
    QListWidget* m_pList;
    SelectLayerValues m_values;
};
