#include "ui/PlotFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

PlotFrame::PlotFrame(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlotFrame"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void PlotFrame::Cls() {
    m_groups.clear();
    update();
}

void PlotFrame::Draw(const plot::Drawing& d) {
    m_groups.insert(m_groups.end(), d.groups.begin(), d.groups.end());
    m_record = d.frame;
    update();
}

void PlotFrame::ReplaceGroup(plot::DrawGroup g) {
    auto it = std::find_if(m_groups.begin(), m_groups.end(), [&](const plot::DrawGroup& h) { return h.name == g.name; });
    if (it != m_groups.end()) *it = std::move(g);
    else m_groups.push_back(std::move(g));
    update();
}

void PlotFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Twips from here on. Lines are one pixel (15 twips) wide on the screen; the width is in
    // twips, not in device dots, so that a print at the window's physical size keeps it (a
    // one-dot line of a 1200-dot printer would all but vanish).
    p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    QPen pen;
    pen.setWidthF(kTwipsPerPixel);
    for (const plot::DrawGroup& g : m_groups)
        for (const plot::DrawOp& op : g.ops) {
            const QColor colour = qcolour(op.colour);
            pen.setColor(colour);
            p.setPen(pen);
            if (op.kind == plot::DrawOp::Kind::Line) {
                p.setBrush(Qt::NoBrush);
                p.drawLine(QLineF(op.x1, op.y1, op.x2, op.y2));
                continue;
            }
            // Concentric circles of radius x2..y2 fill the ring between them: a disc from radius 1.
            const QPointF centre(op.x1, op.y1);
            QPainterPath ring;
            ring.addEllipse(centre, op.y2, op.y2);
            if (op.x2 > 1) ring.addEllipse(centre, op.x2 - 1, op.x2 - 1);
            p.setBrush(colour);
            p.drawPath(ring);
        }
}

void PlotFrame::mouseMoveEvent(QMouseEvent* e) {
    const QPoint t = toTwips(e->position());
    setCursor(plot::InsideReadout(m_record, t.x(), t.y()) ? Qt::CrossCursor : Qt::ArrowCursor);
    if (onMouseMove) onMouseMove(t.x(), t.y());
}

void PlotFrame::mousePressEvent(QMouseEvent* e) {
    const QPoint t = toTwips(e->position());
    if (onMouseDown) onMouseDown(e->button(), t.x(), t.y());
}

}  // namespace tessan::ui
