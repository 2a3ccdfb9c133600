#pragma once
// The one analysis state. main() owns the single instance and hands a reference to every
// window and procedure; each step overwrites the items it produces and leaves the rest.
//
// Conventions: arrays are 1-based (Vec, Mat of state/Array.h) and allocated once at the
// system's limits (state/Limits.h); the model store's slots are sized when filled. Items the
// system keeps as signed 16-bit integers are held in int and kept within -32768..32767 by
// whoever writes them (text/Int16.h reports an overflow instead of wrapping).
//
// Pixel counts: NAXIS1 is the value read from the last header (or restored by the last model
// selection). Each star also keeps its own count (nPixStd, nPixPro) for its views, and the
// grid keeps the count it was built with (nGrid), which drives resampling, the design
// matrix, the decomposition, the BFs and the cross-correlation.
#include <array>
#include <cstdint>
#include <string>

#include "state/Array.h"
#include "state/Limits.h"
#include "state/ModelSlot.h"

namespace tessan {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// What a set of BFs belongs to: the span, span2 and delV of the model they were computed with
// and the file names and objects of the standard and the program star. run counts the runs of
// step 7 (0: none yet), so that a copy can tell whether the BFs were computed again since.
struct BfIdentity {
    int span = 0, span2 = 0;
    double delV = 0;                         // km/s
    std::string StdFileName, StdObject, ProFileName, ProObject;
    int run = 0;
    // The velocity of BF point i in km/s: (i - span2 - 1) x delV.
    double Velocity(int i) const { return (i - span2 - 1) * delV; }
    bool operator==(const BfIdentity&) const = default;
};

// Window position and size in twips (settings records 4 to 22).
struct WinPos {
    int Left = 500, Top = 500;
};
struct WinRect {
    int Left = 500, Top = 500, Width = 0, Height = 0;
};

// Every window's stored geometry, in the order of the settings file. A default-constructed
// Geometry holds the defaults that apply when the settings file cannot be read.
struct Geometry {
    WinPos frmAbout;                                        // record 4
    WinRect frmDisplayData_Pro{500, 500, 1500, 10000};      // record 5
    WinRect frmDisplayData_Std{500, 500, 1500, 10000};      // record 6
    WinRect frmDisplayHdr_Pro{500, 500, 4000, 10000};       // record 7
    WinRect frmDisplayHdr_Std{500, 500, 4000, 10000};       // record 8
    WinRect frmHelp{500, 500, 10000, 4000};                 // record 9
    WinPos frmLoad_model;                                   // record 10
    WinPos frmLoadPro;                                      // record 11
    WinPos frmLoadStd;                                      // record 12
    WinRect frmMain{500, 500, 14385, 5655};                 // record 13
    WinRect frmPlotData_bb{500, 500, 8000, 8000};           // record 14
    WinRect frmPlotData_CC{500, 500, 8000, 8000};           // record 15
    WinRect frmPlotdata_ww{500, 500, 8000, 8000};           // record 16
    WinPos frmSave_bb;                                      // record 17
    WinPos frmSave_model;                                   // record 18
    WinPos frmSelect_Key1;                                  // record 19
    WinPos frmSelect_Key2;                                  // record 20
    WinRect frmPlot_Spectr_Pro{8625, 1335, 13755, 5250};    // record 21
    WinRect frmPlot_Spectr_Std{8625, 1335, 13755, 5250};    // record 22
};

struct AnalysisState {
    // Whole: every array at the system's limits. NoDecomposition: a working state that measures
    // program stars against the model of another (ShareModel, steps/ModelSteps.h), without room
    // for a design matrix and decomposition of its own (des, U, ww and Vt empty).
    enum class Room { Whole, NoDecomposition };
    explicit AnalysisState(Room room = Room::Whole);

    // --- Files and directories (set by the file dialogs) ---
    std::string DataPath;                    // settings record 1
    std::string StdFileName, ProFileName;
    std::string StdFullPath, ProFullPath;
    std::string ModelFileName, ModelFullPath;
    std::string BBFileName, BBFullPath;

    // --- FITS keywords and headers ---
    std::string Lambda0_Key;                 // settings record 2
    std::string dLambda_Key;                 // settings record 3
    Vec1<std::string> StdHdr, StdKey, StdVal;    // 1..200
    Vec1<std::string> ProHdr, ProKey, ProVal;    // 1..200
    Vec1<std::string> LastHdr, LastKey;          // 1..200, the header read most recently
    int nRecords_StdHdr = 0, nRecords_ProHdr = 0, nRecords_LastHdr = 0;
    double NAXIS = 0, NAXIS1 = 0, NAXIS2 = 0;
    int NAXIS3 = 0;
    double BSCALE = 0, BZERO = 0;

