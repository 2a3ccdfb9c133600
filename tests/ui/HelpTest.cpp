// The Help menu: each item shows its topic with all of its text visible, the height follows the
// text (a narrow window too), and unload stores the help and About windows' geometry.
#include "UiTestSupport.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"

using namespace tessan::ui;

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void topicsFitTheirText();
};

void HelpTest::topicsFitTheirText() {
    test::Bench b;
    auto open = [&](const char* item) {
        return b.w->findChild<QAction*>(item)->trigger(), QCoreApplication::processEvents(), b.w->findChild<frmHelp*>();
    };
    // Paragraphs shown, each with its whole wrapped text, under the one before, inside the window
    // and its sentences joined by two blanks; -k for the first paragraph k that is not.
    auto shown = [](const frmHelp* h) {
        int k = 1, bottom = h->Label0->geometry().bottom();
        for (; k <= 8 && h->Label1[k]->isVisibleTo(h); bottom = h->Label1[k++]->geometry().bottom()) {
            const QLabel* l = h->Label1[k];
            if (l->height() < l->heightForWidth(l->width()) || l->y() <= bottom || l->geometry().bottom() >= h->height() ||
                l->text().contains(QRegularExpression("\\. \\S")))
                return -k;
        }
        return k - 1;
    };
    const struct { const char* item; const char* title; int paras; } topics[] = {
        {"mIntro", "Help - Introduction", 5}, {"m1Help", "Help - 1. Fits file, Standard", 2}, {"m2Help", "Help - 2. Resample", 1},
        {"m3Help", "Help - 3. Design Matrix", 1}, {"m4Help", "Help - 4. Singular Value Decomposition", 4},
        {"m5Help", "Help - 5. Fits File, Program", 2}, {"m6Help", "Help - 6. Find Broadening Function", 4}, {"mIntro", "Help - Introduction", 5}};
    const int introHeight = open("mIntro")->height();
    for (const auto& t : topics) {
        frmHelp* h = open(t.item);
        QVERIFY(h->isVisible() && h->windowTitle() == "Help" && h->Label0->text() == t.title);
        QCOMPARE(shown(h), t.paras);
        QVERIFY(t.paras == 5 ? h->height() == introHeight : h->height() < introHeight);
    }
    frmHelp* h = open("m6Help");
    const int wide = h->height();
    h->resize(1, 5000);   // narrower than the minimum, and a height set by hand
    QTRY_VERIFY(h->width() == h->minimumWidth() && h->height() > wide);
    QCOMPARE(shown(h), 4);
    QCOMPARE(QSize(b.s->geom.frmHelp.Width, b.s->geom.frmHelp.Height), h->frameGeometry().size() * 15);
    QVERIFY(open("mIntro")->frameGeometry().height() <= h->screen()->availableGeometry().height());
    h->move(45, 60);
    auto* a = (b.w->findChild<QAction*>("mAbout")->trigger(), b.w->findChild<frmAbout*>());
    QVERIFY(a->isVisible() && a->windowTitle() == "About" && a->Label[0]->text() == "Tessan");
    a->move(90, 30);
    QCoreApplication::processEvents();
    const auto want = recordTwips(h->frameGeometry());
    b.w->close();   // unload closes both, each storing its geometry
    const auto r = b.s->geom.frmHelp;
    QCOMPARE(QList<int>({r.Left, r.Top, r.Width, r.Height}), QList<int>({want.Left, want.Top, want.Width, want.Height}));
    QCOMPARE(QPoint(b.s->geom.frmAbout.Left, b.s->geom.frmAbout.Top), QPoint(1350, 450));
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
