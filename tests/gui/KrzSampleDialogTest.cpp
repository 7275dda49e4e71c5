#include "ui/wave/KrzSampleDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class KrzSampleDialogTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheEntriesInTheFilesOrder() {
        CKrzSampleDialog dialog{{{"Zither (pitch C 4, rate 44099)", "Alto (pitch A 4, rate 32000)"}, 0}};
        QCOMPARE(dialog.windowTitle(), QString("Kurzweil file: available samples"));
        QCOMPARE(dialog.List()->count(), 2);
        QCOMPARE(dialog.List()->item(0)->text(), QString("Zither (pitch C 4, rate 44099)"));
        QCOMPARE(dialog.List()->item(1)->text(), QString("Alto (pitch A 4, rate 32000)"));
        QCOMPARE(dialog.Entered().selected, 0);
        QVERIFY(dialog.OkButton()->isEnabled());
    }

    void theClickedEntryIsReturned() {
        CKrzSampleDialog dialog{{{"One", "Two", "Three"}, 0}};
        dialog.show();
        QListWidget* list = dialog.List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        QCOMPARE(dialog.Entered().selected, 2);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Entered().entries.size(), std::size_t{3});
    }

    void okNeedsAnEntry() {
        CKrzSampleDialog empty{{{}, -1}};
        QVERIFY(!empty.OkButton()->isEnabled());
        QCOMPARE(empty.Entered().selected, -1);

        CKrzSampleDialog none{{{"One"}, -1}};
        QVERIFY(!none.OkButton()->isEnabled());
        none.List()->setCurrentRow(0);
        QVERIFY(none.OkButton()->isEnabled());
        none.List()->clearSelection();
        QVERIFY(!none.OkButton()->isEnabled());
    }
};

QTEST_MAIN(KrzSampleDialogTest)
#include "KrzSampleDialogTest.moc"
