#pragma once
// The About window frmAbout ("About"): lines of text (Label1..Label10) on light grey, the title
// "Tessan" in bold, what the program does, its version, and where to report faults. It has no
// buttons and a fixed size; the close box closes it and stores its place (record 4).
#include <QLabel>
#include <array>

#include "ui/ToolWindow.h"

namespace tessan::ui {

class frmAbout : public ToolWindow {
    Q_OBJECT
public:
    frmAbout(AnalysisState& s, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

    std::array<QLabel*, 10> Label;   // objectNames "Label1".."Label10", top to bottom
};

}  // namespace tessan::ui
