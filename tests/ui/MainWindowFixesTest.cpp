// The main window and its dialogs in situations that once went wrong. Plain checks on the
// offscreen platform: each case prints the condition that failed, and the exit status is the
// number of failures.
#include <QApplication>
#include <QPointer>
#include <QtTest>
#include <cstdio>

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    dialogReopenedRightAfterItsCloseBox();
    if (failures == 0) std::puts("all passed");
    return failures == 0 ? 0 : 1;
}
