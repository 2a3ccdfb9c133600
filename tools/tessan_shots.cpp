// tessan-shots DIR OUT: runs steps 1 to 7 on "standard.fts" and "program.fts" in DIR (the sample
// spectra of tessan-samples), opens the main window's plot windows, moves the cursor over each
// plot and clicks the highest point of the CCF, and saves a picture of every window in OUT
// (main.png, ww.png, std.png, pro.png, ccf.png), then plots the BFs of order 100 and saves the BF
// window after a left click near the first peak and a right click near the second (bf_centroid.png)
// and in Gauss mode after a click on each peak and a fit (bf_gauss.png), then the header and data
// viewers of both stars (hdr_std.png, hdr_pro.png, data_std.png, data_pro.png), the dLambda/dPix
// keyword window with a card chosen (key1.png), the help window on the introduction and on step 3
// (help_long.png, help_short.png) and the About window (about.png); the BF window in Gauss mode is
// printed with no printer installed, to the PDF file bf.pdf. For a look at the windows on a
// display or under Xvfb (scripts/screenshots.sh); messages go to standard error.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "state/AnalysisState.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"
#include "ui/frmPlotData_CC.h"
#include "ui/frmPlotData_bb.h"
#include "ui/frmPlotStar.h"
#include "ui/frmPlotdata_ww.h"
#include "ui/Printing.h"
#include "ui/frmSelect_Key.h"
#include "ui/TextViewer.h"

using namespace tessan;
using namespace tessan::ui;

namespace {

struct PrintingPlatform : Platform {
    void MsgBox(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    std::filesystem::path WorkDir() const override { return std::filesystem::current_path(); }
    bool AskYesNo(const std::string&) override { return true; }
};

// Lets the windows be shown, framed and painted.
void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

bool save(QWidget* w, const std::filesystem::path& file) {
    w->raise();
    settle(300);
    const bool ok = w->grab().save(QString::fromStdString(file.string()));
    std::fprintf(stderr, "%s: %s\n", file.c_str(), ok ? "saved" : "not saved");
    return ok;
}

QPoint pixelAt(double xTwips, double yTwips) { return QPoint(int(xTwips / 15), int(yTwips / 15)); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessan-shots DIR OUT\n");
        return 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[2]);
    std::filesystem::create_directories(out);
    std::filesystem::current_path(argv[1]);
    auto s = std::make_unique<AnalysisState>();
    PrintingPlatform p;
    // No printer: "Print" writes the PDF file bf.pdf in OUT, as a user without a printer would.
    Printing printing(p, {[] { return QStringList(); }, [] { return QString(); },
                          [](QPrinter&, QString&, QWidget*) { return false; },
                          [&](QWidget*) { return QString::fromStdString((out / "bf.pdf").string()); }});
    frmMain w(*s, p, printing);
    w.show();
    settle(300);
    auto click = [&](int n) {
        w.findChild<QPushButton*>(QString("Command%1").arg(n))->click();
        settle(100);
    };
    auto load = [&](int n, const char* dialog, const char* file) {
        click(n);
        auto* d = w.findChild<FileDialog*>(dialog);
        d->setDirectory(QString::fromStdString(std::filesystem::current_path().string()));
        d->Text1->setText(file);
        d->Command1->click();
        settle(100);
    };
    load(1, "frmLoadStd", "standard.fts");
    for (int n : {7, 8, 9}) click(n);
    load(2, "frmLoadPro", "program.fts");
    for (int n : {16, 11, 10, 14, 15, 17}) click(n);

    auto* ww = w.findChild<frmPlotdata_ww*>();
    auto* std = w.findChild<frmPlot_Spectr*>("frmPlot_Spectr_Std");
    auto* pro = w.findChild<frmPlot_Spectr*>("frmPlot_Spectr_Pro");
    auto* cc = w.findChild<frmPlotData_CC*>();
    if (!ww || !std || !pro || !cc) {
        std::fprintf(stderr, "a plot window did not open\n");
        return 1;
    }
    for (PlotWindow* pw : {static_cast<PlotWindow*>(ww), static_cast<PlotWindow*>(std), static_cast<PlotWindow*>(pro)}) {
        const auto& r = pw->frame()->record();
        QTest::mouseMove(pw->frame(), pixelAt((r.Left + r.Right) / 2.0, (r.Top + r.Bottom) / 2.0));
    }
    int best = -s->ccN;
    for (int i = -s->ccN; i <= s->ccN; ++i)
        if (s->cc(i) > s->cc(best)) best = i;
    const auto& f = cc->frame()->record();
    const QPoint peak = pixelAt(f.Left + (best + s->ccN) * double(f.PW()) / (2 * s->ccN), (f.Top + f.Bottom) / 2.0);
    QTest::mouseMove(cc->frame(), peak);
    QTest::mouseClick(cc->frame(), Qt::LeftButton, {}, peak);
    std::fprintf(stderr, "CCF click: Label19 \"%s\"\n", qPrintable(cc->Label19->text()));

