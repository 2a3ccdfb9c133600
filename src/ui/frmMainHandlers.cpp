// The main window's button and menu handlers: each reads its controls, calls one core
// procedure and applies the gating that follows.
#include <algorithm>
#include <utility>
#include <vector>

#include "numeric/Bf.h"
#include "state/ErrText.h"
#include "steps/ModelSteps.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "text/Int16.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/HelpTopics.h"
#include "ui/StepRun.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"
#include "ui/frmPlotData_CC.h"
#include "ui/frmPlotData_bb.h"
#include "ui/frmPlotStar.h"
#include "ui/frmPlotdata_ww.h"
#include "ui/frmSelect_Key.h"
#include "ui/TextViewer.h"

namespace tessan::ui {

namespace {
std::string text(const QLineEdit* e) { return e->text().toStdString(); }
// No model of the list is chosen: an exclusive button cannot simply be unchecked.
void chooseNone(const std::array<QRadioButton*, 14>& options) {
    for (QRadioButton* o : options) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}
}  // namespace

void frmMain::connectHandlers() {
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command7, &QPushButton::clicked, this, &frmMain::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &frmMain::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &frmMain::Command9_Click);
    connect(Command11, &QPushButton::clicked, this, &frmMain::Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &frmMain::Command12_Click);
    connect(Command13, &QPushButton::clicked, this, &frmMain::Command13_Click);
    connect(Command16, &QPushButton::clicked, this, &frmMain::Command16_Click);
    connect(Command18, &QPushButton::clicked, this, &frmMain::mSave_Click);
    connect(Command19, &QPushButton::clicked, this, &frmMain::mLoad_Click);
    connect(Command10, &QPushButton::clicked, this, &frmMain::Command10_Click);
    connect(Command14, &QPushButton::clicked, this, &frmMain::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &frmMain::Command15_Click);
    connect(Command17, &QPushButton::clicked, this, &frmMain::Command17_Click);
    // The viewers always show the file read last: the standard's header at its page, the
    // others printed whole from the top.
    connect(Command3, &QPushButton::clicked, this, [this] { m_windows.get<frmDisplayHdr>(int(Star::Std))->ShowCurrent(false); });
    connect(Command4, &QPushButton::clicked, this, [this] { m_windows.get<frmDisplayHdr>(int(Star::Pro))->ShowCurrent(true); });
    connect(Command5, &QPushButton::clicked, this, [this] { m_windows.get<frmDisplayData>(int(Star::Std))->ShowCurrent(true); });
    connect(Command6, &QPushButton::clicked, this, [this] { m_windows.get<frmDisplayData>(int(Star::Pro))->ShowCurrent(true); });
    for (int k = 0; k <= lim::kMaxModels; ++k)
        connect(Option1[k], &QRadioButton::clicked, this, [this, k] { Option1_Click(k); });
    connect(Text7, &QLineEdit::textChanged, this, &frmMain::Text7_Change);

    connect(mLoadStd, &QAction::triggered, this, &frmMain::Command1_Click);
    connect(mLoadPro, &QAction::triggered, this, &frmMain::Command2_Click);
    connect(mLoad, &QAction::triggered, this, &frmMain::mLoad_Click);
    connect(mSave, &QAction::triggered, this, &frmMain::mSave_Click);
    connect(mDump_models, &QAction::triggered, this, &frmMain::mDump_models_Click);
    connect(mExit, &QAction::triggered, this, &QWidget::close);
    connect(mLambda0, &QAction::triggered, this, [this] { m_windows.get<frmSelect_Key>(1)->present(); });
    connect(mdLambda_dp, &QAction::triggered, this, [this] { m_windows.get<frmSelect_Key>(2)->present(); });
    const std::array<QAction*, kHelpTopics> help{mIntro, m1Help, m2Help, m3Help, m4Help, m5Help, m6Help};
    for (int k = 0; k < kHelpTopics; ++k) connect(help[k], &QAction::triggered, this, [this, k] { mHelp_Click(k); });
    connect(mAbout, &QAction::triggered, this, &frmMain::mAbout_Click);
}


// The Help menu: the help window shows the topic (refilled when it is already open).
void frmMain::mHelp_Click(int topic) { m_windows.get<frmHelp>()->ShowTopic(topic); }
void frmMain::mAbout_Click() { m_windows.get<frmAbout>()->present(); }

void frmMain::Command1_Click() { openDialog(DialogKind::LoadStd); }
void frmMain::Command2_Click() { openDialog(DialogKind::LoadPro); }
void frmMain::mLoad_Click() { openDialog(DialogKind::LoadModel); }
void frmMain::mSave_Click() { openDialog(DialogKind::SaveModel); }
void frmMain::Command13_Click() { openDialog(DialogKind::SaveBb); }

