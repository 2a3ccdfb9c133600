// The Help menu: every item shows its topic in the help window with all of its text visible,
// the height follows the text at any width (a narrow window too), and the help and About
// windows store their geometry when closed.
#include <QAction>

#include "UiTestSupport.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

frmHelp* showTopic(Bench& b, const char* item) {
    b.w->findChild<QAction*>(item)->trigger();
    QCoreApplication::processEvents();
    return b.w->findChild<frmHelp*>("frmHelp");
}

// Paragraphs shown; each label holds its whole wrapped text, under the one before and inside the window.
int checkParagraphs(const frmHelp* h) {
    int shown = 0, bottom = h->Label0->geometry().bottom();
    for (int k = 1; k <= 8; ++k) {
        const QLabel* l = h->Label1[k];
        if (!l->isVisibleTo(h)) continue;
        ++shown;
        if (l->height() < l->heightForWidth(l->width()) || l->y() <= bottom || l->geometry().bottom() >= h->height())
            return -k;
        bottom = l->geometry().bottom();
    }
    return shown;
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void topicsShowAllTheirText();
    void narrowWindowAndStoredGeometry();
};

void HelpTest::topicsShowAllTheirText() {
    Bench b;
    const struct { const char* item; const char* title; int paras; } topics[] = {
        {"mIntro", "Help - Introduction", 5}, {"m1Help", "Help - 1. Fits file, Standard", 2},
        {"m2Help", "Help - 2. Resample", 1}, {"m3Help", "Help - 3. Design Matrix", 1},
        {"m4Help", "Help - 4. Singular Value Decomposition", 4}, {"m5Help", "Help - 5. Fits File, Program", 2},
        {"m6Help", "Help - 6. Find Broadening Function", 4}, {"mIntro", "Help - Introduction", 5},
    };
    int introHeight = 0;
    for (const auto& t : topics) {
        frmHelp* h = showTopic(b, t.item);
        QVERIFY(h && h->isVisible() && h->windowTitle() == "Help");
        QCOMPARE(h->Label0->text(), QString(t.title));
        QCOMPARE(checkParagraphs(h), t.paras);
        QCOMPARE(h->nParas, t.paras);
        QCOMPARE(h->ParaLen[t.paras], int(h->Label1[t.paras]->text().size()));
        for (int k = 1; k <= t.paras; ++k)   // sentences are joined by two blanks
            QVERIFY2(!h->Label1[k]->text().contains(QRegularExpression("\\. \\S")), t.item);
        if (!introHeight) introHeight = h->height();
        QVERIFY(t.paras == 5 ? h->height() == introHeight : h->height() < introHeight);   // the height follows
    }
    QCOMPARE(b.w->findChildren<frmHelp*>().size(), 1);   // one window, refilled
}

void HelpTest::narrowWindowAndStoredGeometry() {
    Bench b;
    frmHelp* h = showTopic(b, "m6Help");
    const int wide = h->height();
    h->resize(1, 5000);   // narrower than the minimum, and a height set by hand
    QTRY_VERIFY(h->width() == h->minimumWidth() && h->height() > wide);
    QCOMPARE(checkParagraphs(h), 4);
    QCOMPARE(b.s->geom.frmHelp.Width, h->frameGeometry().width() * kTwipsPerPixel);   // stored at the resize
    QCOMPARE(b.s->geom.frmHelp.Height, h->frameGeometry().height() * kTwipsPerPixel);
    showTopic(b, "mIntro");   // a long text in a narrow window stays within the screen
    QVERIFY(h->frameGeometry().height() <= h->screen()->availableGeometry().height());
    h->move(45, 60);
    b.w->findChild<QAction*>("mAbout")->trigger();
    auto* a = b.w->findChild<frmAbout*>("frmAbout");
    QVERIFY(a && a->isVisible() && a->windowTitle() == "About" && a->Label[0]->text() == "Tessan");
    a->move(90, 30);
    QCoreApplication::processEvents();
    const WinRect want = recordTwips(h->frameGeometry());
    b.w->close();   // unload closes both, each storing its geometry
    const WinRect r = b.s->geom.frmHelp;
    QCOMPARE(QList<int>({r.Left, r.Top, r.Width, r.Height}), QList<int>({want.Left, want.Top, want.Width, want.Height}));
    QCOMPARE(QPoint(b.s->geom.frmAbout.Left, b.s->geom.frmAbout.Top), QPoint(90 * 15, 30 * 15));
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
