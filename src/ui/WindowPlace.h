#pragma once
// Where a top-level window stands, in the terms of its geometry record: Left, Top, Width and
// Height are twips of the outer frame. Qt places the client area, and the frame that a window
// manager adds is known only once it has framed the window (at the first show, or later).
//
// WindowFrame tells the frame; the workbench asks the windowing system, tests simulate one.
// WindowPlace puts a window at its record with the frame known then, puts it again once when
// the frame becomes known, and gives back the record to store: the one read as long as the
// window stands where it was put, so that neither the rounding to pixels nor a frame that was
// not known yet ever changes a stored place or size.
#include <QMargins>
#include <QRect>
#include <functional>

#include "state/AnalysisState.h"

class QObject;
class QWidget;

namespace tessan::ui {

class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    // The frame around the top-level window w in pixels; all zero while w is not framed.
    virtual QMargins margins(const QWidget& w) const;
    // The frame as the windowing system reports it (frameGeometry() around geometry()).
    static const WindowFrame& system();
};

class WindowPlace {
public:
    WindowPlace(QWidget& w, const WindowFrame& frame) : m_w(w), m_frame(frame) {}

    // Gives the window the outer rectangle r (twips) with the frame as known now.
    void place(const WinRect& r);
    // Call on show, move and resize. The first time the frame is known (true) it puts the
    // window at its record again, keeping what the user has already moved or resized.
    bool checkFrame();
    // Runs check (which calls checkFrame) a few times within a second after a show: a window
    // manager frames a window some time after it was shown, and Qt sends no event for that.
    static void checkFrameSoon(QObject* context, const std::function<void()>& check);
    // The record to store. Place and size each stay as read while the window keeps the place
    // or size it was given; otherwise they are the outer frame's, in 16-bit twips (saturated).
    WinRect current() const;
    // The frame as known now, in pixels.
    QMargins margins() const;

private:
    QWidget& m_w;
    const WindowFrame& m_frame;
    WinRect m_record;
    QRect m_placed;            // the client rectangle the window was given (pixels)
    bool m_framed = false;     // the frame was known when the window was last placed
};

}  // namespace tessan::ui
