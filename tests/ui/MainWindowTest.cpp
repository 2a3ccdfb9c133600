// The main window: the start state, refusals that must change nothing, the workflow's gating
// walked end to end through it and its dialogs, and an unload while a message is shown.
#include <set>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

// Every button's enabled state and every label's and box's text, to compare before and after.
QStringList snapshot(const Bench& b) {
    QStringList out;
    for (auto* w : b.central()->findChildren<QPushButton*>())
        out << w->objectName() + (w->isEnabled() ? "+" : "-") + w->text();
    for (auto* w : b.central()->findChildren<QLabel*>())
        out << w->objectName() + "=" + w->text() + foreColour(w).name();
    for (auto* w : b.central()->findChildren<QLineEdit*>()) out << w->objectName() + "=" + w->text();
    for (auto* w : b.central()->findChildren<QRadioButton*>())
        out << w->objectName() + (w->isVisible() ? "v" : "h") + (w->isChecked() ? "c" : "");
    return out;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startStateTitleFocusAndColours();
    void failedLoadsChangeNothingButTheAfterReadControls();
    void gatingThroughTheSteps();
    void unloadDuringAMessageBuildsNoDialog();
};

void MainWindowTest::startStateTitleFocusAndColours() {
    Bench b;
    QCOMPARE(b.enabledSteps(), QString("1 2 19"));
    for (const char* n : {"Label1", "Label15", "Label19", "Label21", "Label2", "Label31", "Label25"})
        QVERIFY2(b.red(n), n);
    QVERIFY(!b.c<QLineEdit>("Text1")->isEnabled());
    for (int k = 0; k <= 13; ++k) QVERIFY(!b.model(k)->isVisible() && b.text(arrayName("Label34", k)).isEmpty());
    // The captions whose blanks matter, and the initial texts of the boxes.
    QCOMPARE(b.texts({"Label21", "Label2", "Label26", "Label20", "Label30", "Text7", "Text1", "Text6", "Text4", "Text2",
                      "Text5"}),
             QStringList({"4. Singular Value         Decomposition", "5. Fits file - Program ", " Starting order, n =",
                          "BF span (must be odd integer), typ 201", "Tessan vers. 29f", "Date", "201", "450", "35", "",
                          ""}));
    QTRY_COMPARE(b.w->frameGeometry().size(), QSize(959, 377));   // 14385 x 5655 twips
    QVERIFY(QTest::qWaitForWindowActive(b.w.get()));
    QCOMPARE(QApplication::focusWidget(), b.button(1));

    auto* t7 = b.c<QLineEdit>("Text7");
    t7->clear();
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from "));
    QTest::keyClicks(t7, "2026 May");
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from 2026 May"));

    // The step labels take their colours from the state's table; a failed read makes step 7 red.
    b.s->ColRed = {1, 2, 3};
    b.s->ColEnabled = {4, 5, 6};
    b.runDialog(1, "frmLoadStd", "std.fts");
    b.runDialog(2, "frmLoadPro", "none.fts");
    QCOMPARE(foreColour(b.c<QLabel>("Label1")), QColor(4, 5, 6));
    QCOMPARE(foreColour(b.c<QLabel>("Label25")), QColor(1, 2, 3));
}

// A model file that is missing or ends after its header lines, and a standard and a program
// star that are not FITS: the standard read empties the status line and the program read opens
// step 7 whatever its outcome; nothing else changes.
void MainWindowTest::failedLoadsChangeNothingButTheAfterReadControls() {
    Bench b;
    tessan::test::WriteText(b.dir.toStdString() + "/short.MDL", "\"std.fts\"\r\n\"STD\"\r\n0,\"--- nRecords_StdHdr\"\r\n");
    b.c<QLabel>("Label28")->setText("Now you can save the model.");
    QStringList before = snapshot(b);
    for (const char* name : {"missing.MDL", "short.MDL"}) b.runDialog(19, "frmLoad_model", name);
    QCOMPARE(snapshot(b), before);
    QCOMPARE(b.s->nModels, 0);
    b.runDialog(1, "frmLoadStd", "bad.fts");
    b.runDialog(2, "frmLoadPro", "bad.fts");
    QCOMPARE(b.p.messages, (std::vector<std::string>{"Error 53: File not found.", "Error 62: Input past end of file.",
                                                     "This is not a fits file!  Please try again.",
                                                     "This is not a fits file!  Please try again."}));
    before.replace(before.indexOf("Label28=Now you can save the model.#000000"), "Label28=#000000");
    before.replace(before.indexOf("Command11-Run"), "Command11+Run");
    QCOMPARE(snapshot(b), before);
}

