// The main window: the start state, the title rule, the settings written at exit, refusals
// that must change nothing, and the workflow walked end to end through it and its dialogs.
#include <QRadioButton>
#include <functional>
#include <set>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

QRadioButton* model(const Bench& b, int k) { return b.c<QRadioButton>(arrayName("Option1", k)); }

// Every button's enabled state and every label's and box's text, to compare before and after.
QStringList snapshot(const Bench& b) {
    QStringList out;
    for (auto* w : b.central()->findChildren<QPushButton*>())
        out << w->objectName() + (w->isEnabled() ? "+" : "-") + w->text();
    for (auto* w : b.central()->findChildren<QLabel*>())
        out << w->objectName() + "=" + w->text() + w->palette().color(QPalette::WindowText).name();
    for (auto* w : b.central()->findChildren<QLineEdit*>()) out << w->objectName() + "=" + w->text();
    for (auto* w : b.central()->findChildren<QRadioButton*>())
        out << w->objectName() + (w->isVisible() ? "v" : "h") + (w->isChecked() ? "c" : "");
    return out;
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void startStateAndTitle();
    void exitWritesCompleteSettings();
    void failedLoadsChangeNothingButTheAfterReadControls();
    void orderBeyondSixteenBitsIsRefused();
    void gatingThroughTheSteps();
    void ccfRefusedWithoutResampledStandard();
    void refusedStepsChangeNothingOrRestore();
};

void FrmMainTest::startStateAndTitle() {
    Bench b;
    QCOMPARE(b.enabledSteps(), QString("1 2 19"));
    for (const char* n : {"Label1", "Label15", "Label19", "Label21", "Label2", "Label31", "Label25"})
        QVERIFY2(isRed(b.c<QLabel>(n)), n);
    QVERIFY(!b.c<QLineEdit>("Text1")->isEnabled());
    for (int k = 0; k <= 13; ++k)
        QVERIFY(!model(b, k)->isVisible() && b.c<QLabel>(arrayName("Label34", k))->text().isEmpty());
    // The captions whose blanks matter, and the initial texts of the boxes.
    QCOMPARE(b.texts({"Label21", "Label2", "Label26", "Label20", "Label30", "Text7", "Text1", "Text6", "Text4", "Text2",
                      "Text5"}),
             QStringList({"4. Singular Value         Decomposition", "5. Fits file - Program ", " Starting order, n =",
                          "BF span (must be odd integer), typ 201", "Tessan vers. 29f", "Date", "201", "450", "35", "",
                          ""}));
    // The default outer size 14385 x 5655 twips, once the window is framed.
    QTRY_COMPARE(b.w->frameGeometry().size(), QSize(959, 377));

    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from "));
    auto* t7 = b.c<QLineEdit>("Text7");
    t7->clear();
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from "));
    QTest::keyClicks(t7, "2026 May");
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from 2026 May"));
}

void FrmMainTest::exitWritesCompleteSettings() {
    // The window's frame in twips (W and H: its width and height), saturated to 16 bits.
    const struct { QPoint at; QSize size; const char* line13; } cases[] = {
        {{40, 60}, {1000, 400}, "600,900,W,H"}, {{-3000, 2500}, {2500, 300}, "-32768,32767,32767,H"}};
    for (const auto& c : cases) {
        Bench b;
        b.w->move(c.at);
        b.w->resize(c.size);
        b.w->findChild<FileDialog*>("frmLoadStd")->move(20, 30);   // line 12, closed with the window
        QVERIFY(!std::filesystem::exists(b.p.WorkDir() / "Tessan6.ini"));
        b.w->findChild<QAction*>("mExit")->trigger();
        QVERIFY(!b.w->isVisible());
        const auto lines = tessan::test::SplitCrLf(tessan::test::ReadText(b.p.WorkDir() / "Tessan6.ini"));
        QCOMPARE(lines.size(), std::size_t(24));   // the layout itself is the settings file's test
        const QRect f = b.w->frameGeometry();
        const QString line13 = QString(c.line13).replace("W", QString::number(f.width() * 15))
                                   .replace("H", QString::number(f.height() * 15));
        QCOMPARE(QStringList({QString::fromStdString(lines[11]), QString::fromStdString(lines[12])}),
                 QStringList({"300,450", line13}));
    }
}

