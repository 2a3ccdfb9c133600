#include "ui/frmPlotData_bb.h"

#include <QMenu>
#include <algorithm>
#include <cmath>
#include <utility>

#include "numeric/Bf.h"
#include "numeric/Smooth.h"
#include "plot/Plots.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Twips.h"
#include "ui/WindowRegistry.h"

namespace tessan::ui {

namespace {
// The panel reaches x = 13800 (Line1) and the objects after 12440; the plot needs room above
// the panel's 2900 twips.
constexpr QSize kMinimum(14700, 7000);
constexpr int kLabelH = 255, kBoxH = 285;

template <class T>
T* named(QWidget* parent, const char* name, const char* text = nullptr) {
    T* c = control<T>(parent, name, {});
    if (text) c->setText(QString::fromLatin1(text));
    return c;
}
}  // namespace

frmPlotData_bb::frmPlotData_bb(AnalysisState& s, Platform& p, Printing& printing, WindowRegistry& windows, QWidget* owner,
                               const WindowFrame& windowFrame)
    : PlotWindow(owner, s, p, printing, &Geometry::frmPlotData_bb, windowFrame, "frmPlotData_bb", "Plot Broadening Functions",
                 kMinimum),
      m_windows(windows) {
    for (int id : {1, 2, 3, 4, 5, 6}) addLabel(id);
    buildUpper();
    buildLower();
    addFileMenu("mDash");
    QMenu* file = menu()->findChild<QMenu*>(QStringLiteral("mFile"));
    QAction* first = file->actions().value(0);
    QAction* save = new QAction(QStringLiteral("Save bb Results ..."), file);
    save->setObjectName(QStringLiteral("mSave_bb"));
    file->insertAction(first, save);
    file->insertSeparator(first)->setObjectName(QStringLiteral("mDashy"));
    connect(save, &QAction::triggered, this, &frmPlotData_bb::mSave_bb_Click);
    load();
    connectHandlers();
}

void frmPlotData_bb::buildUpper() {
    QWidget* f = frame();
    // Two lines, as the button's two-line height is laid out for: one line would be cut.
    Option1 = named<QRadioButton>(f, "Option1", "Peak\ncentroid");
    Label7 = addLabel(7, "Order");
    Text1 = named<QLineEdit>(f, "Text1");
    HScroll1 = control<QScrollBar>(f, "HScroll1", {});
    HScroll1->setOrientation(Qt::Horizontal);
    HScroll1->setTracking(false);   // dragging the thumb scrolls; its release changes the value
    Command1 = named<QPushButton>(f, "Command1", "Update");
    Label8 = addLabel(8, "Width");
    Text2 = named<QLineEdit>(f, "Text2", "5.0");
    Command2 = named<QPushButton>(f, "Command2", "Smooth");
    Command3 = named<QPushButton>(f, "Command3", "Revert");
    Label15 = addLabel(15, "Cursor");
    Label16 = addLabel(16);
    Label17 = addLabel(17, "Peak.L");
    Label18 = addLabel(18, "Peak.R");
    Label19 = addLabel(19);
    Label20 = addLabel(20);
    Label21 = addLabel(21, "Peak.L, Peak R");
    Text3 = named<QLineEdit>(f, "Text3");
    Label9 = addLabel(9, "Std:");
    Label12 = addLabel(12, "Prog:");
    Label10 = addLabel(10);
    Label13 = addLabel(13);
    Label11 = addLabel(11);
    Label14 = addLabel(14);
    Line1 = control<QFrame>(f, "Line1", {});
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
}

void frmPlotData_bb::connectHandlers() {
    connect(HScroll1, &QScrollBar::sliderMoved, this, &frmPlotData_bb::HScroll1_Scroll);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmPlotData_bb::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &frmPlotData_bb::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPlotData_bb::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmPlotData_bb::Command3_Click);
    connect(Option1, &QRadioButton::clicked, this, &frmPlotData_bb::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &frmPlotData_bb::Option2_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmPlotData_bb::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmPlotData_bb::Combo2_Click);
    connect(Command4, &QPushButton::clicked, this, &frmPlotData_bb::Command4_Click);
    for (int i = 0; i < 3; ++i) {
        connect(Text5[i], &QLineEdit::textChanged, this, [this, i] { Text5_Change(i); });
        connect(Text7[i], &QLineEdit::textChanged, this, [this, i] { Text7_Change(i); });
        connect(Command5[i], &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    }
}

// The load: lists filled and every initial text set before the handlers are connected, so
// that none of them runs (or draws) while the window is built; the options and lists then
// follow records 23 and 24 through their handlers.
void frmPlotData_bb::load() {
    Combo1->addItems({QStringLiteral("2 stars"), QStringLiteral("3 stars")});
    Combo2->addItems({QStringLiteral("Man."), QStringLiteral("Auto")});
    placePanel(outerTwips().height());
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(5);
    m_plotting = true;
    syncOrder();
    m_plotting = false;
    const bool gauss = m_s.GaussFitMode;
    setGaussEnabled(gauss);
    (gauss ? Option2 : Option1)->setChecked(true);
    // The star-3 row follows its record in both modes.
    Combo1->setCurrentIndex(m_s.bbCombo1Flag ? 1 : 0);
    Combo1_Click();
    m_s.Drawn = {};
    Combo2->setCurrentIndex(m_s.bbCombo2Flag ? 1 : 0);
    Combo2_Click();
    if (m_s.FitVmin != 0) Text8->setText(qs(PlainText(m_s.FitVmin)));
    if (m_s.FitVmax != 0) Text9->setText(qs(PlainText(m_s.FitVmax)));
    for (std::size_t st = 1; st <= 3; ++st)
        if (m_s.PeakWidth[st] != 0) Text6[st - 1]->setText(qs(PlainText(m_s.PeakWidth[st])));
}

void frmPlotData_bb::placePanel(int H) {
    const int objects = roomFrom(12440);
    placeAbove(H, {
        {Option1, 80, 2880, 1095, 495}, {Label7, 1400, 2880, 600, kLabelH}, {Text1, 1520, 2640, 495, kBoxH},
        {HScroll1, 2120, 2880, 1095, 255}, {Command1, 2120, 2520, 1095, 255}, {Label8, 3560, 2895, 495, kLabelH},
        {Text2, 3560, 2600, 495, kBoxH}, {Command2, 4160, 2880, 855, 255}, {Command3, 4160, 2520, 855, 255},
        {Label15, 5120, 2760, 1000, kLabelH}, {Label16, 5120, 2520, 1000, kLabelH}, {Label17, 6200, 2880, 700, kLabelH},
        {Label18, 6200, 2535, 700, kLabelH}, {Label19, 6920, 2880, 900, kLabelH}, {Label20, 6920, 2520, 900, kLabelH},
        {Label21, 7880, 2880, 2055, kLabelH}, {Text3, 7880, 2600, 2055, kBoxH}, {Label9, 10040, 2760, 600, kLabelH},
        {Label12, 10040, 2520, 600, kLabelH}, {Label10, 10640, 2760, 1740, kLabelH}, {Label13, 10640, 2520, 1740, kLabelH},
        {Label11, 12440, 2760, objects, kLabelH}, {Label14, 12440, 2520, objects, kLabelH}, {Line1, 120, 2095, 13680, 30},
        {Label25, 1440, 1980, 1300, kLabelH}, {Label22, 3480, 1980, 855, kLabelH}, {Label23, 4440, 1980, 855, kLabelH},
        {Label24, 5400, 1980, 855, kLabelH}, {Label32, 9960, 1980, 3015, kLabelH}, {Command4, 7920, 1880, 1815, 495},
        {Option2, 80, 1740, 1095, 255}, {Combo1, 1440, 1740, 1095, 300}, {Label29, 2760, 1740, 700, kLabelH},
        {Label30, 2760, 1460, 700, kLabelH}, {Label31, 2760, 1180, 700, kLabelH}, {Text4, 9960, 1740, 3015, kBoxH},
        {Combo2, 240, 1320, 975, 300}, {Label26, 1320, 1320, 480, kLabelH}, {Text8, 1800, 1320, 495, kBoxH},
        {Label27, 1320, 1080, 480, kLabelH}, {Text9, 2280, 1080, 495, kBoxH},
    });
    for (int i = 0; i < 3; ++i) {
        const int top = H - 1740 + 280 * i;
        Text5[i]->setGeometry(twipsRect(3480, top, 855, kBoxH));
        Text6[i]->setGeometry(twipsRect(4440, top, 855, kBoxH));
        Text7[i]->setGeometry(twipsRect(5400, top, 855, kBoxH));
        Command5[i]->setGeometry(twipsRect(6380, top, 1095, 250));
    }
}

void frmPlotData_bb::syncOrder() {
    HScroll1->setRange(1, std::max(m_s.bbShown.span, 1));
    HScroll1->setValue(m_s.bbOrder);
    Text1->setText(qs(DefaultText(m_s.bbOrder)));
}

void frmPlotData_bb::PlotBfs() {
    m_plotting = true;
    syncOrder();
    Plot();
    m_plotting = false;
}

plot::Drawing frmPlotData_bb::MakeDrawing(int W, int H) {
    if (!m_s.Smoothed && CopyBfOrder(m_s, m_s.bbOrder) > 0 && HScroll1->maximum() != m_s.bbShown.span) {
        // The BFs were computed again with another span: the slider follows, no second redraw.
        const bool was = std::exchange(m_plotting, true);
        syncOrder();
        m_plotting = was;
    }
    // Peaks measured on the BFs of an earlier step 7 do not belong to the BF drawn now.
    if (std::exchange(m_run, m_s.bbShown.run) != m_s.bbShown.run) {
        setPeakLabel(Label19, {});
        setPeakLabel(Label20, {});
    }
    return plot::Plot_bb(m_s, W, H);
}

void frmPlotData_bb::setPeakLabel(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
    Text3->setText(Label19->text() + QStringLiteral(", ") + Label20->text());
}

void frmPlotData_bb::HScroll1_Scroll(int value) {
    m_s.bbOrder = value;
    Text1->setText(qs(DefaultText(value)));
    redraw();
}

void frmPlotData_bb::HScroll1_Change() {
    m_s.Smoothed = false;
    setPeakLabel(Label19, {});
    setPeakLabel(Label20, {});
    if (!m_plotting) HScroll1_Scroll(HScroll1->value());
}

void frmPlotData_bb::Command1_Click() {
    // An order beyond the BFs' span, a huge one included, is the last order.
    const int span = std::max(m_s.bbShown.span, 1);
    const double r = std::nearbyint(Val(Text1->text().toStdString()));
    m_s.bbOrder = !(r >= 1) ? 1 : (r > span ? span : static_cast<int>(r));
    if (!(r >= 1 && r <= span)) Text1->setText(qs(DefaultText(m_s.bbOrder)));
    HScroll1->setValue(m_s.bbOrder);
    m_s.Smoothed = false;
    setPeakLabel(Label19, {});
    setPeakLabel(Label20, {});
    redraw();
}

void frmPlotData_bb::Command2_Click() {
    if (const auto text = SmoothCommand(m_s, Text2->text().toStdString())) Text2->setText(qs(*text));
    redraw();
}

void frmPlotData_bb::Command3_Click() {
    m_s.Smoothed = false;
    redraw();
}

void frmPlotData_bb::Option1_Click() {
    setGaussEnabled(false);
    m_s.GaussFitMode = false;
}

void frmPlotData_bb::Option2_Click() {
    setGaussEnabled(true);
    m_s.GaussFitMode = true;
}

void frmPlotData_bb::Combo1_Click() {
    m_s.bbCombo1Flag = Combo1->currentIndex() == 1;
    for (QWidget* w : {static_cast<QWidget*>(Label31), static_cast<QWidget*>(Text5[2]), static_cast<QWidget*>(Text6[2]),
                       static_cast<QWidget*>(Text7[2]), static_cast<QWidget*>(Command5[2])})
        w->setVisible(m_s.bbCombo1Flag);
}

void frmPlotData_bb::Combo2_Click() {
    m_s.bbCombo2Flag = Combo2->currentIndex() == 1;
    Text8->setEnabled(!m_s.bbCombo2Flag);
    Text9->setEnabled(!m_s.bbCombo2Flag);
}

void frmPlotData_bb::mSave_bb_Click() { OpenDialog(m_windows, DialogKind::SaveBb); }

void frmPlotData_bb::MouseMove(int x, int) {
    m_s.CursorVel = frame()->record().U(x);
    Label16->setText(qs(Num_to_str(m_s.CursorVel, 8, 1)));
    Label16->adjustSize();
}

void frmPlotData_bb::MouseDown(Qt::MouseButton button, int x, int y) {
    const plot::FrameRecord& f = frame()->record();
    const int which = button == Qt::LeftButton ? 0 : button == Qt::RightButton ? 1 : -1;
    const std::optional<int> k = plot::BfClickPoint(f, ShownBfPoints(m_s), x, y);
    if (which < 0 || !k) return;
    if (m_s.GaussFitMode) {
        // The velocity of the click itself, also on the right edge where the readout stops.
        m_s.CursorVel = f.U(x);
        const double h = std::floor(f.V(y) * 10000) / 10000;
        Text5[static_cast<std::size_t>(which)]->setText(qs(LabelText(m_s.CursorVel, 7)));
        Text7[static_cast<std::size_t>(which)]->setText(qs(PlainText(h)));
        return;
    }
    if (const std::optional<double> v = PeakSearch(m_s, *k)) setPeakLabel(which == 0 ? Label19 : Label20, qs(LabelText(*v, 7)));
}

void frmPlotData_bb::Form_Resize() {
    PlotWindow::Form_Resize();
    for (std::size_t st = 1; st <= 3; ++st)
        if (m_s.PeakWidth[st] != 0) Text6[st - 1]->setText(qs(PlainText(m_s.PeakWidth[st])));
}

void frmPlotData_bb::Form_Unload() {
    m_s.bbCombo2Flag = Combo2->currentIndex() == 1;
    m_s.FitVmin = Val(Text8->text().toStdString());
    m_s.FitVmax = Val(Text9->text().toStdString());
}

}  // namespace tessan::ui
