#include "ui/wave/KrzSampleDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class KrzSampleDialogTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheEntriesInTheFilesOrderAndReturnsTheOneClicked() {
        CKrzSampleDialog dialog{
            {{"Zither (pitch C 4, rate 44099)", "Alto (pitch A 4, rate 32000)", "Bass"}, 0}};
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Kurzweil file: available samples"));
        QListWidget* list = dialog.List();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QString("Zither (pitch C 4, rate 44099)"));
        QCOMPARE(list->item(2)->text(), QString("Bass"));
        QCOMPARE(dialog.Values().selected, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().selected, 2);
    }

    void okNeedsAnEntry() {
        CKrzSampleDialog empty{{{}, -1}};
        QVERIFY(!empty.OkButton()->isEnabled());
        CKrzSampleDialog none{{{"One"}, -1}};
        QVERIFY(!none.OkButton()->isEnabled());
        none.List()->setCurrentRow(0);
        QVERIFY(none.OkButton()->isEnabled());
        none.List()->clearSelection();
        QVERIFY(!none.OkButton()->isEnabled());
        QCOMPARE(none.Values().selected, -1);
    }
};

QTEST_MAIN(KrzSampleDialogTest)
#include "KrzSampleDialogTest.moc"
