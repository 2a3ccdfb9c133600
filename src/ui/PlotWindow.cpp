#include "ui/PlotWindow.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

PlotWindow::PlotWindow(QWidget* owner, AnalysisState& s, Platform& p, Printing& printing,
                       WinRect Geometry::*record,
                       const WindowFrame& frame, const char* name, const char* caption, QSize minTwips)
    : ToolWindow(owner, s, record, frame), m_p(p), m_printing(printing) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(caption));
    setMinimumSize(toPixels(minTwips.width()), toPixels(minTwips.height()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menu = new QMenuBar(this);
    layout->setMenuBar(m_menu);
    m_frame = new PlotFrame(this);
    layout->addWidget(m_frame);
    m_frame->onMouseMove = [this](int x, int y) {
        if (plot::InsideReadout(m_frame->record(), x, y)) MouseMove(x, y);
    };
    m_frame->onMouseDown = [this](Qt::MouseButton b, int x, int y) { MouseDown(b, x, y); };
}

QLabel* PlotWindow::label(int id) const {
    const auto it = m_labels.find(id);
    return it == m_labels.end() ? nullptr : it->second;
}

QSize PlotWindow::outerTwips() const {
    const QMargins m = frameMargins();
    return {(width() + m.left() + m.right()) * kTwipsPerPixel, (height() + m.top() + m.bottom()) * kTwipsPerPixel};
}

QLabel* PlotWindow::addLabel(int id, const char* caption, int left, int top) {
    const QByteArray name = "Label" + QByteArray::number(id);
    auto* l = control<QLabel>(m_frame, name.constData(), {});
    l->setText(QString::fromLatin1(caption));
    l->adjustSize();
    l->move(toPixels(left), toPixels(top));
    m_labels[id] = l;
    return l;
}

int PlotWindow::roomFrom(int left) const { return std::max(width() * kTwipsPerPixel - left - 120, 300); }

void PlotWindow::addFileMenu(const char* dashName) {
    QMenu* file = m_menu->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mFile"));
    QAction* setup = menuItem(file, "mPrinterSetup", "Printer Setup ...");
    QAction* print = menuItem(file, "mPrint", "Print");
    menuSeparator(file, dashName);
    QAction* exit = menuItem(file, "mExit", "Exit");
    connect(setup, &QAction::triggered, this, &PlotWindow::mPrinterSetup_Click);
    connect(print, &QAction::triggered, this, &PlotWindow::mPrint_Click);
    connect(exit, &QAction::triggered, this, &QWidget::hide);
}

void PlotWindow::addPrintCommand(const char* name) {
    QAction* print = m_menu->addAction(QStringLiteral("Print"));
    print->setObjectName(QString::fromLatin1(name));
    connect(print, &QAction::triggered, this, &PlotWindow::mPrint_Click);
}

void PlotWindow::mPrint_Click() { m_printing.Print(this, QRect(0, m_frame->y(), width(), height() - m_frame->y())); }

void PlotWindow::mPrinterSetup_Click() { m_printing.PrinterSetup(this); }

void PlotWindow::Plot() {
    present();
    m_plotted = true;
    redraw();
}

void PlotWindow::placeAbove(int H, std::initializer_list<PanelPlace> places) {
    for (const PanelPlace& p : places) p.w->setGeometry(twipsRect(p.left, H - p.above, p.width, p.height));
}

void PlotWindow::Replot() {
    if (m_plotted) redraw();
}

void PlotWindow::redraw() {
    const QSize outer = outerTwips();
    const plot::Drawing d = MakeDrawing(outer.width(), outer.height());
    m_frame->Cls();
    m_frame->Draw(d);
    showLabels(d);
}

void PlotWindow::showLabels(const plot::Drawing& d) {
    for (const plot::PlotLabel& p : d.labels) {
        QLabel* l = label(p.id);
        if (!l) continue;
        if (p.placed) {
            l->setText(qs(p.caption));
            l->adjustSize();
            l->move(toPixels(p.left), toPixels(p.top));
            l->setVisible(p.shown);
        } else {
            setElidedText(l, qs(p.caption));   // a name in a label of fixed width
        }
    }
}

void PlotWindow::layoutControls() {
    placePanel(outerTwips().height());
    if (m_plotted) redraw();
}

void PlotWindow::Form_Resize() { storeGeometry(); }

}  // namespace tessan::ui