    // --- Standard star (step 1; restored by model selection) ---
    std::string StdObject;
    double WaveL_B_Std = 0, dLambda_dp_Std = 0, WaveL_R_Std = 0;
    Vec Pixval, ws, ss;                      // 1..3000
    int nPixStd = 0;                         // pixels of the standard in Pixval, ws, ss

    // --- Program star (step 5) ---
    std::string ProObject;
    double WaveL_B_Pro = 0, dLambda_dp_Pro = 0, WaveL_R_Pro = 0;
    Vec Pixval_Pro, wp, sp;                  // 1..3000
    int nPixPro = 0;                         // pixels of the program star

    // --- Velocity grid (step 2) ---
    double Min_waveL = 0;
    double Max_waveL = 0;                    // upper end typed for the last resampling (not used further)
    double delV = 0;                         // km/s
    double r1 = 0;
    Vec w1, ssr, spr;                        // 1..3000
    int nGrid = 0;                           // points of w1, ssr, spr
    double c_kms = 299792.458;               // speed of light for the cross-correlation

    // --- Design matrix and decomposition (steps 3 and 4) ---
    int span = 0;
    int span2 = 0;
    Mat des, U;                              // (1..3000, 1..500)
    Vec ww;                                  // 1..500
    Mat Vt;                                  // (1..500, 1..500), holds V
    Vec Order_n;                             // 1..500
    // The four validity marks are set only by the helpers of steps/Validity.h.
    // ssr may be used for the cross-correlation: set by a design matrix built from it and by
    // choosing a model that brings it, cleared by a standard read.
    bool ssrAvailable = false;
    // des was built from the grid and ssr in hand (or restored with a model). Cleared by a
    // resampling and by a standard read, so that step 4 never decomposes a matrix of another
    // grid or standard.
    bool desValid = false;
    // ssr is known not to be the standard in hand resampled onto the grid in hand: set by a
    // standard read and by choosing a model that brings no usable resampled standard, cleared
    // by a resampling. The design matrix is not built from such an ssr.
    bool ssrStale = false;
    // The decomposition in U, ww, Vt belongs to the design matrix of this run and finished;
    // cleared when a step 4 fails so that a half-finished decomposition is never used.
    bool svdValid = false;

    // --- Broadening functions (step 7) and their display ---
    Mat bb;                                  // bb(i, n), (1..500, 1..500)
    BfIdentity bbIdentity;                   // what bb belongs to, set by step 7
    BfIdentity bbShown;                      // what vel_bb, bb_n, bb_sm belong to: bbIdentity
                                             // when CopyBfOrder copied the shown order
    int bbOrder = 0;
    Vec vel_bb, bb_n;                        // 1..500
    Vec bb_sm;                               // 0..500
    bool Smoothed = false;
    double SmoothWidth = 0;
    Vec Kernel;                              // 0..50
    int KernelHalf = 0;
    Vec PkX, PkY;                            // 0..10, 1..5 used
    double PeakResult = 0;
    double CursorVel = 0;                    // km/s under the mouse in the BF or CCF window

    // --- Gaussian fit (BF window) ---
    std::array<double, 4> PeakXo{}, PeakWidth{}, PeakHeight{};   // stars 1..3
    std::array<bool, 4> Drawn{};
    Mat ModelCurve;                          // (1..3, 1..500)
    std::array<Rgb, 4> CurveColour{};
    int CurStar = 1;
    Vec FitPar;                              // 1..9
    Vec FitX, FitY, FitSig;                  // 1..1000
    Vec FitList;                             // 1..9, set to 1..9 at start
    Mat Alpha, Covar;                        // (1..9, 1..9)
    double ChiSq = 0, Lambda = 0;
    double FitVmin = 0, FitVmax = 0;
    bool GaussFitMode = false;               // settings record 23
    bool bbCombo1Flag = false;               // settings record 23: three stars
    bool bbCombo2Flag = false;               // settings record 24: fit range "Auto"

    // --- Cross-correlation (step 6) ---
    double ScanHalfWidth = 0;
    int ccN = 0;
    SymVec cc{lim::kMaxLag}, vel_cc{lim::kMaxLag};   // -2000..2000
    double ccXmin = 0, ccXmax = 0;                   // abscissa limits of the CCF frame

    // --- Models ---
    int nModels = 0;
    int CurModel = 0;
    std::array<ModelSlot, lim::kMaxModels + 1> Models;   // slots 0..13; 1..13 are filled

    // --- Windows and presentation ---
    Geometry geom;
    Rgb ColEnabled{0, 0, 0}, ColDisabled{128, 128, 128}, ColBack{255, 255, 255}, ColRed{255, 0, 0},
        ColNavy{0, 0, 128}, ColGreen{0, 128, 0}, ColPurple{64, 0, 64};
    Vec1<std::string> ErrText;               // 0..1000, filled by FillErrText
};

// Start-up fillings of the main window: the colour table and the error texts.
void FillColours(AnalysisState& s);
void FillErrText(AnalysisState& s);

}  // namespace tessan
