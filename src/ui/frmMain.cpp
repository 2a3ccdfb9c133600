#include "ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>

#include "io/Settings.h"
#include "numeric/Resample.h"
#include "text/Int16.h"
#include "text/NumText.h"
#include "ui/Controls.h"
#include "ui/frmPlotData_CC.h"
#include "ui/frmPlotData_bb.h"
#include "ui/frmPlotStar.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmPlotdata_ww.h"
#include "ui/frmSelect_Key.h"
#include "ui/TextViewer.h"

namespace tessan::ui {

QString mainTitle(const QString& text7) { return QStringLiteral("Morvath Broadening Functions from ") + text7; }

frmMain::frmMain(AnalysisState& s, Platform& p, Printing& printing, QWidget* parent, const WindowFrame& frame)
    : QMainWindow(parent), m_s(s), m_p(p), m_printing(printing), m_windows(this, frame), m_place(*this, frame) {
    setObjectName(QStringLiteral("frmMain"));
    registerWindows();
    buildControls();
    buildMenus();
    setWindowTitle(mainTitle(QString()));
    connectHandlers();
    Form_Load();
    // The end of the process without the window being closed (a session ending) unloads too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_unloaded) Form_Unload();
    });
}

void frmMain::Form_Load() {
    FillColours(m_s);
    m_s.nModels = 0;
    m_s.c_kms = 299792.458;
    for (int k = 0; k <= lim::kMaxModels; ++k) {
        Option1[k]->hide();
        Label34[k]->clear();
    }
    for (int k = 1; k <= 9; ++k) m_s.FitList(k) = k;
    FillErrText(m_s);
    LoadSettings(m_s, m_p.WorkDir());
    m_place.place(m_s.geom.frmMain);
    for (int k = 0; k < m_windows.count<FileDialog>(); ++k) m_windows.get<FileDialog>(k);   // primed as built
    for (QPushButton* b : {Command3, Command5, Command14, Command7, Command8, Command9, Command10, Command18,
                           Command4, Command6, Command15, Command16, Command17, Command11, Command12, Command13})
        b->setEnabled(false);
    Text1->setEnabled(false);
    for (QLabel* l : {Label1, Label15, Label19, Label21, Label2, Label31, Label25}) setDone(l, false);
    Command1->setFocus();   // step 1's "Load" is where a run starts
}

// Once the window manager has framed the window, the stored outer size is given again.
void frmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    m_place.checkFrame();
    WindowPlace::checkFrameSoon(this, [this] { m_place.checkFrame(); });
}

void frmMain::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    m_place.checkFrame();
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    m_place.checkFrame();
}

void frmMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
}

void frmMain::Form_Unload() {
    m_unloaded = true;
    // The other windows first, so that their last positions are kept too.
    m_windows.closeAll();
    m_s.geom.frmMain = m_place.current();
    (void)SaveSettings(m_s, m_p.WorkDir());   // a failure to write the settings is silent
}

// Every other window, each with the function that builds it (with the follow-ups it reports to).
void frmMain::registerWindows() {
    for (DialogKind kind : kDialogKinds)
        m_windows.add<FileDialog>(static_cast<int>(kind), [this, kind] {
            auto* d = new FileDialog(kind, m_s, m_p, m_windows.owner(), m_windows.frame());
            if (kind == DialogKind::LoadStd) d->onFitsRead = [this](FitsOutcome o) { StdReadDone(o); };
            if (kind == DialogKind::LoadPro) d->onFitsRead = [this](FitsOutcome o) { ProReadDone(o); };
            if (kind == DialogKind::LoadModel)
                d->onModelLoaded = [this](const ModelLoadOutcome& o) { ModelLoadDone(o); };
            return d;
        });
    m_windows.add<frmPlotdata_ww>([this] { return new frmPlotdata_ww(m_s, m_p, m_printing, m_windows.owner(), m_windows.frame()); });
    for (Star star : {Star::Std, Star::Pro})
        m_windows.add<frmPlot_Spectr>(static_cast<int>(star), [this, star] {
            return new frmPlot_Spectr(star, m_s, m_p, m_printing, m_windows.owner(), m_windows.frame());
        });
    m_windows.add<frmHelp>([this] { return new frmHelp(m_s, m_windows.owner(), m_windows.frame()); });
    m_windows.add<frmAbout>([this] { return new frmAbout(m_s, m_windows.owner(), m_windows.frame()); });
    m_windows.add<frmPlotData_CC>([this] { return new frmPlotData_CC(m_s, m_p, m_printing, m_windows.owner(), m_windows.frame()); });
    m_windows.add<frmPlotData_bb>(
        [this] { return new frmPlotData_bb(m_s, m_p, m_printing, m_windows, m_windows.owner(), m_windows.frame()); });
    for (Star star : {Star::Std, Star::Pro}) {
        m_windows.add<frmDisplayHdr>(static_cast<int>(star),
                                     [this, star] { return new frmDisplayHdr(star, m_s, m_windows.owner(), m_windows.frame()); });
        m_windows.add<frmDisplayData>(static_cast<int>(star),
                                      [this, star] { return new frmDisplayData(star, m_s, m_windows.owner(), m_windows.frame()); });
    }
    for (int which : {1, 2})
        m_windows.add<frmSelect_Key>(which, [this, which] { return new frmSelect_Key(which, m_s, m_windows.owner(), m_windows.frame()); });
}

