// The main window and its dialogs in situations that once went wrong.
#include <QPointer>
#include <functional>
#include <utility>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

// A Platform whose message box is the moment at which the main window is closed from the
// program (a session ending closes every window so).
struct ClosingPlatform : tessan::test::RecordingPlatform {
    std::function<void()> onMessage;
    void MsgBox(const std::string& text) override {
        RecordingPlatform::MsgBox(text);
        if (onMessage) std::exchange(onMessage, nullptr)();
    }
};

}  // namespace

class MainWindowFixesTest : public QObject {
    Q_OBJECT
private slots:
    void dialogReopenedRightAfterItsCloseBox();
    void keyInNameBoxKeepsTypedName();
    void unloadDuringReadMessageBuildsNoDialog();
};

// "Load Model" again before the event loop has destroyed the window that the close box closed:
// the dialog shown is a new one, at the stored place and in the working directory, and it stays.
void MainWindowFixesTest::dialogReopenedRightAfterItsCloseBox() {
    Bench b;
    b.button(19)->click();
    QPointer<FileDialog> first = b.w->dialog(DialogKind::LoadModel);
    QVERIFY(first->isVisible());
    first->setDirectory(b.dataDir());
    first->move(40, 60);
    first->close();
    QCOMPARE(b.s->geom.frmLoad_model.Left, 600);
    QCOMPARE(b.s->geom.frmLoad_model.Top, 900);

    b.button(19)->click();
    QTRY_VERIFY(first.isNull());
    FileDialog* again = b.w->dialog(DialogKind::LoadModel);
    QVERIFY(again->isVisible());
    QCOMPARE(again->directory(), QDir::toNativeSeparators(QDir::currentPath()));
    QCOMPARE(again->pos(), QPoint(40, 60));
    QCOMPARE(b.w->findChildren<FileDialog*>("frmLoad_model").size(), 1);
}

// A key that the name box or the file list passes on, after typing or clicking a
// name in the standard's dialog keeps that name, which OK then loads; a key that reaches the
// window from elsewhere still proposes the first file.
void MainWindowFixesTest::keyInNameBoxKeepsTypedName() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    b.button(1)->click();
    FileDialog* d = b.w->dialog(DialogKind::LoadStd);
    d->setDirectory(dir);
    QCOMPARE(d->Text1->text(), QString("pro.fts"));
    d->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d));
    d->Text1->setFocus();
    QVERIFY(d->Text1->hasFocus());
    d->Text1->setText("std.fts");
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(d->Text1, key);
        QCOMPARE(d->Text1->text(), QString("std.fts"));
    }
    // A file clicked in the list, then Return or Shift there: the clicked file stays.
    QListWidgetItem* item = d->File1->findItems("std.fts", Qt::MatchExactly).value(0);
    QVERIFY(item);
    QTest::mouseClick(d->File1->viewport(), Qt::LeftButton, {}, d->File1->visualItemRect(item).center());
    d->File1->setFocus();
    QVERIFY(d->File1->hasFocus());
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_F5}) {
        QTest::keyClick(d->File1, key);
        QCOMPARE(d->Text1->text(), QString("std.fts"));
    }
    d->Combo1->setFocus();
    QTest::keyClick(d->Combo1, Qt::Key_F5);
    QCOMPARE(d->Text1->text(), QString("pro.fts"));

    d->Text1->setText("std.fts");
    d->Text1->setFocus();
    QTest::keyClick(d->Text1, Qt::Key_Return);
    d->Command1->click();
    QCOMPARE(b.c<QLabel>("Label4")->text(), QString("std.fts"));
    QCOMPARE(b.s->StdFileName, std::string("std.fts"));
}

// The main window unloaded while a failed read shows its message: the follow-up that runs when
// the message is closed builds no dialog again, and every dialog is gone.
void MainWindowFixesTest::unloadDuringReadMessageBuildsNoDialog() {
    ClosingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    auto w = std::make_unique<frmMain>(*s, p);
    w->show();
    const auto dir = p.WorkDir() / "data";
    std::filesystem::create_directories(dir);
    tessan::test::WriteText(dir / "bad.fts", "NOT A FITS FILE");
    w->centralWidget()->findChild<QPushButton*>("Command1")->click();
    FileDialog* d = w->dialog(DialogKind::LoadStd);
    d->setDirectory(QString::fromStdString(dir.string()));
    d->Text1->setText("bad.fts");
    p.onMessage = [&] { w->close(); };
    d->Command1->click();
    QCOMPARE(p.messages.size(), std::size_t(1));
    QVERIFY(std::filesystem::exists(p.WorkDir() / "Tessan6.ini"));
    QTRY_VERIFY(w->findChildren<FileDialog*>().isEmpty());
    QTest::qWait(20);
    QVERIFY(w->findChildren<FileDialog*>().isEmpty());
}

QTEST_MAIN(MainWindowFixesTest)
#include "MainWindowFixesTest.moc"
