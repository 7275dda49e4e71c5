#pragma once

#include "sample/KrzDialogs.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// "Kurzweil file: available samples": the samples of a Kurzweil file in the file's order. OK is
// possible only with an entry chosen.
class CKrzSampleDialog : public QDialog {
    Q_OBJECT
public:
    CKrzSampleDialog(const KrzSampleChoice& list, QWidget* parent = nullptr);

    KrzSampleChoice Values() const;
    QListWidget* List() const { return m_pList; }
    QPushButton* OkButton() const { return m_pOk; }

private:
    void UpdateOk();

    KrzSampleChoice m_list;
    QListWidget* m_pList;
    QPushButton* m_pOk;
};
