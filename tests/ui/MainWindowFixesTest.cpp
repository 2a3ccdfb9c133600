// The main window and its dialogs in situations that once went wrong. Plain checks on the
// offscreen platform: each case prints the condition that failed, and the exit status is the
// number of failures.
#include <QApplication>
#include <QPointer>
#include <QtTest>
#include <cstdio>
#include <fstream>
#include <functional>
#include <utility>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

int failures = 0;
#define CHECK(cond)                                                          \
    do {                                                                     \
        if (!(cond)) {                                                       \
            ++failures;                                                      \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                    \
    } while (0)

// Runs the event loop until cond holds or a second has passed.
template <class F>
bool eventually(F cond) {
    for (int i = 0; i < 100 && !cond(); ++i) QTest::qWait(10);
    return cond();
}

// "Load Model" again before the event loop has destroyed the window that the close box closed:
// the dialog shown is a new one, at the stored place and in the working directory, and it stays.
void dialogReopenedRightAfterItsCloseBox() {
    Bench b;
    b.c<QPushButton>("Command19")->click();
    QPointer<FileDialog> first = b.w->dialog(DialogKind::LoadModel);
    CHECK(first->isVisible());
    first->setDirectory(b.dataDir());
    first->move(40, 60);
    first->close();
    CHECK(b.s->geom.frmLoad_model.Left == 600);
    CHECK(b.s->geom.frmLoad_model.Top == 900);

    b.c<QPushButton>("Command19")->click();
    CHECK(eventually([&] { return first.isNull(); }));
    FileDialog* again = b.w->dialog(DialogKind::LoadModel);
    CHECK(again->isVisible());
    CHECK(again->directory() == QDir::toNativeSeparators(QDir::currentPath()));
    CHECK(again->pos() == QPoint(40, 60));
    CHECK(b.w->findChildren<FileDialog*>("frmLoad_model").size() == 1);
}

// A key that the name box or the file list passes on, after typing or clicking a
// name in the standard's dialog keeps that name, which OK then loads; a key that reaches the
// window from elsewhere still proposes the first file.
void keyInNameBoxKeepsTypedName() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    b.c<QPushButton>("Command1")->click();
    FileDialog* d = b.w->dialog(DialogKind::LoadStd);
    d->setDirectory(dir);
    CHECK(d->Text1->text() == "pro.fts");
    d->activateWindow();
    CHECK(QTest::qWaitForWindowActive(d));
    d->Text1->setFocus();
    CHECK(d->Text1->hasFocus());
    d->Text1->setText("std.fts");
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(d->Text1, key);
        CHECK(d->Text1->text() == "std.fts");
    }
    // A file clicked in the list, then Return or Shift there: the clicked file stays.
    QListWidgetItem* item = d->File1->findItems("std.fts", Qt::MatchExactly).value(0);
    CHECK(item);
    QTest::mouseClick(d->File1->viewport(), Qt::LeftButton, {}, d->File1->visualItemRect(item).center());
    d->File1->setFocus();
    CHECK(d->File1->hasFocus());
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_F5}) {
        QTest::keyClick(d->File1, key);
        CHECK(d->Text1->text() == "std.fts");
    }
    d->Combo1->setFocus();
    QTest::keyClick(d->Combo1, Qt::Key_F5);
    CHECK(d->Text1->text() == "pro.fts");

    d->Text1->setText("std.fts");
    d->Text1->setFocus();
    QTest::keyClick(d->Text1, Qt::Key_Return);
    d->Command1->click();
    CHECK(b.c<QLabel>("Label4")->text() == "std.fts");
    CHECK(b.s->StdFileName == "std.fts");
}

// A Platform whose message box is the moment at which the main window is closed from the
// program (a session ending closes every window so).
struct ClosingPlatform : tessan::test::RecordingPlatform {
    std::function<void()> onMessage;
    void MsgBox(const std::string& text) override {
        RecordingPlatform::MsgBox(text);
        if (onMessage) std::exchange(onMessage, nullptr)();
    }
};

// The main window unloaded while a failed read shows its message: the follow-up that runs when
// the message is closed builds no dialog again, and every dialog is gone.
void unloadDuringReadMessageBuildsNoDialog() {
    ClosingPlatform p;
    auto s = std::make_unique<AnalysisState>();
    auto w = std::make_unique<frmMain>(*s, p);
    w->show();
    const auto dir = p.WorkDir() / "data";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "bad.fts", std::ios::binary) << "NOT A FITS FILE";
    w->centralWidget()->findChild<QPushButton*>("Command1")->click();
    FileDialog* d = w->dialog(DialogKind::LoadStd);
    d->setDirectory(QString::fromStdString(dir.string()));
    d->Text1->setText("bad.fts");
    p.onMessage = [&] { w->close(); };
    d->Command1->click();
    CHECK(p.messages.size() == 1);
    CHECK(std::filesystem::exists(p.WorkDir() / "Tessan6.ini"));
    CHECK(eventually([&] { return w->findChildren<FileDialog*>().isEmpty(); }));
    QTest::qWait(20);
    CHECK(w->findChildren<FileDialog*>().isEmpty());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dialogReopenedRightAfterItsCloseBox();
    keyInNameBoxKeepsTypedName();
    unloadDuringReadMessageBuildsNoDialog();
    if (failures == 0) std::puts("all passed");
    return failures == 0 ? 0 : 1;
}