// A model file that is missing or ends after its header lines, and a standard and a program
// star that are not FITS: the standard read empties the status line and the program read opens
// step 7 whatever its outcome; nothing else changes.
void FrmMainTest::failedLoadsChangeNothingButTheAfterReadControls() {
    Bench b;
    const QString dir = b.dataDir();
    const std::filesystem::path d = dir.toStdString();
    tessan::test::WriteText(d / "short.MDL", "\"std.fts\"\r\n\"STD\"\r\n0,\"--- nRecords_StdHdr\"\r\n");
    tessan::test::WriteText(d / "bad.fts", "NOT A FITS FILE");
    b.c<QLabel>("Label28")->setText("Now you can save the model.");
    QStringList before = snapshot(b);
    for (const char* name : {"missing.MDL", "short.MDL"}) b.runDialog(19, "frmLoad_model", dir, name);
    QCOMPARE(snapshot(b), before);
    QCOMPARE(b.s->nModels, 0);
    b.runDialog(1, "frmLoadStd", dir, "bad.fts");
    b.runDialog(2, "frmLoadPro", dir, "bad.fts");
    QCOMPARE(b.p.messages, (std::vector<std::string>{"Error 53: File not found.", "Error 62: Input past end of file.",
                                                     "This is not a fits file!  Please try again.",
                                                     "This is not a fits file!  Please try again."}));
    before.replace(before.indexOf("Label28=Now you can save the model.#000000"), "Label28=#000000");
    before.replace(before.indexOf("Command11-Run"), "Command11+Run");
    QCOMPARE(snapshot(b), before);
}

void FrmMainTest::orderBeyondSixteenBitsIsRefused() {
    Bench b;
    b.button(12)->setEnabled(true);
    b.s->bbOrder = 7;
    b.c<QLineEdit>("Text4")->setText("40000");
    b.button(12)->click();
    QCOMPARE(b.p.messages, std::vector<std::string>{"Error 6: Overflow."});
    QCOMPARE(b.s->bbOrder, 7);
}

void FrmMainTest::gatingThroughTheSteps() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    auto click = [&](int n) { b.button(n)->click(); };
    struct Step { const char* after; std::function<void()> run; std::set<int> on, off; const char* black; };
    const Step steps[] = {
        {"standard read", [&] {
             b.runDialog(1, "frmLoadStd", dir, "std.fts");
             QCOMPARE(b.s->DataPath, dir.toStdString());
             QCOMPARE(b.texts({"Label4", "Label10", "Text2"}), QStringList({"std.fts", " 5000", "5010"}));
             QCOMPARE(b.c<QLabel>("Label7")->text().trimmed(), QString("STD STAR"));
             QVERIFY(b.w->findChild<QMenu*>("mSetKeywords")->menuAction()->isEnabled());
         }, {3, 5, 14, 7}, {8, 9, 10, 18, 13}, "Label1"},
        {"resample", [&] {
             click(7);
             QVERIFY(b.c<QLineEdit>("Text1")->isEnabled());
             QVERIFY(b.c<QLabel>("Label17")->text().startsWith(" 5010"));
         }, {8}, {}, "Label15"},
        {"design matrix, an even span corrected first", [&] {
             b.c<QLineEdit>("Text1")->setText("50");
             click(8);
             QCOMPARE(b.p.messages, std::vector<std::string>{"The value must be an odd integer"});
             QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString(" 51"));
             click(8);
             QCOMPARE(b.p.messages.size(), std::size_t(1));
             QCOMPARE(b.s->span, 51);
         }, {9}, {}, "Label19"},
        {"SVD", [&] {
             click(9);
             QCOMPARE(b.c<QLabel>("Label28")->text(), QString("Now you can save the model."));
         }, {10, 18}, {}, "Label21"},
        {"program read", [&] {
             b.runDialog(2, "frmLoadPro", dir, "pro.fts");
             QVERIFY(isRed(b.c<QLabel>("Label25")));
             QCOMPARE(b.c<QLabel>("Label8")->text(), QString("pro.fts"));
         }, {4, 6, 15, 16, 11}, {17, 12, 13}, "Label2"},
        {"cross-correlation", [&] {
             click(16);
             QVERIFY(isRed(b.c<QLabel>("Label31")));
         }, {17}, {}, nullptr},
        {"find BFs", [&] {
             click(11);
             QCOMPARE(b.c<QLabel>("Label27")->text(), QString("DONE!"));
             QVERIFY(std::filesystem::exists(b.p.WorkDir() / "bbb2.txt"));
             if (const QByteArray shot = qgetenv("TESSAN_SCREENSHOT"); !shot.isEmpty())
                 QVERIFY(b.w->grab().save(QString::fromLocal8Bit(shot)));
         }, {12, 13}, {}, "Label25"},
        {"model saved and loaded twice", [&] {
             b.runDialog(18, "frmSave_model", dir, "m1.MDL");
             b.runDialog(19, "frmLoad_model", dir, "m1.MDL");
             b.runDialog(19, "frmLoad_model", dir, "m1.MDL");
             QCOMPARE(b.texts({"Label34_1", "Label34_2", "Label27"}), QStringList({"std.fts", "std.fts", ""}));
             QVERIFY(model(b, 1)->isVisible() && model(b, 2)->isChecked() && !model(b, 3)->isVisible());
         }, {}, {12, 13}, nullptr},
        {"model chosen by Option1 after new BFs", [&] {
             click(11);
             b.c<QLineEdit>("Text2")->setText("1");
             model(b, 1)->click();
             QVERIFY(b.s->CurModel == 1 && model(b, 1)->isChecked());
             QCOMPARE(b.c<QLineEdit>("Text2")->text(), QString::number(int(b.s->WaveL_B_Std + 10)));
         }, {13}, {12}, nullptr},
        {"a second standard read", [&] {
             b.runDialog(1, "frmLoadStd", dir, "std.fts");
             QVERIFY(b.c<QLabel>("Label28")->text().isEmpty());
         }, {}, {8, 9, 10, 18, 13}, "Label1"},
    };
    std::set<int> expected = {1, 2, 19};
    for (const Step& step : steps) {
        step.run();
        if (QTest::currentTestFailed()) QFAIL(step.after);
        for (int n : step.on) expected.insert(n);
        for (int n : step.off) expected.erase(n);
        QStringList want;
        for (int n : expected) want << QString::number(n);
        QVERIFY2(b.enabledSteps() == want.join(' '),
                 qPrintable(QString("%1: %2, expected %3").arg(step.after, b.enabledSteps(), want.join(' '))));
        if (step.black) QVERIFY2(isBlack(b.c<QLabel>(step.black)), step.after);
    }

    // Dump, then the next load goes to the first place again; a fourteenth model is ignored.
    b.w->findChild<QAction*>("mDump_models")->trigger();
    QVERIFY(!model(b, 1)->isVisible() && !model(b, 2)->isVisible() && b.c<QLabel>("Label34_2")->text().isEmpty());
    b.runDialog(19, "frmLoad_model", dir, "m1.MDL");
    QVERIFY(model(b, 1)->isVisible() && model(b, 1)->isChecked() && !model(b, 2)->isVisible());
    for (int k = 2; k <= 14; ++k) b.runDialog(19, "frmLoad_model", dir, "m1.MDL");
    QCOMPARE(b.s->nModels, 13);
    QVERIFY(model(b, 13)->isChecked() && !model(b, 0)->isVisible());
    QCOMPARE(b.p.messages.size(), std::size_t(1));   // only the even span's
}

