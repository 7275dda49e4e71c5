#pragma once

#include "layer/LayerDialogs.h"

#include <QDialog>

class QLineEdit;

// "Save Layer As": the name to store the layer under; any text is taken.
class CSaveLayerAsDialog : public QDialog {
    Q_OBJECT
public:
    CSaveLayerAsDialog(const LayerNameValues& initial, QWidget* parent = nullptr);

    LayerNameValues Values() const;
    QLineEdit* NameBox() const { return m_pName; }

private:
    QLineEdit* m_pName;
};
