#pragma once
// The BF plot window frmPlotData_bb ("Plot Broadening Functions"): the BF of one order against
// velocity (plot::Plot_bb) over a panel of two groups, chosen by Option1 and Option2:
//
// - "Peak centroid": the order slider and box, smoothing, the cursor readout and the velocities
//   of a left and a right click on a peak (Label19, Label20, both in Text3);
// - "Gauss fit": two or three rows of centre, width and height (Text5_i, Text6_i, Text7_i) with
//   their update buttons (Command5_i), "Solve Gauss fit" and the fitted centres (Text4). Each
//   star's curve is a group of the drawing that is replaced when the star changes; clearing the
//   drawing (an order change, smoothing, a resize) removes the curves with it.
//
// The BF shown is always drawn, measured and saved with the span, delV and stars it was
// computed for (bbShown). Order changes copy that order of the BFs in hand (CopyBfOrder).
// Records 23 and 24 (GaussFitMode, bbCombo1Flag, bbCombo2Flag) follow the options and lists;
// the unload keeps the fit range typed in Text8 and Text9 for the next load.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <array>

#include "ui/PlotWindow.h"

namespace tessan::ui {

class WindowRegistry;

class frmPlotData_bb : public PlotWindow {
    Q_OBJECT
public:
    frmPlotData_bb(AnalysisState& s, Platform& p, Printing& printing, WindowRegistry& windows, QWidget* owner,
                   const WindowFrame& frame = WindowFrame::system());

    // The main window's "Plot BFs", after the order was copied (CopyBfOrder): the slider's range,
    // its value and Text1 follow the order and span shown, then the window is shown and drawn.
    void PlotBfs();

    // Upper group.
    QRadioButton* Option1;                           // "Peak centroid"
    QLabel* Label7;                                  // "Order"
    QLineEdit* Text1;                                // order typed
    QScrollBar* HScroll1;                            // order slider
    QPushButton* Command1;                           // "Update"
    QLabel* Label8;                                  // "Width"
    QLineEdit* Text2;                                // smoothing width, "5.0"
    QPushButton *Command2, *Command3;                // "Smooth", "Revert"
    QLabel *Label15, *Label16;                       // "Cursor", cursor velocity
    QLabel *Label17, *Label18, *Label19, *Label20;   // "Peak.L", "Peak.R", their velocities
    QLabel* Label21;                                 // "Peak.L, Peak R"
    QLineEdit* Text3;                                // both peaks
    QLabel *Label9, *Label12, *Label10, *Label13, *Label11, *Label14;   // "Std:", "Prog:", files, objects
    QFrame* Line1;
    // Lower group.
    QLabel *Label25, *Label22, *Label23, *Label24, *Label32;   // "Solve for", "Xo", "Width", "Height", result title
    QPushButton* Command4;                           // "Solve Gauss fit"
    QRadioButton* Option2;                           // "Gauss fit"
    QComboBox* Combo1;                               // "2 stars", "3 stars"
    QLabel *Label29, *Label30, *Label31;             // "Star 1".."Star 3"
    std::array<QLineEdit*, 3> Text5, Text6, Text7;   // objectNames "Text5_0".."Text7_2"
    std::array<QPushButton*, 3> Command5;            // "Update 1".."Update 3"
    QLineEdit* Text4;                                // fitted centres
    QComboBox* Combo2;                               // "Man.", "Auto"
    QLabel *Label26, *Label27;                       // "Vmin", "Vmax"
    QLineEdit *Text8, *Text9;                        // FitVmin, FitVmax

protected:
    plot::Drawing MakeDrawing(int W, int H) override;
    void placePanel(int H) override;
    void MouseMove(int x, int y) override;
    void MouseDown(Qt::MouseButton button, int x, int y) override;
    void Form_Resize() override;
    void Form_Unload() override;

private:
    void buildUpper();
    void buildLower();
    void connectHandlers();
    void load();
    // The slider's range and value and Text1 from the order shown, without a redraw.
    void syncOrder();
    void setPeakLabel(QLabel* label, const QString& text);

    void HScroll1_Scroll(int value);
    void HScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Option1_Click();
    void Option2_Click();
    void Combo1_Click();
    void Combo2_Click();
    void mSave_bb_Click();

    // Gauss group (frmPlotData_bbGauss.cpp).
    void setGaussEnabled(bool on);
    void Text5_Change(int i);
    void Text7_Change(int i);
    void Command5_Click(int i);
    void Command4_Click();
    // Reads row i into star i + 1 and draws its curve; false (nothing changed) when the row
    // does not hold three numbers or the width is 0.
    bool applyRow(int i);
    void drawStar(int star);

    WindowRegistry& m_windows;
    bool m_plotting = false;   // bbPlotting: slider changes redraw nothing
    int m_run = -1;            // the step-7 run of the BF drawn (bbShown.run)
};

}  // namespace tessan::ui
