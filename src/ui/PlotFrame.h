#pragma once
// The one widget that every plot window draws on: the window's client area below its menu. It
// keeps a drawing (plot/Drawing.h) as a list of named groups in twips and replays it on every
// paint, so what was drawn stays until it is cleared. A group can be replaced alone (a curve
// that changed) without painting over the rest.
//
// The mouse is reported in twips of this area, converted once here. The pointer is the
// cross-hair over the frame of the last drawing (the readout's test: right and bottom edges
// outside) and the arrow elsewhere. Plot labels are children of this widget, so their places
// are in the same twips as the drawing.
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "plot/Drawing.h"

namespace tessan::ui {

class PlotFrame : public QWidget {
    Q_OBJECT
public:
    explicit PlotFrame(QWidget* parent);

    // Empties the drawing.
    void Cls();
    // Adds d's groups after those shown; d's frame record becomes the one the pointer and the
    // window's readouts follow.
    void Draw(const plot::Drawing& d);
    // Replaces the group of g's name where it stands, or adds it at the end.
    void ReplaceGroup(plot::DrawGroup g);
    const std::vector<plot::DrawGroup>& groups() const { return m_groups; }
    const plot::FrameRecord& record() const { return m_record; }

    // Mouse moves and presses, in twips of this area.
    std::function<void(int x, int y)> onMouseMove;
    std::function<void(Qt::MouseButton button, int x, int y)> onMouseDown;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    std::vector<plot::DrawGroup> m_groups;
    plot::FrameRecord m_record;
};

}  // namespace tessan::ui