// A model saved without its resampled standard (the older format): the CCF step is refused
// and stays closed, step 7 still runs on the loaded model.
void FrmMainTest::ccfRefusedWithoutResampledStandard() {
    Bench first;
    const QString dir = first.dataDir();
    writeSpectra(dir);
    first.readAndResample(dir);
    first.c<QLineEdit>("Text1")->setText("51");
    first.button(8)->click();
    first.button(9)->click();
    first.s->ssrAvailable = false;
    first.runDialog(18, "frmSave_model", dir, "old.MDL");
    QVERIFY(tessan::test::ReadText(dir.toStdString() + "/old.MDL").find("ssr()") == std::string::npos);

    Bench b;
    b.runDialog(19, "frmLoad_model", dir, "old.MDL");
    QVERIFY(b.p.messages.empty() && model(b, 1)->isChecked());
    b.runDialog(2, "frmLoadPro", dir, "pro.fts");
    b.button(16)->click();
    QCOMPARE(b.p.messages, std::vector<std::string>{"The resampled standard spectrum is not available.  Either compute "
                                                    "and save a new model with vers. 2.4 or later, or follow steps 1-3."});
    QVERIFY(!b.button(17)->isEnabled());
    b.button(11)->click();
    QCOMPARE(b.c<QLabel>("Label27")->text(), QString("DONE!"));
}

void FrmMainTest::refusedStepsChangeNothingOrRestore() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    b.readAndResample(dir);
    // A span out of limits is refused by the design step: step 4 stays closed.
    b.c<QLineEdit>("Text1")->setText("501");
    b.button(8)->click();
    QCOMPARE(b.p.messages.size(), std::size_t(1));
    QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString("501"));
    QVERIFY(isRed(b.c<QLabel>("Label19")));
    QCOMPARE(b.enabledSteps(), QString("1 2 3 5 7 8 14 19"));
    // A decomposition that fails (here: its matrix lost after step 3) gives every control and
    // caption back but leaves the model unsaveable.
    b.c<QLineEdit>("Text1")->setText("51");
    b.button(8)->click();
    b.s->desValid = false;
    const std::size_t shown = b.p.messages.size();
    b.button(9)->click();
    QCOMPARE(b.p.messages.size(), shown + 1);
    QCOMPARE(b.enabledSteps(), QString("1 2 3 5 7 8 9 14 19"));
    QCOMPARE(b.texts({"Command9", "Command10", "Label28"}), QStringList({"Run", "Plot SVD result", ""}));
    for (const char* m : {"mFile", "mSetKeywords", "mHelp"})
        QVERIFY2(b.w->findChild<QMenu*>(m)->menuAction()->isEnabled(), m);
    QVERIFY(isRed(b.c<QLabel>("Label21")));
}

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