void frmMain::hideDialog(DialogKind kind) {
    // Never creates one: a follow-up that runs while the process is ending (its dialogs
    // already closed) must not build a window again.
    m_windows.hide<FileDialog>(static_cast<int>(kind));
}

void frmMain::openDialog(DialogKind kind) { OpenDialog(m_windows, kind); }

void frmMain::setDone(QLabel* stepLabel, bool done) {
    setForeColour(stepLabel, qcolour(done ? m_s.ColEnabled : m_s.ColRed));
}

void frmMain::showModelLabel(int k, const QString& label) { setElidedText(Label34[k], label); }

void frmMain::StdReadDone(FitsOutcome o) {
    if (o == FitsOutcome::Done) {
        showStandard();
        const GridProposal g = ProposeGrid(m_s);
        Text2->setText(qs(g.minWave));
        Text3->setText(qs(g.maxWave));
        Text5->setText(qs(g.delV));
        setDone(Label1, true);
        for (QPushButton* b : {Command7, Command3, Command5, Command14}) b->setEnabled(true);
        mSetKeywords->menuAction()->setEnabled(true);
        for (QPushButton* b : {Command8, Command9, Command10, Command18}) b->setEnabled(false);
    }
    hideDialog(DialogKind::LoadStd);
    Command13->setEnabled(false);
    Label28->clear();
}

void frmMain::ProReadDone(FitsOutcome o) {
    if (o == FitsOutcome::Done) {
        Label8->setText(qs(m_s.ProFileName));
        Label5->setText(qs(m_s.ProObject));
        Label11->setText(qs(WaveLabel(m_s.WaveL_B_Pro)));
        Label14->setText(qs(WaveLabel(m_s.WaveL_R_Pro)));
        setDone(Label2, true);
        for (QPushButton* b : {Command4, Command6, Command15, Command16}) b->setEnabled(true);
        mSetKeywords->menuAction()->setEnabled(true);
    }
    hideDialog(DialogKind::LoadPro);
    Command11->setEnabled(true);
    setDone(Label25, false);
    for (QPushButton* b : {Command17, Command12, Command13}) b->setEnabled(false);
    Label27->clear();
}

void frmMain::ModelLoadDone(const ModelLoadOutcome& o) {
    if (o.kind != ModelLoadOutcome::Failed) {
        if (o.kind == ModelLoadOutcome::Loaded && o.slot >= 1 && o.slot <= lim::kMaxModels) {
            Option1[o.slot]->show();
            showModelLabel(o.slot, qs(o.label));
            Option1_Click(o.slot);   // choosing the new model runs the list's click rule
        }
        for (QPushButton* b : {Command3, Command5, Command14, Command7, Command10}) b->setEnabled(true);
        Label27->clear();
        Command12->setEnabled(false);
        Command13->setEnabled(false);
        showGrid();
    }
    hideDialog(DialogKind::LoadModel);
}

void frmMain::showStandard() {
    Label4->setText(qs(m_s.StdFileName));
    Label7->setText(qs(m_s.StdObject));
    Label10->setText(qs(WaveLabel(m_s.WaveL_B_Std)));
    Label13->setText(qs(WaveLabel(m_s.WaveL_R_Std)));
}

void frmMain::showGrid() {
    Label17->setText(qs(GridLabelFirst(m_s)));
    Label18->setText(qs(GridLabelLast(m_s)));
}

void frmMain::showSelectedStandard() {
    showStandard();
    Text2->setText(qs(PlainText(IntPart(m_s.WaveL_B_Std + 10))));
    Text3->setText(qs(PlainText(IntPart(m_s.WaveL_R_Std - 10))));
    mSetKeywords->menuAction()->setEnabled(true);
}

void frmMain::Text7_Change() { setWindowTitle(mainTitle(Text7->text())); }

}  // namespace tessan::ui
