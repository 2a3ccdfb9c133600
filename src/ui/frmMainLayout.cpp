// The main window's controls and menus, created in code at their design places (twips).
#include <QFont>
#include <QMenuBar>

#include "ui/Controls.h"
#include "ui/frmMain.h"

namespace tessan::ui {

namespace {
// Row tops in twips, from the title down.
constexpr int kTitle = 60, kHeads = 540, kRow1 = 780, kRow2 = 1260, kRow3 = 1740, kStatus = 2190,
              kRow4 = 2490, kRow5 = 2970, kStdObject = 3360, kRow6 = 3660, kRow7 = 4140;
// Columns: step labels, then the contents of a row; the file, object and wavelength columns.
constexpr int kStepLeft = 120, kStepWidth = 1980, kStepHeight = 400, kContent = 2160;
constexpr int kFileCol = 6240, kObjectCol = 8820, kBlueCol = 11400, kRedCol = 12780;
constexpr int kButtonH = 345, kTextH = 315, kLabelH = 255;
// The model list: two rows to the right of steps 3 and 4.
constexpr int kModelLeft = 7200, kModelPitch = 975, kModelWidth = 945;
constexpr int kModelUpper = 1740, kModelLower = 2250;
}  // namespace

void frmMain::buildControls() {
    auto* c = new QWidget(this);
    c->setObjectName(QStringLiteral("central"));
    setCentralWidget(c);
    QFont compact = font();
    compact.setPointSize(8);
    setFont(compact);

    auto label = [c](const char* name, const char* text, int x, int y, int w, int h = kLabelH) {
        auto* l = control<QLabel>(c, name, twipsRect(x, y, w, h));
        l->setTextFormat(Qt::PlainText);
        l->setText(QString::fromLatin1(text));
        return l;
    };
    auto step = [&](const char* name, const char* text, int y) {
        auto* l = label(name, text, kStepLeft, y - 30, kStepWidth, kStepHeight);
        l->setWordWrap(true);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    auto button = [c](const char* name, const char* caption, int x, int y, int w) {
        auto* b = control<QPushButton>(c, name, twipsRect(x, y, w, kButtonH));
        b->setText(QString::fromLatin1(caption));
        return b;
    };
    auto edit = [c](const char* name, const char* text, int x, int y, int w) {
        auto* e = control<QLineEdit>(c, name, twipsRect(x, y + 15, w, kTextH));
        e->setText(QString::fromLatin1(text));
        return e;
    };
    auto value = [&](const char* name, int x, int y, int w) { return label(name, "", x, y + 45, w); };

    Label30 = label("Label30", "Tessan vers. 29f", kStepLeft, kTitle, 5000, 450);
    QFont title = Label30->font();
    title.setPointSize(18);
    title.setBold(true);
    Label30->setFont(title);
    setForeColour(Label30, QColor(128, 0, 0));
    Text7 = edit("Text7", "Date", 10500, kTitle + 30, 3540);

    Label3 = label("Label3", "File", kFileCol, kHeads, 2460);
    Label6 = label("Label6", "OBJECT", kObjectCol, kHeads, 2460);
    Label9 = label("Label9", "Blue WaveL", kBlueCol, kHeads, 1260);
    Label12 = label("Label12", "Red WaveL", kRedCol, kHeads, 1260);

    Label1 = step("Label1", "1. Fits file - Standard", kRow1);
    Command1 = button("Command1", "Load", kContent, kRow1, 840);
    Command3 = button("Command3", "View hdr", 3060, kRow1, 960);
    Command5 = button("Command5", "View data", 4080, kRow1, 960);
    Command14 = button("Command14", "Plot data", 5100, kRow1, 960);
    Label4 = value("Label4", kFileCol, kRow1, 2460);
    Label7 = value("Label7", kObjectCol, kStdObject - 45, 2460);
    Label10 = value("Label10", kBlueCol, kRow1, 1260);
    Label13 = value("Label13", kRedCol, kRow1, 1260);

    Label15 = step("Label15", "2. Resample", kRow2);
    Label23 = label("Label23", "Min. waveL", kContent, kRow2 + 45, 1020);
    Text2 = edit("Text2", "", 3180, kRow2, 660);
    Label24 = label("Label24", "Max. waveL", 3900, kRow2 + 45, 1020);
    Text3 = edit("Text3", "", 4920, kRow2, 660);
    Label29 = label("Label29", "del V", 5640, kRow2 + 45, 480);
    Text5 = edit("Text5", "", 6150, kRow2, 600);
    Command7 = button("Command7", "Run", 6840, kRow2, 660);
    Label16 = label("Label16", "Vector w1:", 7620, kRow2 + 45, 960);
    Label17 = value("Label17", 8580, kRow2, 960);
    Label18 = value("Label18", 9600, kRow2, 1020);

    Label19 = step("Label19", "3. Design matrix", kRow3);
    Label20 = label("Label20", "BF span (must be odd integer), typ 201", kContent, kRow3 + 45, 3300);
    Text1 = edit("Text1", "201", 5520, kRow3, 660);
    Command8 = button("Command8", "Run", 6240, kRow3, 720);

    for (int k = 0; k <= lim::kMaxModels; ++k) {
        // Models 8..13 in the upper row, 1..7 in the lower; 0 sits unseen under model 1.
        const bool upper = k >= 8;
        const int col = upper ? k - 8 : (k == 0 ? 0 : k - 1);
        const int x = kModelLeft + col * kModelPitch, y = upper ? kModelUpper : kModelLower;
        Label34[k] = control<QLabel>(c, arrayName("Label34", k).toLatin1().constData(),
                                     twipsRect(x, y, kModelWidth, 225));
        Label34[k]->setTextFormat(Qt::PlainText);
        Option1[k] = control<QRadioButton>(c, arrayName("Option1", k).toLatin1().constData(),
                                           twipsRect(x, y + 225, kModelWidth, 255));
        Option1[k]->setText(QString::number(k));
    }
    Label28 = label("Label28", "", kContent, kStatus, 4900);

    Label21 = step("Label21", "4. Singular Value         Decomposition", kRow4);
    Command9 = button("Command9", "Run", kContent, kRow4, 720);
    Command10 = button("Command10", "Plot SVD result", 2940, kRow4, 1380);
    Command18 = button("Command18", "Save Model", 4380, kRow4, 1140);
    Command19 = button("Command19", "Load Model", 5580, kRow4, 1140);

    Label2 = step("Label2", "5. Fits file - Program ", kRow5);
    Command2 = button("Command2", "Load", kContent, kRow5, 840);
    Command4 = button("Command4", "View hdr", 3060, kRow5, 960);
    Command6 = button("Command6", "View data", 4080, kRow5, 960);
    Command15 = button("Command15", "Plot data", 5100, kRow5, 960);
    Label8 = value("Label8", kFileCol, kRow5, 2460);
    Label5 = value("Label5", kObjectCol, kRow5, 2460);
    Label11 = value("Label11", kBlueCol, kRow5, 1260);
    Label14 = value("Label14", kRedCol, kRow5, 1260);

    Label31 = step("Label31", "6. Do Cross-correlation", kRow6);
    Label32 = label("Label32", "Half width of scan", kContent, kRow6 + 45, 1500);
    Text6 = edit("Text6", "450", 3720, kRow6, 600);
    Label33 = label("Label33", "km/s", 4380, kRow6 + 45, 480);
    Command16 = button("Command16", "Run", 4920, kRow6, 720);
    Command17 = button("Command17", "Plot CCF", 5700, kRow6, 1020);

    Label25 = step("Label25", "7. Find Broadening Function", kRow7);
    Command11 = button("Command11", "Run", kContent, kRow7, 720);
    Label27 = value("Label27", 2940, kRow7, 900);
    Command12 = button("Command12", "Plot BFs", 3900, kRow7, 1020);
    Label26 = label("Label26", " Starting order, n =", 4980, kRow7 + 45, 1680);
    Text4 = edit("Text4", "35", 6660, kRow7, 540);
    Command13 = button("Command13", "Save BF results", 7260, kRow7, 1380);
}

void frmMain::buildMenus() {
    auto menu = [this](const char* name, const char* title) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(title));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("_action"));
        return m;
    };
    auto item = [](QMenu* m, const char* name, const char* caption) {
        QAction* a = m->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [](QMenu* m, const char* name) {
        QAction* a = m->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mFile = menu("mFile", "File");
    mLoadStd = item(mFile, "mLoadStd", "Load Std calibrated 1-D fits file ...");
    mLoadPro = item(mFile, "mLoadPro", "Load Prog calibrated 1-D fits file ...");
    mDashy = separator(mFile, "mDashy");
    mLoad = item(mFile, "mLoad", "Load model ...");
    mSave = item(mFile, "mSave", "Save model ...");
    mDump_models = item(mFile, "mDump_models", "Dump all models");
    dash1 = separator(mFile, "dash1");
    mExit = item(mFile, "mExit", "Exit");

    mSetKeywords = menu("mSetKeywords", "Set Keywords");
    mLambda0 = item(mSetKeywords, "mLambda0", "Lambda 0");
    mdLambda_dp = item(mSetKeywords, "mdLambda_dp", "dLambda/dPix");

    mHelp = menu("mHelp", "Help");
    mIntro = item(mHelp, "mIntro", "Introduction");
    m1Help = item(mHelp, "m1Help", "1. Fits file - Standard");
    m2Help = item(mHelp, "m2Help", "2. Resample");
    m3Help = item(mHelp, "m3Help", "3. Design matrix");
    m4Help = item(mHelp, "m4Help", "4. Singular Value Decomp");
    m5Help = item(mHelp, "m5Help", "5. Fits file - Program");
    m6Help = item(mHelp, "m6Help", "6. Find Broadening Functions");
    mdash2 = separator(mHelp, "mdash2");
    mAbout = item(mHelp, "mAbout", "About");
}

}  // namespace tessan::ui