void MainWindowTest::gatingThroughTheSteps() {
    Bench b;
    auto click = [&](int n) { b.button(n)->click(); };
    int order = 0;
    struct Step { const char* after; std::function<void()> run; std::set<int> on, off; const char* done; };
    const Step steps[] = {
        {"standard read", [&] {
             b.runDialog(1, "frmLoadStd", "std.fts");
             QCOMPARE(b.s->DataPath, b.dir.toStdString());
             QCOMPARE(b.texts({"Label4", "Label10", "Text2"}), QStringList({"std.fts", " 5000", "5010"}));
             QCOMPARE(b.text("Label7").trimmed(), QString("STD STAR"));
             QVERIFY(b.w->findChild<QMenu*>("mSetKeywords")->menuAction()->isEnabled());
         }, {3, 5, 14, 7}, {8, 9, 10, 18, 13}, "Label1"},
        {"resample", [&] {
             click(7);
             QVERIFY(b.c<QLineEdit>("Text1")->isEnabled() && b.text("Label17").startsWith(" 5010"));
         }, {8}, {}, "Label15"},
        {"design matrix, an even span corrected first", [&] {
             b.c<QLineEdit>("Text1")->setText("50");
             click(8);
             QCOMPARE(b.p.messages, std::vector<std::string>{"The value must be an odd integer"});
             QCOMPARE(b.text("Text1"), QString(" 51"));
             click(8);
             QCOMPARE(b.s->span, 51);
         }, {9}, {}, "Label19"},
        {"SVD", [&] {
             click(9);
             QCOMPARE(b.text("Label28"), QString("Now you can save the model."));
         }, {10, 18}, {}, "Label21"},
        {"program read", [&] {
             b.runDialog(2, "frmLoadPro", "pro.fts");
             QVERIFY(b.red("Label25") && b.text("Label8") == "pro.fts");
         }, {4, 6, 15, 16, 11}, {17, 12, 13}, "Label2"},
        {"cross-correlation", [&] {
             click(16);
             QVERIFY(b.red("Label31"));
         }, {17}, {}, nullptr},
        {"find BFs", [&] {
             click(11);
             QCOMPARE(b.text("Label27"), QString("DONE!"));
             QVERIFY(std::filesystem::exists(b.p.WorkDir() / "bbb2.txt"));
         }, {12, 13}, {}, "Label25"},
        {"an order beyond 16 bits refused", [&] {
             order = b.s->bbOrder;
             b.c<QLineEdit>("Text4")->setText("40000");
             click(12);
             QCOMPARE(b.p.messages.back(), std::string("Error 6: Overflow."));
             QCOMPARE(b.s->bbOrder, order);
         }, {}, {}, nullptr},
        {"model saved and loaded twice", [&] {
             b.runDialog(18, "frmSave_model", "m1.MDL");
             b.runDialog(19, "frmLoad_model", "m1.MDL");
             b.runDialog(19, "frmLoad_model", "m1.MDL");
             QCOMPARE(b.texts({"Label34_1", "Label34_2", "Label27"}), QStringList({"std.fts", "std.fts", ""}));
             QVERIFY(b.model(1)->isVisible() && b.model(2)->isChecked() && !b.model(3)->isVisible());
         }, {}, {12, 13}, nullptr},
        {"model chosen by Option1 after new BFs", [&] {
             click(11);
             b.c<QLineEdit>("Text2")->setText("1");
             b.model(1)->click();
             QVERIFY(b.s->CurModel == 1 && b.model(1)->isChecked());
             QCOMPARE(b.text("Text2"), QString::number(int(b.s->WaveL_B_Std + 10)));
         }, {13}, {12}, nullptr},
        {"a second standard read", [&] {
             b.runDialog(1, "frmLoadStd", "std.fts");
             QVERIFY(b.text("Label28").isEmpty());
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
        if (step.done) QVERIFY2(b.done(step.done), step.after);
    }

    // Dump, then the next load goes to the first place again; a fourteenth model is ignored.
    b.w->findChild<QAction*>("mDump_models")->trigger();
    QVERIFY(!b.model(1)->isVisible() && !b.model(2)->isVisible() && b.text("Label34_2").isEmpty());
    b.runDialog(19, "frmLoad_model", "m1.MDL");
    QVERIFY(b.model(1)->isVisible() && b.model(1)->isChecked() && !b.model(2)->isVisible());
    for (int k = 2; k <= 14; ++k) b.runDialog(19, "frmLoad_model", "m1.MDL");
    QCOMPARE(b.s->nModels, 13);
    QVERIFY(b.model(13)->isChecked() && !b.model(0)->isVisible());
    QCOMPARE(b.p.messages.size(), std::size_t(2));   // the even span's and the order's
}

// The follow-up of a failed read runs after its message, during which the window was closed
// (a session ending closes every window so): it must not build a dialog again.
void MainWindowTest::unloadDuringAMessageBuildsNoDialog() {
    Bench b;
    b.p.onMessage = [&] { b.w->close(); };
    b.runDialog(1, "frmLoadStd", "bad.fts");
    QCOMPARE(b.p.messages.size(), std::size_t(1));
    QVERIFY(std::filesystem::exists(b.p.WorkDir() / "Tessan6.ini"));
    QTRY_VERIFY(b.w->findChildren<FileDialog*>().isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
