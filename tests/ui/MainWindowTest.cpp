// The main window: the start state, refusals that must change nothing, the workflow's gating
// walked end to end through it and its dialogs, an unload while a message is shown, which model
// steps 6 and 7 use and show, and input, messages and closing while a long step works on its
// worker thread.
#include <QTimer>

#include "UiTestSupport.h"
#include "ui/frmPlotdata_ww.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"

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

// "bbb2.txt" of the batch driver run in process in its own working directory (empty when the
// run failed).
std::string batchBfs(const std::filesystem::path& work, const std::vector<std::string>& args) {
    std::filesystem::create_directories(work);
    std::ostringstream out, err;
    batch::ConsolePlatform p(err, work);
    const batch::ParseResult parsed = batch::ParseArgs(args);
    if (parsed.kind != batch::ParseResult::Run || batch::RunBatch(parsed.options, p, out) != 0) return {};
    return tessan::test::ReadText(work / "bbb2.txt");
}

// What the window shows of the standard and the grid in use.
QStringList shownStandard(const Bench& b) {
    return b.texts({"Label4", "Label7", "Label10", "Label13", "Text2", "Text3", "Label17", "Label18"});
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startStateTitleFocusAndColours();
    void failedLoadsChangeNothingButTheAfterReadControls();
    void gatingThroughTheSteps();
    void stepsUseAndShowTheModelInUse();
    void longStepsIgnoreInputHoldMessagesAndClose();
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
// step 7 whatever its outcome; nothing else changes. The last message closes the window (as a
// session ending does): the read's follow-up must not build a dialog again.
void MainWindowTest::failedLoadsChangeNothingButTheAfterReadControls() {
    Bench b;
    tessan::test::WriteText(b.dir.toStdString() + "/short.MDL", "\"std.fts\"\r\n\"STD\"\r\n0,\"--- nRecords_StdHdr\"\r\n");
    b.c<QLabel>("Label28")->setText("Now you can save the model.");
    QStringList before = snapshot(b);
    for (const char* name : {"missing.MDL", "short.MDL"}) b.runDialog(19, "frmLoad_model", name);
    QCOMPARE(snapshot(b), before);
    QCOMPARE(b.s->nModels, 0);
    b.runDialog(1, "frmLoadStd", "bad.fts");
    b.p.onMessage = [&] { b.w->close(); };
    b.runDialog(2, "frmLoadPro", "bad.fts");
    QVERIFY(std::filesystem::exists(b.p.WorkDir() / "Tessan6.ini"));
    QTRY_VERIFY(b.w->findChildren<FileDialog*>().isEmpty());
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
    // The enabled step buttons after a step, and the step label that the step turned done.
    auto gate = [&](const char* after, const char* enabled, const char* doneLabel) {
        QVERIFY2(b.enabledSteps() == enabled, qPrintable(QString("%1: %2").arg(after, b.enabledSteps())));
        QVERIFY2(!doneLabel || b.done(doneLabel), after);
    };
    b.runDialog(1, "frmLoadStd", "std.fts");
    QCOMPARE(b.s->DataPath, b.dir.toStdString());
    QCOMPARE(b.texts({"Label4", "Label10", "Text2"}), QStringList({"std.fts", " 5000", "5010"}));
    QCOMPARE(b.text("Label7").trimmed(), QString("STD STAR"));
    QVERIFY(b.w->findChild<QMenu*>("mSetKeywords")->menuAction()->isEnabled());
    gate("standard read", "1 2 3 5 7 14 19", "Label1");
    click(7);
    QVERIFY(b.c<QLineEdit>("Text1")->isEnabled() && b.text("Label17").startsWith(" 5010"));
    gate("resample", "1 2 3 5 7 8 14 19", "Label15");
    b.c<QLineEdit>("Text1")->setText("31");
    click(8);
    gate("design matrix", "1 2 3 5 7 8 9 14 19", "Label19");
    // An even span: the matrix of span 31 in hand no longer matches Text1, so step 4 closes.
    b.c<QLineEdit>("Text1")->setText("50");
    click(8);
    QCOMPARE(b.p.messages, std::vector<std::string>{"The value must be an odd integer"});
    QVERIFY(b.text("Text1") == " 51" && b.s->span == 31 && b.red("Label19"));
    gate("an even span", "1 2 3 5 7 8 14 19", nullptr);
    click(8);
    QCOMPARE(b.s->span, 51);
    // A decomposition that fails (its matrix lost) gives every control and caption back.
    b.s->desValid = false;
    click(9);
    QCOMPARE(b.p.messages.size(), std::size_t(2));
    QCOMPARE(b.texts({"Command9", "Command10", "Label28"}), QStringList({"Run", "Plot SVD result", ""}));
    for (const char* m : {"mFile", "mSetKeywords", "mHelp"})
        QVERIFY2(b.w->findChild<QMenu*>(m)->menuAction()->isEnabled(), m);
    QVERIFY(b.red("Label21"));
    gate("a failed decomposition", "1 2 3 5 7 8 9 14 19", nullptr);
    click(8);
    click(9);
    QCOMPARE(b.text("Label28"), QString("Now you can save the model."));
    gate("SVD", "1 2 3 5 7 8 9 10 14 18 19", "Label21");
    b.runDialog(2, "frmLoadPro", "pro.fts");
    QVERIFY(b.red("Label25") && b.text("Label8") == "pro.fts");
    gate("program read", "1 2 3 4 5 6 7 8 9 10 11 14 15 16 18 19", "Label2");
    click(16);
    QVERIFY(b.red("Label31"));
    gate("cross-correlation", "1 2 3 4 5 6 7 8 9 10 11 14 15 16 17 18 19", nullptr);
    click(11);
    QCOMPARE(b.text("Label27"), QString("DONE!"));
    QVERIFY(std::filesystem::exists(b.p.WorkDir() / "bbb2.txt"));
    gate("find BFs", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", "Label25");
    const int order = b.s->bbOrder;   // an order beyond 16 bits is refused
    b.c<QLineEdit>("Text4")->setText("40000");
    click(12);
    QVERIFY(b.p.messages.back() == "Error 6: Overflow." && b.s->bbOrder == order);

    b.runDialog(18, "frmSave_model", "m1.MDL");
    b.runDialog(19, "frmLoad_model", "m1.MDL");
    b.runDialog(19, "frmLoad_model", "m1.MDL");
    QCOMPARE(b.texts({"Label34_1", "Label34_2", "Label27"}), QStringList({"std.fts", "std.fts", ""}));
    QVERIFY(b.model(1)->isVisible() && b.model(2)->isChecked() && !b.model(3)->isVisible());
    gate("models loaded", "1 2 3 4 5 6 7 8 9 10 11 14 15 16 17 18 19", nullptr);
    click(11);
    b.c<QLineEdit>("Text2")->setText("1");
    b.model(1)->click();   // the BFs belong to model 2
    QVERIFY(b.s->CurModel == 1 && b.model(1)->isChecked());
    QCOMPARE(b.text("Text2"), QString::number(int(b.s->WaveL_B_Std + 10)));
    gate("model chosen after new BFs", "1 2 3 4 5 6 7 8 9 10 11 13 14 15 16 17 18 19", nullptr);
    b.runDialog(1, "frmLoadStd", "std.fts");
    QVERIFY(b.text("Label28").isEmpty());
    gate("a second standard read", "1 2 3 4 5 6 7 11 14 15 16 17 19", "Label1");

    // Dump, then the next load goes to the first place again; a fourteenth model is ignored.
    b.w->findChild<QAction*>("mDump_models")->trigger();
    QVERIFY(!b.model(1)->isVisible() && !b.model(2)->isVisible() && b.text("Label34_2").isEmpty());
    b.runDialog(19, "frmLoad_model", "m1.MDL");
    QVERIFY(b.model(1)->isVisible() && b.model(1)->isChecked() && !b.model(2)->isVisible());
    for (int k = 2; k <= 14; ++k) b.runDialog(19, "frmLoad_model", "m1.MDL");
    QCOMPARE(b.s->nModels, 13);
    QVERIFY(b.model(13)->isChecked() && !b.model(0)->isVisible());
    QCOMPARE(b.p.messages.size(), std::size_t(3));   // the even span's, the decomposition's, the order's
}

// A model from the batch driver is loaded; the window then computes its own from a second
// standard, saves it once as an older model without the resampled standard, and chooses the
// loaded one again. Steps 6 and 7 use and show the model in use, "bbb2.txt" as the batch
// driver writes it for that model; the model list tells the two standards' long names apart.
void MainWindowTest::stepsUseAndShowTheModelInUse() {
    Bench b;
    const std::filesystem::path d = b.dir.toStdString();
    const QString names[] = {"tmplN_std_(HD 187013) blue.fts", "tmplN_std_(HD 187013) red.fts"};
    std::filesystem::copy_file(d / "std.fts", d / names[0].toStdString());
    std::filesystem::copy_file(d / "std2.fts", d / names[1].toStdString());
    const std::string stdA = (d / names[0].toStdString()).string(), stdB = (d / names[1].toStdString()).string(),
                      pro = (d / "pro.fts").string(), a = (d / "a.MDL").string();
    QVERIFY(!batchBfs(d / "saving", {"--std", stdA, "--span", "31", "--save-model", a, "--prog", pro}).empty());
    const std::string fromModel = batchBfs(d / "model", {"--model", a, "--prog", pro});
    const std::string fromNew = batchBfs(d / "new", {"--std", stdB, "--span", "51", "--prog", pro});
    QVERIFY(!fromModel.empty() && !fromNew.empty() && fromModel != fromNew);
    auto bfs = [&] { return tessan::test::ReadText(b.p.WorkDir() / "bbb2.txt"); };

    b.runDialog(19, "frmLoad_model", "a.MDL");
    QVERIFY(b.model(1)->isChecked());
    b.standardSteps(names[1], "51");
    QVERIFY(b.s->CurModel == 0 && !b.model(1)->isChecked());
    b.s->ssrAvailable = false;
    b.runDialog(18, "frmSave_model", "old.MDL");
    b.s->ssrAvailable = true;
    QVERIFY(tessan::test::ReadText(d / "old.MDL").find("ssr()") == std::string::npos);
    b.runDialog(2, "frmLoadPro", "pro.fts");
    const QStringList computed = shownStandard(b);
    QCOMPARE(computed.first(), names[1]);
    b.button(16)->click();
    b.button(11)->click();
    QCOMPARE(bfs(), fromNew);
    QCOMPARE(shownStandard(b), computed);

    // After another standard is read and resampled, steps 6 and 7 use the chosen model and
    // show its standard and grid again.
    b.model(1)->click();
    const QStringList stored = shownStandard(b);
    QCOMPARE(stored.first(), names[0]);
    for (int step : {16, 11}) {
        b.standardSteps(names[1]);
        b.button(8)->click();
        QCOMPARE(shownStandard(b).first(), names[1]);
        b.button(step)->click();
        QVERIFY2(shownStandard(b) == stored, qPrintable(QString("step %1: %2").arg(step).arg(shownStandard(b).join('|'))));
    }
    QCOMPARE(bfs(), fromModel);
    QVERIFY(b.p.messages.empty());

    // The older model: step 6 is refused and stays closed, step 7 runs on the model.
    b.runDialog(19, "frmLoad_model", "old.MDL");
    b.runDialog(2, "frmLoadPro", "pro.fts");
    b.button(16)->click();
    QCOMPARE(b.p.messages, std::vector<std::string>{"The resampled standard spectrum is not available.  Either compute "
                                                    "and save a new model with vers. 2.4 or later, or follow steps 1-3."});
    QVERIFY(!b.button(17)->isEnabled());
    b.button(11)->click();
    QCOMPARE(b.text("Label27"), QString("DONE!"));

    QStringList shown;
    for (int k = 1; k <= 2; ++k) {
        const QLabel* l = b.c<QLabel>(arrayName("Label34", k));
        QCOMPARE(l->toolTip(), names[k - 1]);
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(), qPrintable(l->text()));
        QVERIFY2(l->text().startsWith("tm") && l->text().endsWith(".fts"), qPrintable(l->text()));
        shown << l->text();
    }
    QVERIFY2(shown[0] != shown[1], qPrintable(shown.join(" | ")));
}

void MainWindowTest::longStepsIgnoreInputHoldMessagesAndClose() {
    Bench b;
    b.standardSteps("std.fts", "31");
    b.runDialog(18, "frmSave_model", "m.MDL");
    b.runDialog(19, "frmLoad_model", "m.MDL");
    b.runDialog(2, "frmLoadPro", "pro.fts");
    b.standardSteps("std2.fts");
    b.button(8)->click();
    const QString title = b.w->windowTitle();

    // While a step works, clicks and keys on controls that stay enabled (the stored model, step
    // 7 during step 4 and step 4 during step 7, the boxes) do nothing, and closing the window
    // waits for the end of the step. Step 7 runs on a zero singular value with "bbb2.txt"
    // unwritable (a folder of that name): two messages.
    const struct { int step, other; const char *status, *done, *otherStatus; } cases[] = {
        {9, 11, "Label28", "Now you can save the model.", "Label27"}, {11, 9, "Label27", "DONE!", "Label28"}};
    for (const auto& c : cases) {
        b.w->show();
        b.c<QLabel>("Label28")->clear();
        // A plot window resized meanwhile draws for its new size only once the step is done.
        QPointer<frmPlotdata_ww> plot = b.w->windows().get<frmPlotdata_ww>();
        plot->Plot();
        const int right = plot->frame()->record().Right;
        int rightDuring = 0, rightAfter = 0;
        std::filesystem::remove(b.p.WorkDir() / "Tessan6.ini");
        bool busy = false, open = false;
        QString caption;
        QTimer::singleShot(0, qApp, [&] {   // fires inside the step's run
            busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            caption = b.button(c.step)->text();
            plot->resize(plot->width() + 40, plot->height());
            QCoreApplication::processEvents();
            rightDuring = plot->frame()->record().Right;
            QTest::mouseClick(b.model(1), Qt::LeftButton);
            QTest::mouseClick(b.button(c.other), Qt::LeftButton);
            QTest::keyClicks(b.c<QLineEdit>("Text1"), "7");
            QTest::keyClicks(b.c<QLineEdit>("Text7"), "x");
            b.w->close();
            open = b.w->isVisible();
        });
        b.button(c.step)->click();
        rightAfter = plot->frame()->record().Right;   // the close it held destroys the plot later
        QTest::qWait(20);
        QVERIFY2(busy && caption == "WAIT" && open && !b.w->isVisible(), c.status);
        QCOMPARE(b.text(c.status), QString(c.done));
        QCOMPARE(std::pair(rightDuring, rightAfter), std::pair(right, right + 40 * kTwipsPerPixel));
        QVERIFY2(b.text(c.otherStatus).isEmpty(), c.otherStatus);
        QCOMPARE(b.text("Label4"), QString("std2.fts"));   // no model chosen
        QVERIFY(!b.model(1)->isChecked() && !QApplication::overrideCursor());
        QCOMPARE(b.text("Text1"), QString("31"));
        QCOMPARE(b.w->windowTitle(), title);
        QVERIFY(std::filesystem::exists(b.p.WorkDir() / "Tessan6.ini"));
        b.s->ww(2) = 0;
        std::filesystem::create_directories(b.p.WorkDir() / "bbb2.txt");
    }
    QCOMPARE(b.p.messages.size(), std::size_t(2));
    QVERIFY(b.p.messages[0].starts_with("The design matrix of the standard is rank-deficient"));
    QVERIFY(b.p.messages[1].starts_with("The broadening functions were computed, but \"bbb2.txt\""));
    QCOMPARE(b.p.onGuiThreadIdle, std::vector<bool>(2, true));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
