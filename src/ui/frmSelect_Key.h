#pragma once
// The keyword windows frmSelect_Key1 ("Select Lambda0 keyword", sets Lambda0_Key) and
// frmSelect_Key2 ("Select dLambda/dPix keyword", sets dLambda_Key): one class over which = 1
// or 2. List1 holds the cards of the header read most recently, as they were when the window
// was loaded; OK or a double click takes the keyword of the card chosen there (kept with the
// list, so a file read since cannot change it) and hides the window. OK with no card chosen
// and Cancel leave the keyword as it is: an empty keyword names no wavelength. The keyword
// takes effect at the next FITS read; the settings file keeps it.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

#include "ui/ToolWindow.h"

namespace tessan::ui {

class frmSelect_Key : public ToolWindow {
    Q_OBJECT
public:
    frmSelect_Key(int which, AnalysisState& s, QWidget* owner, const WindowFrame& frame = WindowFrame::system());

    QLabel *Label1, *Label2, *Label3;
    QListWidget* List1;                    // one entry per card
    QPushButton *Command1, *Command2;      // "OK", "Cancel"

protected:
    void Form_Resize() override { storeGeometry(); }
    void layoutControls() override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Command1_Click();
    void Command2_Click();
    std::string& target() const;

    int m_which;
    std::vector<std::string> m_keys;   // the keywords of the listed cards, in list order
};

}  // namespace tessan::ui