    w.findChild<QLineEdit*>("Text4")->setText("100");
    click(12);
    auto* bf = w.findChild<frmPlotData_bb*>();
    if (!bf) {
        std::fprintf(stderr, "the BF window did not open\n");
        return 1;
    }
    settle(300);
    const auto& g = bf->frame()->record();
    const int span = s->bbShown.span;
    auto bfPixel = [&](double v) {
        const double k = (v - s->vel_bb(1)) / s->bbShown.delV + 1;
        const int kk = std::clamp(int(std::lround(k)), 1, span);
        return pixelAt(g.Left + (k - 1) * g.PW() / span, g.Y(s->bb_n(kk)) + 30);
    };
    QTest::mouseClick(bf->frame(), Qt::LeftButton, {}, bfPixel(-60));
    QTest::mouseClick(bf->frame(), Qt::RightButton, {}, bfPixel(45));
    QTest::mouseMove(bf->frame(), bfPixel(0));
    bool ok = save(bf, out / "bf_centroid.png");
    bf->Option2->click();
    for (QLineEdit* e : {bf->Text6[0], bf->Text6[1]}) e->setText("20");
    QTest::mouseClick(bf->frame(), Qt::LeftButton, {}, bfPixel(-60));
    QTest::mouseClick(bf->frame(), Qt::RightButton, {}, bfPixel(45));
    bf->Command4->click();
    std::fprintf(stderr, "BF: Label19 \"%s\", Label20 \"%s\", fit \"%s\"\n", qPrintable(bf->Label19->text()),
                 qPrintable(bf->Label20->text()), qPrintable(bf->Text4->text()));
    ok = save(bf, out / "bf_gauss.png") && ok;
    bf->mPrint_Click();
    ok = std::filesystem::exists(out / "bf.pdf") && ok;

    ok = save(&w, out / "main.png") && ok;
    ok = save(ww, out / "ww.png") && ok;
    ok = save(std, out / "std.png") && ok;
    ok = save(pro, out / "pro.png") && ok;
    ok = save(cc, out / "ccf.png") && ok;

    // The viewers as "View hdr" and "View data" open them, the data paged a little way down.
    for (int n : {3, 4, 5, 6}) click(n);
    auto* data = w.findChild<frmDisplayData*>("frmDisplayData_Std");
    if (data) data->VScroll1->setValue(data->VScroll1->value() + 40);
    settle(300);
    const struct { const char *name, *file; } viewers[] = {{"frmDisplayHdr_Std", "hdr_std.png"}, {"frmDisplayHdr_Pro", "hdr_pro.png"},
                                                            {"frmDisplayData_Std", "data_std.png"}, {"frmDisplayData_Pro", "data_pro.png"}};
    for (const auto& v : viewers) {
        auto* tv = w.findChild<TextViewer*>(v.name);
        ok = tv && save(tv, out / v.file) && ok;
    }
    w.mdLambda_dp->trigger();
    auto* key = w.findChild<frmSelect_Key*>("frmSelect_Key2");
    if (key) key->List1->setCurrentRow(std::min(5, key->List1->count() - 1));
    ok = key && save(key, out / "key1.png") && ok;

    // The help window on its longest and its shortest topic, and the About window.
    for (auto [item, file] : {std::pair{"mIntro", "help_long.png"}, std::pair{"m3Help", "help_short.png"}}) {
        w.findChild<QAction*>(item)->trigger();
        ok = save(w.findChild<frmHelp*>("frmHelp"), out / file) && ok;
    }
    w.findChild<QAction*>("mAbout")->trigger();
    ok = save(w.findChild<frmAbout*>("frmAbout"), out / "about.png") && ok;
    return ok ? 0 : 1;
}
