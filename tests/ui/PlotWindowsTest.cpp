// The plot windows. On BFs made of known Gaussians (201 points of 3 km/s): the BF window's order,
// smoothing, click and fit rules and every message of its Gauss group. After steps 1 to 7 on the
// binary: the main window's buttons open and draw every plot window, CCF and BF clicks read what
// the batch driver measures, the fit finds both stars, a resize draws anew for the new size and
// the main window's unload stores the geometry.
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <cmath>
#include <sstream>

#include "UiTestSupport.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ConsolePlatform.h"
#include "numeric/Bf.h"
#include "numeric/GaussFit.h"
#include "text/NumText.h"
#include "support/TextFiles.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPlotData_CC.h"
#include "ui/frmPlotData_bb.h"
#include "ui/frmPlotStar.h"
#include "ui/frmPlotdata_ww.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

double gauss(double v, double h, double xo, double w) { return h * std::exp(-std::pow((v - xo) / w, 2)); }

// The pixel of the frame at twips (x, y), and the twips of BF point k as a click counts them.
QPoint at(double x, double y) { return {int(std::lround(x / kTwipsPerPixel)), int(std::lround(y / kTwipsPerPixel))}; }
double clickX(const plot::FrameRecord& f, int span, double k) { return f.Left + (k - 1) * f.PW() / span; }
// A mouse move without a button (the offscreen platform has no cursor to move).
void moveTo(QWidget* w, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
int circles(const PlotFrame* f) {
    int n = 0;
    for (const auto& g : f->groups())
        for (const auto& op : g.ops) n += op.kind == plot::DrawOp::Kind::Circles;
    return n;
}

// BFs of 201 points of 3 km/s: order 1 a peak at point 12, order 2 two Gaussians (the binary the
// fit must find), order n > 2 a peak at point 101 of height n.
struct Window {
    TestPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    WindowRegistry registry{nullptr, WindowFrame::system()};
    Printing printing{p};
    std::unique_ptr<frmPlotData_bb> w;
    Window() {
        FillColours(*s);
        for (int k = 1; k <= 9; ++k) s->FitList(k) = k;
        s->bbIdentity = {201, 100, 3.0, "std.fts", "STD", "pro.fts", "BIN", 1};
        for (int n = 1; n <= 5; ++n)
            for (int i = 1; i <= 201; ++i) {
                const double v = s->bbIdentity.Velocity(i);
                s->bb(i, n) = n == 1 ? gauss(i, 1, 12, 3) : n == 2 ? gauss(v, 0.0183, -201.3, 40) + gauss(v, 0.01, 150.7, 50) : gauss(i, n, 101, 4);
            }
        CopyBfOrder(*s, 2);
        w = std::make_unique<frmPlotData_bb>(*s, p, printing, registry, nullptr);
        w->PlotBfs();
    }
    const plot::FrameRecord& f() const { return w->frame()->record(); }
    void click(Qt::MouseButton b, double k, double y) { QTest::mouseClick(w->frame(), b, {}, at(clickX(f(), 201, k), y)); }
};

// A grey image of img scaled to 48 x 24.
// "Print" of the BF window with no printer, to a PDF file: one page holding the window's client
// area at its physical size (96 pixels per inch at 15 twips per pixel) that looks like the window;
// unwritable targets give their message and leave a file that was there as it was.
void printBfToPdf(Bench& b, frmPlotData_bb* bf) {
    namespace fs = std::filesystem;
    const fs::path dir = b.p.WorkDir() / "print";
    fs::create_directories(dir);
    const std::size_t before = b.p.messages.size();
    b.p.answer = true;
    b.printing.printer().setPageOrientation(QPageLayout::Landscape);   // the window fits the page
    b.pdfFile = QString::fromStdString((dir / "bf.pdf").string());
    bf->findChild<QAction*>("mPrint")->trigger();
    QVERIFY(QProcess::execute("pdftoppm", {"-r", "96", "-png", b.pdfFile, QString::fromStdString((dir / "page").string())}) == 0);
    QVERIFY(fs::exists(dir / "page-1.png") && !fs::exists(dir / "page-2.png"));
    QImage images[] = {QImage(QString::fromStdString((dir / "page-1.png").string())),
                       bf->grab(QRect(0, bf->frame()->y(), bf->width(), bf->height() - bf->frame()->y())).toImage()};
    QRect ink[2];   // what is not white paper, cut out and scaled down to 48 x 24 grey pixels
    for (int k : {0, 1}) {
        for (int y = 0; y < images[k].height(); ++y)
            for (int x = 0; x < images[k].width(); ++x)
                if (qGray(images[k].pixel(x, y)) < 250) ink[k] |= QRect(x, y, 1, 1);
        images[k] = images[k].copy(ink[k]).convertToFormat(QImage::Format_Grayscale8).scaled(48, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    const QSize off = ink[0].size() - ink[1].size();
    QVERIFY2(std::abs(off.width()) <= 2 && std::abs(off.height()) <= 2, qPrintable(QString("%1 %2").arg(off.width()).arg(off.height())));
    long diff = 0;
    for (int i = 0; i < 48 * 24; ++i) diff += std::abs(qGray(images[0].pixel(i % 48, i / 48)) - qGray(images[1].pixel(i % 48, i / 48)));
    QVERIFY2(diff < 48 * 24 * 8, qPrintable(QString::number(diff)));

    fs::create_directories(dir / "taken.pdf");   // a directory where a PDF is asked for
    tessan::test::WriteText(dir / "kept.pdf", "an earlier print");
    fs::permissions(dir / "kept.pdf", fs::perms::owner_read);
    for (const auto& [file, message] : {std::pair{"taken.pdf", " 75 Error 75: Path/file access error."},
                                        {"none/bf.pdf", " 76 Error 76: Path not found."}, {"kept.pdf", " 70 Error 70: Permission denied."}}) {
        b.pdfFile = QString::fromStdString((dir / file).string());
        bf->findChild<QAction*>("mPrint")->trigger();
        QCOMPARE(b.p.messages.back(), std::string(message));
    }
    QCOMPARE(b.p.messages.size(), before + 7);   // four questions, three failures
    QCOMPARE(tessan::test::ReadText(dir / "kept.pdf"), std::string("an earlier print"));
    QVERIFY(!fs::exists(dir / ".kept.pdf.tmp") && !fs::exists(dir / ".bf.pdf.tmp"));
    b.p.answer = false;
}

}  // namespace

class PlotWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void bfOrderSmoothingAndClicks();
    void bfGaussRowsFitAndMessages();
    void stepsOneToSevenOnTheBinary();
    void printerSetupAndPrintMessages();
};

void PlotWindowsTest::bfOrderSmoothingAndClicks() {
    Window b;
    frmPlotData_bb& w = *b.w;
    QCOMPARE(QStringList({w.label(1)->text(), w.Text1->text(), w.label(13)->toolTip()}), QStringList({"-300", " 2", "pro.fts"}));
    QCOMPARE(std::make_pair(w.HScroll1->minimum(), w.HScroll1->maximum()), std::make_pair(1, 201));
    QCOMPARE(w.label(3)->pos(), QPoint(toPixels(int(std::lround(b.f().Left + b.f().PW() / 2.0 - 80))), toPixels(b.f().Bottom + 50)));
    struct Order { const char* typed; int order; const char* shown; };
    for (const Order& o : {Order{"0", 1, " 1"}, {"abc", 1, " 1"}, {"4.4", 4, " 4"}, {"1e9", 201, " 201"}, {"3", 3, " 3"}}) {
        w.Text1->setText(o.typed);
        w.Command1->click();
        QCOMPARE(std::make_tuple(b.s->bbOrder, w.HScroll1->value(), w.Text1->text()), std::make_tuple(o.order, o.order, QString(o.shown)));
    }
    QCOMPARE(b.s->bb_n(101), 3.0);
    w.Text2->clear();   // an empty width smooths with 3.0 and drops the dots; the slider clears it
    w.Command2->click();
    QVERIFY(b.s->Smoothed && w.Text2->text() == "3.0" && circles(w.frame()) == 0);
    w.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(std::make_tuple(b.s->Smoothed, b.s->bbOrder, w.Text1->text(), circles(w.frame())), std::make_tuple(false, 4, QString(" 4"), 200));

    // Centroid clicks: point 9 does nothing, point 10 measures the peak at point 12 (-267 km/s).
    w.HScroll1->setValue(1);
    const double mid = (b.f().Top + b.f().Bottom) / 2.0;
    b.click(Qt::LeftButton, 9, mid);
    QCOMPARE(w.Label19->text(), QString());
    b.click(Qt::LeftButton, 10, mid);
    QVERIFY2(std::fabs(b.s->PeakResult + 267) < 1e-6, qPrintable(QString::number(b.s->PeakResult) + w.Label19->text()));
    const QString peak = QString::fromStdString(LabelText(b.s->PeakResult, 7));
    QCOMPARE(w.Label19->text(), peak);
    moveTo(w.frame(), at(clickX(b.f(), 201, 11), mid));
    const QString readout = w.Label16->text();
    QCOMPARE(readout, QString::fromStdString(Num_to_str(b.s->CursorVel, 8, 1)));
    moveTo(w.frame(), at(b.f().Right + 8, mid));   // the first pixel at or beyond the edge
    moveTo(w.frame(), at(clickX(b.f(), 201, 14), b.f().Bottom + 8));
    QCOMPARE(w.Label16->text(), readout);
    b.click(Qt::RightButton, 14, b.f().Bottom - 8);
    QCOMPARE(w.Text3->text(), peak + ", " + peak);
    w.HScroll1->setValue(2);   // an order change empties both
    QCOMPARE(w.Text3->text(), QString(", "));
}

void PlotWindowsTest::bfGaussRowsFitAndMessages() {
    Window b;
    frmPlotData_bb& w = *b.w;
    AnalysisState& s = *b.s;
    QVERIFY(!w.Command4->isEnabled() && w.Command2->isEnabled());
    w.Option2->click();
    QVERIFY(w.Command4->isEnabled() && !w.Command2->isEnabled() && !w.Text3->isEnabled() && w.Text9->isEnabled());
    QCOMPARE(std::make_pair(foreColour(w.Label19), foreColour(w.Label22)), std::make_pair(QColor(128, 128, 128), QColor(0, 0, 0)));
    w.Combo1->setCurrentIndex(1);
    QVERIFY(w.Text5[2]->isVisibleTo(&w));
    w.Combo1->setCurrentIndex(0);
    QVERIFY(!w.Text5[2]->isVisibleTo(&w));
    w.Combo2->setCurrentIndex(1);
    QVERIFY(!w.Text8->isEnabled() && !w.Text9->isEnabled());
    QCOMPARE(std::make_tuple(s.GaussFitMode, s.bbCombo1Flag, s.bbCombo2Flag), std::make_tuple(true, false, true));
    w.Command5[0]->click();   // "Update 1" and "Update 2" on the initial boxes
    w.Command5[1]->click();
    QVERIFY(w.frame()->groups().back().name == "star2" && s.PeakXo[1] == -210);

    // Box edits on incomplete rows wait silently; then each message in turn.
    s.PeakXo[1] = 7;
    for (const char* t : {"-", "", ".", "e", "-2"}) w.Text5[0]->setText(t);
    QCOMPARE(s.PeakXo[1], -2.0);
    w.Text6[0]->setText("0");
    w.Text5[0]->setText("-5");
    QCOMPARE(s.PeakXo[1], -2.0);
    QVERIFY(b.p.messages.empty());
    struct Msg { std::function<void()> act; const char* message; };
    const Msg msgs[] = {
        {[&] { w.Command5[0]->click(); }, kZeroWidthMessage},
        {[&] { w.Text6[0]->clear(); w.Command5[0]->click(); }, "Hey!  Please put numbers in the boxes"},
        {[&] { w.Command4->click(); }, "Please put numbers in the boxes."},
        {[&] { w.Text6[0]->setText("40"); w.Combo2->setCurrentIndex(0); w.Text8->setText("x"); w.Command4->click(); }, "Factor must be a number."},
    };
    for (const Msg& m : msgs) {
        m.act();
        QCOMPARE(b.p.messages.back(), std::string(m.message));
    }
    QCOMPARE(b.p.messages.size(), std::size(msgs));
}

void PlotWindowsTest::stepsOneToSevenOnTheBinary() {
    Bench b(2000, 12.0);
    b.standardSteps("std.fts", "201");
    b.runDialog(2, "frmLoadPro", "pro.fts");
    b.button(16)->click();
    b.button(11)->click();
    b.c<QLineEdit>("Text4")->setText("100");
    b.button(12)->click();
    auto* bf = b.w->findChild<frmPlotData_bb*>();
    QVERIFY(bf && bf->isVisible() && bf->HScroll1->value() == 100 && bf->Text1->text() == " 100");

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
    QCOMPARE(b.w->findChild<frmPlotdata_ww*>()->label(2)->text(), QString(" 200"));   // orders 1..201
    auto* pro = b.w->findChild<PlotWindow*>("frmPlot_Spectr_Pro");
    pro->findChild<QAction*>("Print")->trigger();   // no printer: says so, offers a PDF file, No
    QCOMPARE(b.p.messages.back().substr(0, 37), std::string("?  68 Error 68: Device unavailable.\n\n"));
    printBfToPdf(b, bf);
    auto* ww = b.w->findChild<PlotWindow*>("frmPlotdata_ww");
    ww->findChild<QAction*>("mExit")->trigger();
    QVERIFY(!ww->isVisible());
    b.button(10)->click();
    QVERIFY(ww->isVisible() && b.w->findChild<PlotWindow*>("frmPlotdata_ww") == ww);

    // The batch driver on the same files: the two BF peaks and the CCF velocity.
    std::ostringstream out, err;
    batch::ConsolePlatform cp(err, b.p.WorkDir() / "batch");
    const std::string d = b.dir.toStdString();
    const auto parsed = batch::ParseArgs({"--std", d + "/std.fts", "--span", "201", "--order", "100", "--peaks", "2",
                                          "--ccf", "450", "--prog", d + "/pro.fts"});
    QVERIFY(parsed.kind == batch::ParseResult::Run && batch::RunBatch(parsed.options, cp, out) == 0);
    const QStringList fields = QString::fromStdString(out.str()).trimmed().split('\n').last().split('\t');
    const double v1 = fields[3].toDouble(), v2 = fields[5].toDouble(), vCcf = fields.last().toDouble();
    QVERIFY2(std::fabs(v1 + 60) < 5 && std::fabs(v2 - 45) < 5 && std::fabs(vCcf + 60) < 10, qPrintable(fields.join(' ')));

    // CCF: the readout inside the frame only, and a click at the peak as the batch driver.
    const AnalysisState& s = *b.s;
    auto* cc = b.w->findChild<frmPlotData_CC*>();
    plot::FrameRecord f = cc->frame()->record();
    const int N = s.ccN;
    int best = -N;
    for (int i = -N; i <= N; ++i)
        if (s.cc(i) > s.cc(best)) best = i;
    const QPoint top = at(f.Left + (best + N) * double(f.PW()) / (2 * N), (f.Top + f.Bottom) / 2.0);
    moveTo(cc->frame(), top);
    QCOMPARE(cc->Label16->text(), QString::fromStdString(Num_to_str(s.CursorVel, 8, 1)));
    QCOMPARE(cc->frame()->cursor().shape(), Qt::CrossCursor);
    moveTo(cc->frame(), at(f.Right + 15, f.Top + 300));
    QCOMPARE(cc->frame()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(cc->Label16->text(), QString::fromStdString(Num_to_str(s.CursorVel, 8, 1)));
    QTest::mouseClick(cc->frame(), Qt::LeftButton, {}, top);
    QCOMPARE(cc->Label19->text(), QString::fromStdString(DefaultText(vCcf)).left(7));
    QTest::mouseClick(cc->frame(), Qt::RightButton, {}, at(f.Left + 10, f.Top + 10));   // too near -N: nothing
    QTest::mouseClick(cc->frame(), Qt::RightButton, {}, at(f.Left - 30, f.Top + 10));   // outside the frame
    QCOMPARE(cc->Label20->text(), QString());
    QTest::mouseClick(cc->frame(), Qt::RightButton, {}, top);
    QCOMPARE(cc->Text3->text(), cc->Label19->text() + ", " + cc->Label19->text());
    // Step 6 again with another half width: the open window shows the new CCF a click measures.
    const double xmin = f.Xmin;
    b.c<QLineEdit>("Text6")->setText("300");
    b.button(16)->click();
    QVERIFY(cc->frame()->record().Xmin > xmin);

    // BF: centroid clicks at the batch driver's velocities, then Gauss clicks at each top and the fit.
    f = bf->frame()->record();
    const int span = ShownBfPoints(s);
    auto k = [&](double v) { return (v - s.vel_bb(1)) / s.bbShown.delV + 1; };
    QTest::mouseClick(bf->frame(), Qt::LeftButton, {}, at(clickX(f, span, k(v1)), f.Top + 200));
    QTest::mouseClick(bf->frame(), Qt::RightButton, {}, at(clickX(f, span, k(v2)), f.Top + 200));
    QCOMPARE(QStringList({bf->Label19->text(), bf->Label20->text()}),
             QStringList({QString::fromStdString(LabelText(v1, 7)), QString::fromStdString(LabelText(v2, 7))}));
    // Step 7 again: the peaks of the earlier BFs go with them at the next drawing.
    b.button(11)->click();
    bf->resize(bf->width() + 15, bf->height());
    QCOMPARE(bf->Text3->text(), QString(", "));
    bf->Option2->click();
    for (QLineEdit* e : {bf->Text6[0], bf->Text6[1]}) e->setText("15");
    for (auto [button, v] : {std::pair{Qt::LeftButton, v1}, std::pair{Qt::RightButton, v2}})
        QTest::mouseClick(bf->frame(), button, {}, at(clickX(f, span, k(v)), f.Y(s.bb_n(int(std::lround(k(v))))) + 20));
    bf->Command4->click();
    const double delV = s.bbShown.delV;
    QVERIFY2(std::fabs(bf->Text5[0]->text().toDouble() + 60) < 0.1 * delV && std::fabs(bf->Text5[1]->text().toDouble() - 45) < 0.1 * delV,
             qPrintable(bf->Text4->text() + " " + QString::number(delV)));
    QCOMPARE(bf->Text4->text(), bf->Text5[0]->text() + ", " + bf->Text5[1]->text());
    QCOMPARE(bf->Text6[0]->text(), QString::fromStdString(PlainText(s.PeakWidth[1])));
    // A model of another span chosen after step 7: the BF shown keeps its velocities.
    b.s->span = 31, b.s->span2 = 15, b.s->delV = 1;
    bf->Command1->click();
    QCOMPARE(std::make_pair(s.vel_bb(1), bf->HScroll1->maximum()), std::make_pair(-100 * delV, 201));
    bf->findChild<QAction*>("mSave_bb")->trigger();
    QVERIFY(b.w->findChild<FileDialog*>("frmSave_bb")->isVisible());

    // A resize draws anew for the new size and stores it; a move is stored by the unload.
    auto* w = b.w->findChild<frmPlot_Spectr*>("frmPlot_Spectr_Std");
    w->resize(700, 420);
    const QSize outer = w->outerTwips();   // the platform's frame included
    QCOMPARE(w->frame()->record().Right, outer.width() - 415);
    QCOMPARE(w->frame()->record().Bottom, outer.height() - 1850);
    QCOMPARE(w->frame()->groups()[1].ops.back().x2, double(w->frame()->record().Right));   // the last pixel
    QCOMPARE(w->Label5->y(), (outer.height() - 1300) / kTwipsPerPixel);
    QCOMPARE(b.s->geom.frmPlot_Spectr_Std.Width, outer.width());
    w->frame()->ReplaceGroup({"data", {}});   // one group replaced where it stands, the others kept
    QVERIFY(w->frame()->groups().size() == 3 && w->frame()->groups()[1].ops.empty() && w->frame()->groups()[2].name == "grid");
    w->move(40, 60);
    const WinRect want = recordTwips(w->frameGeometry());
    b.w->close();
    const WinRect r = b.s->geom.frmPlot_Spectr_Std;
    QCOMPARE(QList<int>({r.Left, r.Top, r.Width, r.Height}), QList<int>({want.Left, want.Top, want.Width, want.Height}));
}

// Printer Setup: OK adopts the chosen installed printer (a name differing only in case keeps the
// current one) and copies the dialog's settings; Cancel and an unknown printer change nothing.
void PlotWindowsTest::printerSetupAndPrintMessages() {
    TestPlatform p;
    auto settings = [](const QPrinter& q) {
        return QList<int>{q.copyCount(), q.pageLayout().orientation(), q.colorMode(), q.pageLayout().pageSize().id(), q.resolution()};
    };
    struct Case { bool ok; const char* chosen; const char* current; bool copied; const char* message; };
    for (const Case& c : {Case{false, "Lab", "Office", false, ""}, {true, "office", "Office", true, ""},
                          {true, "LAB", "Lab", true, ""}, {true, "Nowhere", "Office", false, "The printer Nowhere is not installed."}}) {
        QString preset;
        Printing printing(p, {[] { return QStringList{"Office", "Lab"}; }, [] { return QString("Office"); },
                              [&](QPrinter& d, QString& name, QWidget*) {
                                  preset = std::exchange(name, c.chosen);
                                  d.setCopyCount(3), d.setColorMode(QPrinter::GrayScale), d.setResolution(300);
                                  d.setPageOrientation(QPageLayout::Landscape), d.setPageSize(QPageSize(QPageSize::A5));
                                  return c.ok;
                              },
                              [](QWidget*) { return QString(); }});
        const QList<int> old = settings(printing.printer());
        p.messages.clear();
        printing.PrinterSetup(nullptr);
        QCOMPARE(preset, QString("Office"));   // the dialog preset from the current printer
        QCOMPARE(printing.deviceName(), QString(c.current));
        const QList<int> chosen{3, QPageLayout::Landscape, QPrinter::GrayScale, QPageSize::A5, 300};
        QCOMPARE(settings(printing.printer()), c.copied ? chosen : old);
        QCOMPARE(p.messages.empty() ? std::string() : p.messages.back(), std::string(c.message));
    }
    // A print error: the number in its default text form, a blank and its text; the number
    // alone beyond the table.
    QCOMPARE(QList<std::string>({Printing::ErrorMessage(482), Printing::ErrorMessage(61), Printing::ErrorMessage(1001)}),
             QList<std::string>({" 482", " 61 Error 61: Disk full.", " 1001"}));
}

QTEST_MAIN(PlotWindowsTest)
#include "PlotWindowsTest.moc"
