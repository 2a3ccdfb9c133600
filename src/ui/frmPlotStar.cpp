#include "ui/frmPlotStar.h"

#include "plot/Plots.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
constexpr QSize kMinimum(6000, 4200);   // twips: room for the plot and the bottom row
}

frmPlot_Spectr::frmPlot_Spectr(Star star, AnalysisState& s, Platform& p, Printing& printing, QWidget* owner, const WindowFrame& frame)
    : PlotWindow(owner, s, p, printing, star == Star::Std ? &Geometry::frmPlot_Spectr_Std : &Geometry::frmPlot_Spectr_Pro,
                 frame, star == Star::Std ? "frmPlot_Spectr_Std" : "frmPlot_Spectr_Pro",
                 star == Star::Std ? "Plot Standard Spectrum" : "Plot Program Spectrum", kMinimum),
      m_star(star) {
    for (int id : {1, 2, 3, 4, 6, 8}) addLabel(id);
    Label5 = addLabel(5, "Wavelength");
    Label7 = addLabel(7);
    Label9 = addLabel(9, "Intensity");
    Label10 = addLabel(10);
    Label11 = addLabel(11, "File:");
    Label12 = addLabel(12);
    Label13 = addLabel(13, "Object:");
    Label14 = addLabel(14);
    if (star == Star::Std) addFileMenu("mDAsh");
    else addPrintCommand("Print");
}

plot::Drawing frmPlot_Spectr::MakeDrawing(int W, int H) { return plot::Plot_Spectr(ConstStarView(m_s, m_star), W, H); }

void frmPlot_Spectr::placePanel(int H) {
    placeAbove(H, {{Label5, 240, 1300, 1080}, {Label7, 1320, 1300, 1200}, {Label9, 2760, 1300, 900}, {Label10, 3660, 1300, 1200},
                   {Label11, 5100, 1300, 450}, {Label12, 5550, 1300, 3000}, {Label13, 8700, 1300, 720},
                   {Label14, 9420, 1300, roomFrom(9420)}});
}

void frmPlot_Spectr::MouseMove(int x, int y) {
    const plot::FrameRecord& f = frame()->record();
    Label7->setText(qs(Num_to_str(f.U(x), 8, 2)));
    Label10->setText(qs(Num_to_str(f.V(y), 8, 0)));
}

}  // namespace tessan::ui
