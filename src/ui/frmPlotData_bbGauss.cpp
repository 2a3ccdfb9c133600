// The "Gauss fit" group of the BF window: its controls, the rows of the three stars, their
// curves and the fit.
#include <optional>
#include <tuple>

#include "numeric/GaussFit.h"
#include "plot/Plots.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/frmPlotData_bb.h"

namespace tessan::ui {

namespace {
constexpr const char* kRowMessage = "Hey!  Please put numbers in the boxes";
constexpr const char* kCentres[3] = {"-210", "213", "-60"};
constexpr const char* kWidths[3] = {"60", "80", "80"};
constexpr const char* kHeights[3] = {"0.0183", "0.01", "0.028"};

std::string text(const QLineEdit* e) { return e->text().toStdString(); }

void setTextColour(QLineEdit* e, const QColor& colour) {
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, colour);
    e->setPalette(pal);
}
}  // namespace

void frmPlotData_bb::buildLower() {
    QWidget* f = frame();
    auto label = [this](int id, const char* caption) { return addLabel(id, caption); };
    Label25 = label(25, "Solve for");
    Label22 = label(22, "Xo");
    Label23 = label(23, "Width");
    Label24 = label(24, "Height");
    Label32 = label(32, "Peak L, Peak R,  (Peak central)");
    Command4 = control<QPushButton>(f, "Command4", {});
    Command4->setText(QStringLiteral("Solve Gauss fit"));
    Option2 = control<QRadioButton>(f, "Option2", {});
    Option2->setText(QStringLiteral("Gauss fit"));
    Combo1 = control<QComboBox>(f, "Combo1", {});
    Label29 = label(29, "Star 1");
    Label30 = label(30, "Star 2");
    Label31 = label(31, "Star 3");
    for (int i = 0; i < 3; ++i) {
        const auto n = static_cast<std::size_t>(i);
        auto box = [f, i](const char* name, const char* initial) {
            auto* e = control<QLineEdit>(f, arrayName(name, i).toLatin1().constData(), {});
            e->setText(QString::fromLatin1(initial));
            return e;
        };
        Text5[n] = box("Text5", kCentres[i]);
        Text6[n] = box("Text6", kWidths[i]);
        Text7[n] = box("Text7", kHeights[i]);
        Command5[n] = control<QPushButton>(f, arrayName("Command5", i).toLatin1().constData(), {});
        Command5[n]->setText(QStringLiteral("Update %1").arg(i + 1));
    }
    Text4 = control<QLineEdit>(f, "Text4", {});
    Combo2 = control<QComboBox>(f, "Combo2", {});
    Label26 = label(26, "Vmin");
    Text8 = control<QLineEdit>(f, "Text8", {});
    Text8->setText(QStringLiteral("-200"));
    Label27 = label(27, "Vmax");
    Text9 = control<QLineEdit>(f, "Text9", {});
    Text9->setText(QStringLiteral("200"));
}

// Option1 (on = false) and Option2 (on = true): one group enabled in ColEnabled, the other
// disabled in ColDisabled.
void frmPlotData_bb::setGaussEnabled(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(Text2), static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3),
                       static_cast<QWidget*>(Text3)})
        w->setEnabled(!on);
    for (QWidget* w : {static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Text8), static_cast<QWidget*>(Command4),
                       static_cast<QWidget*>(Text4)})
        w->setEnabled(on);
    for (int i = 0; i < 3; ++i)
        for (QWidget* w : {static_cast<QWidget*>(Text5[static_cast<std::size_t>(i)]), static_cast<QWidget*>(Text6[static_cast<std::size_t>(i)]),
                           static_cast<QWidget*>(Text7[static_cast<std::size_t>(i)]), static_cast<QWidget*>(Command5[static_cast<std::size_t>(i)])})
            w->setEnabled(on);
    const QColor upper = qcolour(on ? m_s.ColDisabled : m_s.ColEnabled), lower = qcolour(on ? m_s.ColEnabled : m_s.ColDisabled);
    for (QLabel* l : {Label8, Label17, Label18, Label19, Label20, Label21}) setForeColour(l, upper);
    for (QLabel* l : {Label25, Label26, Label29, Label30, Label31, Label22, Label23, Label24, Label32}) setForeColour(l, lower);
}

void frmPlotData_bb::drawStar(int star) {
    if (std::optional<plot::DrawGroup> g = plot::Draw_gauss(m_s, frame()->record(), star)) frame()->ReplaceGroup(std::move(*g));
}

// A box edit waits, silently, until its row holds three numbers and a width other than 0.
bool frmPlotData_bb::applyRow(int i) {
    const auto n = static_cast<std::size_t>(i);
    const std::string c = text(Text5[n]), w = text(Text6[n]), h = text(Text7[n]);
    if (!HoldsNumber(c) || !HoldsNumber(w) || !HoldsNumber(h) || Val(w) == 0) return false;
    m_s.CurStar = i + 1;
    m_s.PeakXo[n + 1] = Val(c);
    m_s.PeakWidth[n + 1] = Val(w);
    m_s.PeakHeight[n + 1] = Val(h);
    drawStar(m_s.CurStar);
    return true;
}

void frmPlotData_bb::Text5_Change(int i) {
    if (Text5[static_cast<std::size_t>(i)]->text() == QStringLiteral("-")) return;   // a negative centre being typed
    applyRow(i);
}

void frmPlotData_bb::Text7_Change(int i) { applyRow(i); }

void frmPlotData_bb::Command5_Click(int i) {
    const auto n = static_cast<std::size_t>(i);
    if (!HoldsNumber(text(Text5[n])) || !HoldsNumber(text(Text6[n])) || !HoldsNumber(text(Text7[n]))) {
        m_p.MsgBox(kRowMessage);
        return;
    }
    if (!applyRow(i)) m_p.MsgBox(kZeroWidthMessage);
}

void frmPlotData_bb::Command4_Click() {
    GaussBoxes boxes;
    for (std::size_t i = 0; i < 3; ++i) {
        boxes.centre[i] = text(Text5[i]);
        boxes.width[i] = text(Text6[i]);
        boxes.height[i] = text(Text7[i]);
    }
    boxes.vmin = text(Text8);
    boxes.vmax = text(Text9);
    const QColor enabled = qcolour(m_s.ColEnabled);
    if (m_s.bbCombo2Flag)
        for (QLineEdit* e : {Text8, Text9}) setTextColour(e, qcolour(m_s.ColDisabled));
    const std::optional<GaussFitResult> r = SolveGaussFit(m_s, m_p, boxes);
    if (r) {
        const auto fitted = std::make_tuple(m_s.PeakXo, m_s.PeakWidth, m_s.PeakHeight);
        const auto stars = static_cast<std::size_t>(r->nstars);
        for (std::size_t i = 0; i < stars; ++i) Text7[i]->setText(qs(r->height[i]));
        for (std::size_t i = 0; i < stars; ++i) Text5[i]->setText(qs(r->centre[i]));
        for (std::size_t i = 0; i < stars; ++i) Text6[i]->setText(qs(r->width[i]));
        Text4->setText(qs(r->text4));
        // The centre edits stored the widths the boxes held before the fit: the fitted ones
        // are the stars' parameters, and their curves are drawn with them.
        std::tie(m_s.PeakXo, m_s.PeakWidth, m_s.PeakHeight) = fitted;
        for (int st = 1; st <= r->nstars; ++st) drawStar(st);
    }
    for (QLineEdit* e : {Text8, Text9}) setTextColour(e, enabled);
}

}  // namespace tessan::ui
