#include "ui/TextViewer.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "text/TextPage.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
// A fixed-pitch font whose rows fit the 194.5-twip (13-pixel) line pitch.
QFont viewerFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(11);
    return f;
}
constexpr int kTextLeft = 2;   // pixels
}  // namespace

TextViewer::TextViewer(Star star, AnalysisState& s, QWidget* owner, WinRect Geometry::*record,
                       const WindowFrame& frame, const QString& name, const char* caption, bool fitsHeight)
    : ToolWindow(owner, s, record, frame), m_star(star), m_record(record), m_fitsHeight(fitsHeight) {
    setObjectName(name);
    setWindowTitle(QString::fromLatin1(caption));
    setFont(viewerFont());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    VScroll1 = control<QScrollBar>(this, "VScroll1", {});
    VScroll1->setOrientation(Qt::Vertical);
}

void TextViewer::Form_Load() {
    // The range as at load: its middle value is the first page's; nothing is printed yet.
    const ScrollRange r = PageRange(count(), outerHeight());
    VScroll1->setRange(r.min, r.max);
    VScroll1->setValue(r.min);
    VScroll1->setSingleStep(r.smallChange);
    VScroll1->setPageStep(r.largeChange);
    layoutControls();
    connect(VScroll1, &QScrollBar::valueChanged, this, &TextViewer::VScroll1_Change);
}

void TextViewer::ShowCurrent(bool fromTop) {
    present();
    refresh();
    if (fromTop) printLines(1, count());
}

void TextViewer::Form_Resize() {
    storeGeometry();
    refresh();
}

void TextViewer::layoutControls() {
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, VScroll1);
    VScroll1->setGeometry(std::max(0, width() - w), 0, w, std::max(0, height()));
}

void TextViewer::VScroll1_Change() {
    const PageLines p = PageAround(VScroll1->value(), count(), outerHeight());
    printLines(p.first, p.last);
}

void TextViewer::refresh() {
    const int n = count();
    const ScrollRange r = PageRange(n, outerHeight());
    {
        const QSignalBlocker quiet(VScroll1);   // the value stays; the page is printed below
        VScroll1->setRange(r.min, r.max);
        VScroll1->setSingleStep(r.smallChange);
        VScroll1->setPageStep(r.largeChange);
    }
    VScroll1->setVisible(r.bar && !(m_fitsHeight && HasSpareLines(n, outerHeight())));
    fitHeight();
    VScroll1_Change();
}

void TextViewer::fitHeight() {
    const int n = count(), h = outerHeight();
    if (!m_fitsHeight || !HasSpareLines(n, h)) {
        m_askedHeight = 0;
        return;
    }
    int target = FitHeight(n);
    if (const QScreen* sc = screen()) target = std::min(target, sc->availableGeometry().height() * kTwipsPerPixel);
    if (target == h || target == m_askedHeight) return;
    m_askedHeight = target;
    QTimer::singleShot(0, this, [this, target] {
        if (!isVisible() || closing()) return;
        const QMargins m = frameMargins();
        // Whole pixels that hold the lines (rounding to the nearest could lose the last one).
        const int outer = (target + kTwipsPerPixel - 1) / kTwipsPerPixel;
        resize(width(), std::max(1, outer - m.top() - m.bottom()));
    });
}

void TextViewer::printLines(int first, int last) {
    m_lines.clear();
    for (int i = first; i <= last; ++i) m_lines << line(i);
    update();
}

void TextViewer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(0, 0, VScroll1->isVisible() ? VScroll1->x() : width(), height());
    const int ascent = painter.fontMetrics().ascent();
    for (int k = 0; k < m_lines.size(); ++k) {
        const int top = toPixels(static_cast<int>(k * kLineTwips));
        if (top > height()) break;
        painter.drawText(kTextLeft, top + ascent, m_lines[k]);
    }
}

frmDisplayHdr::frmDisplayHdr(Star star, AnalysisState& s, QWidget* owner, const WindowFrame& frame)
    : TextViewer(star, s, owner,
                 star == Star::Std ? &Geometry::frmDisplayHdr_Std : &Geometry::frmDisplayHdr_Pro, frame,
                 star == Star::Std ? "frmDisplayHdr_Std" : "frmDisplayHdr_Pro",
                 star == Star::Std ? "Display Fits Header-Standard Star" : "Display Fits Hdr - Program Star", true) {
    Form_Load();
}

int frmDisplayHdr::count() const { return std::clamp(star().nRecords(), 0, star().Hdr().size()); }
QString frmDisplayHdr::line(int i) const { return qs(star().Hdr()(i)); }

frmDisplayData::frmDisplayData(Star star, AnalysisState& s, QWidget* owner, const WindowFrame& frame)
    : TextViewer(star, s, owner,
                 star == Star::Std ? &Geometry::frmDisplayData_Std : &Geometry::frmDisplayData_Pro, frame,
                 star == Star::Std ? "frmDisplayData_Std" : "frmDisplayData_Pro",
                 star == Star::Std ? "Standard Star" : "Program Star", false) {
    // Room for a whole pixel line beside the scroll bar: 4 + 2 + 10 + 2 characters and a
    // value of 15 digits with sign, point and exponent.
    const int line = fontMetrics().horizontalAdvance(QString(38, QLatin1Char('0')));
    setMinimumWidth(line + 2 * kTextLeft + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    Form_Load();
}

int frmDisplayData::count() const {
    return std::clamp(star().nPix(), 0, std::min(star().Wave().size(), star().Pixval().size()));
}
QString frmDisplayData::line(int i) const { return qs(PixelLine(i, star().Wave()(i), star().Pixval()(i))); }

}  // namespace tessan::ui
