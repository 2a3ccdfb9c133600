#include "ui/frmPlotData_CC.h"

#include "numeric/Peak.h"
#include "text/NumText.h"
#include "plot/Plots.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
// The panel reaches x = 11040 and the objects after it: the window is never narrower than that.
constexpr QSize kMinimum(12600, 5000);
}

frmPlotData_CC::frmPlotData_CC(AnalysisState& s, Platform& p, Printing& printing, QWidget* owner, const WindowFrame& windowFrame)
    : PlotWindow(owner, s, p, printing, &Geometry::frmPlotData_CC, windowFrame, "frmPlotData_CC", "Plot Cross-correlation",
                 kMinimum) {
    for (int id : {1, 2, 3, 4, 5, 6}) addLabel(id);
    Label15 = addLabel(15, "Cursor", 3720);
    Label16 = addLabel(16, "", 3720);
    Label17 = addLabel(17, "Peak.L", 4800);
    Label18 = addLabel(18, "Peak.R", 4800);
    Label19 = addLabel(19, "", 5520);
    Label20 = addLabel(20, "", 5520);
    Label21 = addLabel(21, "Peak.L, Peak R", 6480);
    Text3 = control<QLineEdit>(frame(), "Text3", {});
    Label9 = addLabel(9, "Std:", 8640);
    Label12 = addLabel(12, "Prog:", 8640);
    Label10 = addLabel(10, "", 9240);
    Label13 = addLabel(13, "", 9240);
    Label11 = addLabel(11, "", 11040);
    Label14 = addLabel(14, "", 11040);
    addFileMenu("mDash");
}

plot::Drawing frmPlotData_CC::MakeDrawing(int W, int H) { return plot::Plot_CC(m_s, W, H); }

void frmPlotData_CC::placePanel(int H) {
    placeAbove(H, {{Label15, 3720, 1380, 900}, {Label16, 3720, 1140, 1000}, {Label17, 4800, 1500, 700},
                   {Label18, 4800, 1155, 700}, {Label19, 5520, 1500, 900}, {Label20, 5520, 1140, 900},
                   {Label21, 6480, 1500, 2055}, {Label9, 8640, 1380, 600}, {Label12, 8640, 1140, 600},
                   {Label10, 9240, 1380, 1740}, {Label13, 9240, 1140, 1740}, {Label11, 11040, 1380, roomFrom(11040)},
                   {Label14, 11040, 1140, roomFrom(11040)}});
    Text3->setGeometry(twipsRect(6480, H - 1220, 2055, 285));
}

void frmPlotData_CC::MouseMove(int x, int) {
    m_s.CursorVel = frame()->record().U(x);
    Label16->setText(qs(Num_to_str(m_s.CursorVel, 8, 1)));
}

void frmPlotData_CC::MouseDown(Qt::MouseButton button, int x, int y) {
    QLabel* target = button == Qt::LeftButton ? Label19 : button == Qt::RightButton ? Label20 : nullptr;
    const std::optional<int> lag = plot::CcfClickLag(frame()->record(), m_s.ccN, x, y);
    if (!target || !lag) return;
    Vec px(kCentroidPoints), py(kCentroidPoints);
    const std::optional<double> v = CcfPeakSearch(m_s.vel_cc, m_s.cc, m_s.ccN, *lag, px, py);
    if (!v) return;
    target->setText(qs(LabelText(*v, 7)));
    Text3->setText(Label19->text() + QStringLiteral(", ") + Label20->text());
}

}  // namespace tessan::ui