// The plot buttons: each window is built on first use and draws its plot anew.
void frmMain::Command10_Click() {
    for (int k = 1; k <= std::min(m_s.span, m_s.Order_n.size()); ++k) m_s.Order_n(k) = k;
    m_windows.get<frmPlotdata_ww>()->Plot();
}
void frmMain::Command14_Click() { m_windows.get<frmPlot_Spectr>(static_cast<int>(Star::Std))->Plot(); }
void frmMain::Command15_Click() { m_windows.get<frmPlot_Spectr>(static_cast<int>(Star::Pro))->Plot(); }
void frmMain::Command17_Click() { m_windows.get<frmPlotData_CC>()->Plot(); }

void frmMain::Command7_Click() {
    if (!Resample(m_s, m_p, text(Text5), text(Text2), text(Text3))) return;   // refused: nothing changes
    showGrid();
    setDone(Label15, true);
    Text1->setEnabled(true);
    Command8->setEnabled(true);
}

void frmMain::Command8_Click() {
    const DesignOutcome o = Design_matrix(m_s, m_p, text(Text1));
    if (o.text1) Text1->setText(qs(*o.text1));
    // Only a matrix built from the span in Text1 can be decomposed: after a refused span (an
    // even one included, whose next odd number is now in Text1) the matrix in hand is that of
    // another span, so step 4 waits until this step has run with a valid one.
    setDone(Label19, o.built);
    Command9->setEnabled(o.built);
}

void frmMain::Command9_Click() {
    std::vector<std::pair<QAction*, bool>> menus;
    for (QMenu* m : {mFile, mSetKeywords, mHelp}) menus.emplace_back(m->menuAction(), m->menuAction()->isEnabled());
    std::vector<std::pair<QPushButton*, bool>> buttons;
    for (QPushButton* b : {Command1, Command3, Command5, Command14, Command7, Command8, Command9, Command10,
                           Command18, Command19, Command2})
        buttons.emplace_back(b, b->isEnabled());
    for (auto& [a, on] : menus) a->setEnabled(false);
    for (auto& [b, on] : buttons) b->setEnabled(false);
    Command9->setText(QStringLiteral("WAIT"));
    Command10->setText(QStringLiteral("WAIT"));

    StepRun run(m_p, this);
    const bool ok = run.run([this](Platform& p) { return RunSvdStep(m_s, p); });

    for (auto& [a, on] : menus) a->setEnabled(on);
    for (auto& [b, on] : buttons) b->setEnabled(on);
    Command9->setText(QStringLiteral("Run"));
    Command10->setText(QStringLiteral("Plot SVD result"));
    // Only a finished decomposition can be plotted or saved.
    Command10->setEnabled(ok);
    Command18->setEnabled(ok);
    setDone(Label21, ok);
    if (ok) {
        Label28->setText(QStringLiteral("Now you can save the model."));
        // The model just computed is the one steps 6 and 7 use, not a stored one.
        m_s.CurModel = 0;
        chooseNone(Option1);
    }
    if (run.closeRequested()) close();
}

void frmMain::Command16_Click() {
    // The step selects the stored model in use unless it refuses at once for want of a
    // resampled standard; the window then shows that model's standard.
    const bool selects = m_s.CurModel >= 1 && m_s.ssrAvailable;
    const bool ok = RunCcfStep(m_s, m_p, text(Text6));
    if (selects) {
        showSelectedStandard();
        showGrid();
    }
    if (!ok) return;
    Command17->setEnabled(true);
    // A CCF window already drawn shows the new CCF, so that a click there measures what it shows.
    if (auto* cc = m_windows.find<frmPlotData_CC>()) cc->Replot();
}

void frmMain::Command11_Click() {
    Command11->setText(QStringLiteral("WAIT"));
    Command11->setEnabled(false);
    const bool selects = m_s.CurModel >= 1;   // the step starts by selecting the model in use
    StepRun run(m_p, this);
    const bool ok = run.run([this](Platform& p) { return RunBfStep(m_s, p); });
    Command11->setEnabled(true);
    Command11->setText(QStringLiteral("Run"));
    if (selects) {
        showSelectedStandard();
        showGrid();
    }
    if (ok) {
        Label27->setText(QStringLiteral("DONE!"));
        Command12->setEnabled(true);
        setDone(Label25, true);
        Command13->setEnabled(true);
    }
    if (run.closeRequested()) close();
}

void frmMain::Command12_Click() {
    const std::optional<int> order = ToInt16(Val(text(Text4)));
    if (!order) {   // the order is a 16-bit item: refuse rather than wrap
        m_p.MsgBox(ErrTextFor(err::kOverflow));
        return;
    }
    if (CopyBfOrder(m_s, *order) == 0) return;   // no BFs computed
    m_windows.get<frmPlotData_bb>()->PlotBfs();
}

void frmMain::Option1_Click(int k) {
    m_s.CurModel = k;
    const bool selected = Select_model(m_s, k);
    Option1[k]->setChecked(true);
    Command12->setEnabled(false);   // the BFs computed so far belong to another model
    if (selected) {
        showSelectedStandard();
        showGrid();
    }
}

void frmMain::mDump_models_Click() {
    for (int k : DumpModels(m_s)) {
        if (k < 1 || k > lim::kMaxModels) continue;
        Option1[k]->hide();
        showModelLabel(k, QString());
    }
}

}  // namespace tessan::ui
