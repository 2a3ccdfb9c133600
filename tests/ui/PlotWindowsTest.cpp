// The spectrum, singular-value and CCF windows: the main window's buttons open and draw them,
// a CCF click measures the velocity the batch driver measures, a resize draws anew for the new
// size, and the main window's unload stores their geometry.
#include <QLabel>
#include <QMenuBar>
#include <sstream>

#include "UiTestSupport.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ConsolePlatform.h"
#include "text/NumText.h"
#include "ui/frmPlotData_CC.h"
#include "ui/frmPlot_Spectr.h"
#include "ui/frmPlotdata_ww.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

// Steps 1 to 6 with a span of 31 on the spectra of the bench's data directory, returned.
QString runSteps(Bench& b) {
    b.standardSteps("std.fts", "31");
    b.runDialog(2, "frmLoadPro", "pro.fts");
    b.button(16)->click();
    return b.dir;
}

// The CCF velocity of the batch driver for the same files and span (its last column).
QString batchCcfVelocity(const Bench& b, const QString& dir) {
    std::ostringstream out, err;
    batch::ConsolePlatform p(err, b.p.WorkDir() / "batch");
    const std::string d = dir.toStdString();
    const auto parsed = batch::ParseArgs({"--std", d + "/std.fts", "--span", "31", "--ccf", "450", "--prog", d + "/pro.fts"});
    if (parsed.kind != batch::ParseResult::Run || batch::RunBatch(parsed.options, p, out) != 0) return {};
    return QString::fromStdString(out.str()).trimmed().split('\n').last().split('\t').last();
}

// The pixel of the frame at twips (x, y).
QPoint at(double x, double y) { return {int(x / kTwipsPerPixel), int(y / kTwipsPerPixel)}; }

// A mouse move without a button (the offscreen platform has no cursor to move).
void moveTo(QWidget* w, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class PlotWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsOpenAndDrawTheWindows();
    void ccfClickMeasuresAsTheBatchDriver();
    void resizeDrawsAnewAndUnloadStoresGeometry();
};

void PlotWindowsTest::buttonsOpenAndDrawTheWindows() {
    Bench b;
    runSteps(b);
    struct Case { int button; const char* window; const char* file; };
    for (const Case& c : {Case{10, "frmPlotdata_ww", "std.fts"}, {14, "frmPlot_Spectr_Std", "std.fts"},
                          {15, "frmPlot_Spectr_Pro", "pro.fts"}, {17, "frmPlotData_CC", "std.fts"}}) {
        QVERIFY(!b.w->findChild<PlotWindow*>(c.window));   // built on first use
        b.button(c.button)->click();
        auto* w = b.w->findChild<PlotWindow*>(c.window);
        QVERIFY2(w && w->isVisible(), c.window);
        QCOMPARE(w->frame()->groups().size(), 3u);
        QVERIFY(!w->frame()->groups()[1].ops.empty());
        QCOMPARE(w->findChild<QLabel*>(c.button == 17 ? "Label10" : "Label12")->toolTip(), QString(c.file));
        b.button(c.button)->click();                        // again: drawn anew, not over
        QCOMPARE(w->frame()->groups().size(), 3u);
    }
    QCOMPARE(b.w->findChild<frmPlotdata_ww*>()->label(2)->text(), QString(" 30"));   // orders 1..31
    // Print is announced as not yet available; Exit hides the window.
    auto* pro = b.w->findChild<PlotWindow*>("frmPlot_Spectr_Pro");
    pro->findChild<QAction*>("Print")->trigger();
    QCOMPARE(b.p.messages.back(), std::string("Printing is not available yet."));
    auto* ww = b.w->findChild<PlotWindow*>("frmPlotdata_ww");
    ww->findChild<QAction*>("mExit")->trigger();
    QVERIFY(!ww->isVisible());
    b.button(10)->click();
    QVERIFY(ww->isVisible() && b.w->findChild<PlotWindow*>("frmPlotdata_ww") == ww);
}

void PlotWindowsTest::ccfClickMeasuresAsTheBatchDriver() {
    Bench b;
    const QString dir = runSteps(b);
    b.button(17)->click();
    auto* w = b.w->findChild<frmPlotData_CC*>();
    const plot::FrameRecord f = w->frame()->record();
    const AnalysisState& s = *b.s;
    const int N = s.ccN;
    int best = -N;
    for (int i = -N; i <= N; ++i)
        if (s.cc(i) > s.cc(best)) best = i;
    const QPoint peak = at(f.Left + (best + N) * double(f.PW()) / (2 * N), (f.Top + f.Bottom) / 2.0);

    // The readout inside the frame, nothing new outside it.
    moveTo(w->frame(), peak);
    QCOMPARE(w->Label16->text(), QString::fromStdString(Num_to_str(s.CursorVel, 8, 1)));
    QCOMPARE(w->frame()->cursor().shape(), Qt::CrossCursor);
    moveTo(w->frame(), at(f.Right + 15, f.Top + 300));
    QCOMPARE(w->frame()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(w->Label16->text(), QString::fromStdString(Num_to_str(s.CursorVel, 8, 1)));

    QTest::mouseClick(w->frame(), Qt::LeftButton, {}, peak);
    const QString batch = batchCcfVelocity(b, dir);
    QVERIFY2(batch.toDouble() < -50 && batch.toDouble() > -70, qPrintable(batch));
    QCOMPARE(w->Label19->text(), QString::fromStdString(DefaultText(batch.toDouble())).left(7));
    QTest::mouseClick(w->frame(), Qt::RightButton, {}, at(f.Left + 10, f.Top + 10));   // too near -N: nothing
    QTest::mouseClick(w->frame(), Qt::RightButton, {}, at(f.Left - 30, f.Top + 10));   // outside the frame
    QCOMPARE(w->Label20->text(), QString());
    QTest::mouseClick(w->frame(), Qt::RightButton, {}, peak);
    QCOMPARE(w->Text3->text(), w->Label19->text() + ", " + w->Label19->text());
}

void PlotWindowsTest::resizeDrawsAnewAndUnloadStoresGeometry() {
    Bench b;
    runSteps(b);
    b.button(14)->click();
    auto* w = b.w->findChild<frmPlot_Spectr*>("frmPlot_Spectr_Std");
    w->resize(700, 420);
    const QSize outer = w->outerTwips();   // the platform's frame included
    QCOMPARE(w->frame()->record().Right, outer.width() - 415);
    QCOMPARE(w->frame()->record().Bottom, outer.height() - 1850);
    QCOMPARE(w->frame()->groups()[1].ops.back().x2, double(w->frame()->record().Right));   // the last pixel
    QCOMPARE(w->Label5->y(), (outer.height() - 1300) / kTwipsPerPixel);
    QCOMPARE(b.s->geom.frmPlot_Spectr_Std.Width, outer.width());   // stored at the resize
    w->frame()->ReplaceGroup({"data", {}});   // one group replaced where it stands, the others kept
    QVERIFY(w->frame()->groups().size() == 3 && w->frame()->groups()[1].ops.empty() && w->frame()->groups()[2].name == "grid");
    w->move(40, 60);   // stored only by the close
    const WinRect want = recordTwips(w->frameGeometry());
    b.w->close();   // the main window's unload closes the plot windows first
    const WinRect r = b.s->geom.frmPlot_Spectr_Std;
    QCOMPARE(QList<int>({r.Left, r.Top, r.Width, r.Height}), QList<int>({want.Left, want.Top, want.Width, want.Height}));
}

QTEST_MAIN(PlotWindowsTest)
#include "PlotWindowsTest.moc"
