#pragma once
// The main window: one row per step of the analysis, the model list, and the menus. It reads
// its text boxes, calls one core procedure per step and applies the control changes that follow,
// so the workflow's gating (enabled buttons, red or black step labels) lives here alone.
//
// Owns nothing of the analysis: the state, the Platform and the current printer are main()'s
// and handed down.
// Owns every other window through its registry: the five file dialogs are built at start
// (primed), the others on first use; at unload each stores its geometry before the settings
// are written.
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "io/FitsReader.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"
#include "steps/ModelSteps.h"
#include "ui/FileDialog.h"
#include "ui/Printing.h"
#include "ui/WindowPlace.h"
#include "ui/WindowRegistry.h"

namespace tessan::ui {

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // frame tells the windows their window frame (the windowing system's unless simulated).
    frmMain(AnalysisState& s, Platform& p, Printing& printing, QWidget* parent = nullptr,
            const WindowFrame& frame = WindowFrame::system());

    // The owner of the other windows, for windows that open others.
    WindowRegistry& windows() { return m_windows; }
    // The dialog of the given kind, created anew if its close box closed it.
    FileDialog* dialog(DialogKind kind) { return m_windows.get<FileDialog>(static_cast<int>(kind)); }

    // Title row and column heads
    QLabel* Label30;          // "Tessan vers. 29f"
    QLineEdit* Text7;         // "Date"
    QLabel *Label3, *Label6, *Label9, *Label12;   // "File", "OBJECT", "Blue WaveL", "Red WaveL"
    // Step 1
    QLabel* Label1;           // "1. Fits file - Standard"
    QPushButton *Command1, *Command3, *Command5, *Command14;   // "Load", "View hdr", "View data", "Plot data"
    QLabel *Label4, *Label7, *Label10, *Label13;              // file, object, blue, red
    // Step 2
    QLabel* Label15;          // "2. Resample"
    QLabel* Label23;          // "Min. waveL"
    QLineEdit* Text2;
    QLabel* Label24;          // "Max. waveL"
    QLineEdit* Text3;
    QLabel* Label29;          // "del V"
    QLineEdit* Text5;
    QPushButton* Command7;    // "Run"
    QLabel *Label16, *Label17, *Label18;   // "Vector w1:", first and last grid wavelength
    // Step 3
    QLabel* Label19;          // "3. Design matrix"
    QLabel* Label20;          // "BF span (must be odd integer), typ 201"
    QLineEdit* Text1;         // "201"
    QPushButton* Command8;    // "Run"
    // Models 0..kMaxModels (0 is never shown) and the status line
    std::array<QRadioButton*, lim::kMaxModels + 1> Option1;   // objectNames "Option1_0".."Option1_13"
    std::array<QLabel*, lim::kMaxModels + 1> Label34;         // objectNames "Label34_0".."Label34_13"
    QLabel* Label28;
    // Step 4
    QLabel* Label21;          // "4. Singular Value         Decomposition"
    QPushButton *Command9, *Command10, *Command18, *Command19;   // "Run", "Plot SVD result", "Save Model", "Load Model"
    // Step 5
    QLabel* Label2;           // "5. Fits file - Program "
    QPushButton *Command2, *Command4, *Command6, *Command15;    // "Load", "View hdr", "View data", "Plot data"
    QLabel *Label8, *Label5, *Label11, *Label14;               // file, object, blue, red
    // Step 6
    QLabel* Label31;          // "6. Do Cross-correlation"
    QLabel* Label32;          // "Half width of scan"
    QLineEdit* Text6;         // "450"
    QLabel* Label33;          // "km/s"
    QPushButton *Command16, *Command17;   // "Run", "Plot CCF"
    // Step 7
    QLabel* Label25;          // "7. Find Broadening Function"
    QPushButton* Command11;   // "Run"
    QLabel* Label27;          // status
    QPushButton* Command12;   // "Plot BFs"
    QLabel* Label26;          // " Starting order, n ="
    QLineEdit* Text4;         // "35"
    QPushButton* Command13;   // "Save BF results"
    // Menus
    QMenu *mFile, *mSetKeywords, *mHelp;
    QAction *mLoadStd, *mLoadPro, *mDashy, *mLoad, *mSave, *mDump_models, *dash1, *mExit;
    QAction *mLambda0, *mdLambda_dp;
    QAction *mIntro, *m1Help, *m2Help, *m3Help, *m4Help, *m5Help, *m6Help, *mdash2, *mAbout;

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void registerWindows();
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void Form_Load();
    void Form_Unload();

    // Handlers
    void Command1_Click();
    void Command2_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command16_Click();
    void Command10_Click();
    void Command14_Click();
    void Command15_Click();
    void Command17_Click();
    void Option1_Click(int k);
    void Text7_Change();
    void mLoad_Click();
    void mSave_Click();
    void mDump_models_Click();
    // mIntro (topic 0) and m1Help..m6Help (topics 1..6).
    void mHelp_Click(int topic);
    void mAbout_Click();

    // Follow-ups of the dialogs' operations
    void StdReadDone(FitsOutcome o);
    void ProReadDone(FitsOutcome o);
    void ModelLoadDone(const ModelLoadOutcome& o);

    void openDialog(DialogKind kind);
    // Hides the dialog of the given kind if it exists.
    void hideDialog(DialogKind kind);
    // Label4, Label7, Label10, Label13 from the standard in the working state.
    void showStandard();
    // Label17 and Label18 from the grid in the working state.
    void showGrid();
    // The standard of a selected model: its labels, the grid range proposed in Text2 and Text3.
    void showSelectedStandard();
    void setDone(QLabel* stepLabel, bool done);
    // Label34(k) and its tooltip for model k's label (empty to clear it).
    void showModelLabel(int k, const QString& label);

    AnalysisState& m_s;
    Platform& m_p;
    Printing& m_printing;   // the current printer, shared by the plot windows
    WindowRegistry m_windows;
    WindowPlace m_place;
    bool m_unloaded = false;   // the settings have been written
};

// The window title for the text of Text7.
QString mainTitle(const QString& text7);

}  // namespace tessan::ui
