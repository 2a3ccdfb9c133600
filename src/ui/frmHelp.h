#pragma once
// The help window frmHelp ("Help"): a bold title (Label0) and up to eight paragraphs
// (Label1(1..8), Left 120, word-wrapped; Label1(0) is never used), refilled for each topic.
//
// The user sets the width (at least plot::kHelpMinWidth twips); the height always follows the
// text: each paragraph is measured with the font in use for the label's width and stacked by
// plot::HelpStack, and the window's height is fixed to the result (within the screen), so a
// height dragged by hand cannot stay and a resize never asks for another one of the same size.
// A resize stores the outer width and the fitted height (record 9); the close box stores the
// place and size.
#include <QLabel>
#include <array>

#include "ui/ToolWindow.h"

namespace tessan::ui {

class frmHelp : public ToolWindow {
    Q_OBJECT
public:
    frmHelp(AnalysisState& s, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

    // Shows topic (0 the introduction, 1..6 the steps; see HelpTopics.h) modeless, in front.
    void ShowTopic(int topic);

    QLabel* Label0;                    // "Help - " and the topic's title
    std::array<QLabel*, 9> Label1;     // objectNames "Label1_0".."Label1_8"
    int nParas = 0;                    // paragraphs of the topic shown
    std::array<int, 11> ParaLen{};     // ParaLen[k]: characters of paragraph k

protected:
    void layoutControls() override;
    void Form_Resize() override;

private:
    int outerWidthTwips() const;
    // Lays the labels out for the present width and fixes the height to the text's.
    void arrange();
    int m_outerHeight = 0;   // twips: the height arrange() fitted
};

}  // namespace tessan::ui
