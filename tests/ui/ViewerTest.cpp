// The keyword windows and the header and data viewers: a standard calibrated under CDELT1
// loaded after the keyword is chosen, the choice kept for the next run; the viewers' paging,
// per-star counts, a header viewer fitting its cards, no cards and a window too small for a line.
#include "UiTestSupport.h"
#include "text/TextPage.h"
#include "ui/TextViewer.h"
#include "ui/frmSelect_Key.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {
// A standard of n pixels whose step per pixel is under dLambdaKey, with 7 + extra cards.
void writeStandard(const Bench& b, const char* name, int n, const char* dLambdaKey, int extra = 0) {
    fits::SpectrumFile f;
    f.dLambdaKey = dLambdaKey;
    f.values = tessan::samples::SyntheticSpectrum(n, 5000.0, 0.5, 0.0);
    for (int k = 0; k < extra; ++k) f.extraCards.push_back(fits::Card("COMMENT", "1"));
    QCOMPARE(fits::WriteFitsFile(std::filesystem::path(b.dir.toStdString()) / name, fits::MakeSpectrumFits(f)), 0);
}
frmSelect_Key* keyWindow(Bench& b) {
    b.w->mdLambda_dp->trigger();
    auto* k = b.w->windows().find<frmSelect_Key>(2);
    return k && k->isVisible() ? k : nullptr;
}
template <class V>
V* viewer(Bench& b, int button, Star star) {
    b.button(button)->click();
    return b.w->windows().find<V>(int(star));
}
bool fitted(const QWidget* w, int n) { return std::abs(w->frameGeometry().height() * kTwipsPerPixel - FitHeight(n)) < 15; }
}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT
private slots:
    void keywordChosenLoadsTheStandardAndIsKept() {
        Bench b;
        writeStandard(b, "cdelt.fts", 600, "CDELT1");
        frmSelect_Key* k = keyWindow(b);   // nothing read yet: empty list, OK keeps the keyword
        QVERIFY(k && k->List1->count() == 0);
        k->Command1->click();
        b.runDialog(1, "frmLoadStd", "cdelt.fts");
        QCOMPARE(b.p.messages, std::vector<std::string>{"You need to set the keyword for dLambda/dP."});
        QVERIFY(keyWindow(b) == k && k->List1->count() == 0 && b.s->dLambda_Key == "CD1_1");   // hidden, not reloaded
        k->close();
        k = keyWindow(b);
        QVERIFY(k && k->List1->count() == 7 && k->List1->item(6)->text().toStdString() == b.s->LastHdr(7));
        b.runDialog(2, "frmLoadPro", "pro.fts");   // another header since: its card 7 is CD1_1
        k->List1->setCurrentRow(6);
        k->Command1->click();
        b.runDialog(1, "frmLoadStd", "cdelt.fts");
        QVERIFY(b.s->dLambda_Key == "CDELT1" && b.text("Label4") == "cdelt.fts" && b.p.messages.size() == 1);
        b.w->close();
        QCOMPARE(tessan::test::SplitCrLf(tessan::test::ReadText(b.p.WorkDir() / "Tessan6.ini")).at(2), std::string("\"CDELT1\""));
        b.w.reset();
        b.s = std::make_unique<AnalysisState>();
        b.w = std::make_unique<frmMain>(*b.s, b.p, b.printing);   // the next run
        b.w->show();
        b.runDialog(1, "frmLoadStd", "cdelt.fts");
        k = keyWindow(b);
        QVERIFY(k && k->List1->count() == 7 && k->List1->currentRow() < 0);
        QTest::keyClick(k, Qt::Key_Return);   // nothing chosen: the keyword stays
        QVERIFY(!k->isVisible() && b.s->dLambda_Key == "CDELT1" && b.text("Label4") == "cdelt.fts");
        QCOMPARE(b.p.messages.size(), std::size_t(1));
    }

    void viewersPageTheCurrentData() {
        Bench b;
        writeStandard(b, "long.fts", 3000, "CD1_1", 13);   // 20 cards
        b.s->geom.frmDisplayData_Std.Height = 560 + 48 * 1945 / 10;   // L = 48
        b.runDialog(1, "frmLoadStd", "long.fts");
        b.runDialog(2, "frmLoadPro", "pro.fts");
        // "View data" prints every pixel of the star's own count from the top; a scroll pages.
        auto* data = viewer<frmDisplayData>(b, 5, Star::Std);
        QVERIFY(data && data->printed().size() == 3000);
        QCOMPARE(data->printed().front().toStdString(), PixelLine(1, b.s->ws(1), b.s->Pixval(1)));
        const QScrollBar* bar = data->VScroll1;
        QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->pageStep()}), QList<int>({24, 2976, 47}));
        data->VScroll1->setValue(2976);
        QVERIFY(data->printed().size() == 49 && data->printed().front().startsWith("2952  ") && data->printed().back().startsWith("3000  "));
        QCOMPARE(viewer<frmDisplayData>(b, 6, Star::Pro)->printed().size(), 600);
        QCOMPARE(viewer<frmDisplayHdr>(b, 4, Star::Pro)->printed().size(), b.s->nRecords_ProHdr);
        // 20 cards in 10 000 twips: bar hidden, shrunk to hold them; that resize shows the bar
        // with the single value 10. Enlarged by hand, it shrinks again.
        auto* hdr = viewer<frmDisplayHdr>(b, 3, Star::Std);
        QVERIFY(hdr && !hdr->VScroll1->isVisible() && hdr->printed().size() == 20);
        for (int round = 0; round < 2; ++round) {
            if (round) hdr->resize(hdr->width(), toPixels(10000));
            QTRY_VERIFY(fitted(hdr, 20));
            QVERIFY(hdr->VScroll1->isVisible() && hdr->VScroll1->minimum() == 10 && hdr->VScroll1->maximum() == 10);
            QCOMPARE(hdr->printed().back().toStdString(), b.s->StdHdr(20));
        }
        // No cards (a model's standard): an empty page, no bar, the height kept. A viewer too
        // small for one line: the same, with no negative size or step.
        b.s->nRecords_StdHdr = 0;
        hdr->resize(hdr->width(), toPixels(10000));
        QTest::qWait(50);
        QVERIFY(hdr->printed().isEmpty() && !hdr->VScroll1->isVisible() && hdr->height() == toPixels(10000));
        for (TextViewer* v : {static_cast<TextViewer*>(hdr), static_cast<TextViewer*>(data)}) {
            v->resize(v->width(), 5);
            QTest::qWait(50);
            QVERIFY(v->printed().isEmpty() && !v->VScroll1->isVisible() && v->VScroll1->height() >= 0 && v->VScroll1->pageStep() >= 1);
        }
    }
};

QTEST_MAIN(ViewerTest)
#include "ViewerTest.moc"
