// The workbench's Platform shows a real modal box: titled with the application's name, one OK
// button, the text unchanged. A timer reads the box and presses OK so the test never blocks.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "ui/QtPlatform.h"

class QtPlatformTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxIsModalWithOkOnly() {
        tessan::ui::QtPlatform p;
        QString title, text;
        int buttons = -1;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            buttons = int(box->buttons().size());
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        p.MsgBox("Please select a file to load.");
        QCOMPARE(title, QString("Tessan"));
        QCOMPARE(text, QString("Please select a file to load."));
        QCOMPARE(buttons, 1);
        QVERIFY(modal);
        QCOMPARE(QString::fromStdString(p.WorkDir().string()), QDir::currentPath());   // where the settings go
    }
};

QTEST_MAIN(QtPlatformTest)
#include "QtPlatformTest.moc"
