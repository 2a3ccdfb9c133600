#include "ui/frmPlotdata_ww.h"

#include "plot/Plots.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
constexpr QSize kMinimum(5000, 4500);   // twips: room for the plot and the bottom row
}

frmPlotdata_ww::frmPlotdata_ww(AnalysisState& s, Platform& p, Printing& printing, QWidget* owner, const WindowFrame& frame)
    : PlotWindow(owner, s, p, printing, &Geometry::frmPlotdata_ww, frame, "frmPlotdata_ww", "Plot SVD Result", kMinimum) {
    for (int id : {1, 2, 3, 4, 6, 8, plot::kLeftOutLabel}) addLabel(id);
    Label5 = addLabel(5, "Cursor, n =");
    Label7 = addLabel(7);
    Label9 = addLabel(9, "Matrix, Wi =");
    Label10 = addLabel(10);
    Label11 = addLabel(11, "File:");
    Label12 = addLabel(12);
    Label13 = addLabel(13, "Object:");
    Label14 = addLabel(14);
    addFileMenu("mDash");
}

// Both callers plot the singular values against Order_n, which the main window fills.
plot::Drawing frmPlotdata_ww::MakeDrawing(int W, int H) {
    return plot::Plot_ww(m_s, m_s.span, m_s.Order_n, m_s.ww, false, true, W, H);
}

void frmPlotdata_ww::placePanel(int H) {
    placeAbove(H, {{Label5, 120, 1300, 1080}, {Label7, 1200, 1300, 600}, {Label9, 1860, 1300, 1140}, {Label10, 3000, 1300, 900},
                   {Label11, 3960, 1300, 450}, {Label12, 4410, 1300, 1500}, {Label13, 5970, 1300, 720},
                   {Label14, 6690, 1300, roomFrom(6690)}});
}

void frmPlotdata_ww::MouseMove(int x, int y) {
    const plot::FrameRecord& f = frame()->record();
    Cursor_n = plot::CursorOrder(f, m_s.span, x);
    Label7->setText(qs(DefaultText(Cursor_n)));
    Label10->setText(qs(Num_to_str(f.V(y), 8, 2)));
}

}  // namespace tessan::ui
