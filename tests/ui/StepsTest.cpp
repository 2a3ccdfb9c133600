// The steps of the main window as the user drives them: refused spans and a failed
// decomposition, which model steps 6 and 7 use and show, and input, messages and closing while
// a long step works on its worker thread.
#include <QTimer>

#include "UiTestSupport.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

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

class StepsTest : public QObject {
    Q_OBJECT
private slots:
    void refusedSpansAndAFailedDecomposition();
    void stepsUseAndShowTheModelInUse();
    void longStepsIgnoreInputHoldMessagesAndClose();
};

void StepsTest::refusedSpansAndAFailedDecomposition() {
    Bench b;
    b.standardSteps();
    auto* text1 = b.c<QLineEdit>("Text1");
    text1->setText("31");
    b.button(8)->click();
    // Each refusal leaves the matrix of span 31 in hand: step 4 closes until step 3 builds anew.
    const struct { const char* typed; const char* after; } spans[] = {
        {"501", "501"}, {"-3", "-3"}, {"499", "499"}, {"50", " 51"}};
    for (const auto& c : spans) {
        text1->setText(c.typed);
        const std::size_t shown = b.p.messages.size();
        b.button(8)->click();
        QVERIFY2(b.p.messages.size() == shown + 1, c.typed);
        QCOMPARE(text1->text(), QString(c.after));
        QVERIFY2(b.red("Label19") && b.enabledSteps() == "1 2 3 5 7 8 14 19", c.typed);
        QCOMPARE(b.s->span, 31);
    }
    b.button(8)->click();
    QVERIFY(b.done("Label19") && b.button(9)->isEnabled());
    b.button(9)->click();
    QVERIFY(b.s->span == 51 && b.s->svdValid);

    // A decomposition that fails (its matrix lost) gives every control and caption back but
    // leaves the model unsaveable.
    b.s->desValid = false;
    const std::size_t shown = b.p.messages.size();
    b.button(9)->click();
    QCOMPARE(b.p.messages.size(), shown + 1);
    QCOMPARE(b.enabledSteps(), QString("1 2 3 5 7 8 9 14 19"));
    QCOMPARE(b.texts({"Command9", "Command10"}), QStringList({"Run", "Plot SVD result"}));
    for (const char* m : {"mFile", "mSetKeywords", "mHelp"})
        QVERIFY2(b.w->findChild<QMenu*>(m)->menuAction()->isEnabled(), m);
    QVERIFY(b.red("Label21"));
}

// A model from the batch driver is loaded; the window then computes its own from a second
// standard, saves it once as an older model without the resampled standard, and chooses the
// loaded one again. Steps 6 and 7 use and show the model in use, "bbb2.txt" as the batch
// driver writes it for that model; the model list tells the two standards' long names apart.
void StepsTest::stepsUseAndShowTheModelInUse() {
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

void StepsTest::longStepsIgnoreInputHoldMessagesAndClose() {
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
        std::filesystem::remove(b.p.WorkDir() / "Tessan6.ini");
        bool busy = false, open = false;
        QString caption;
        QTimer::singleShot(0, qApp, [&] {   // fires inside the step's run
            busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            caption = b.button(c.step)->text();
            QTest::mouseClick(b.model(1), Qt::LeftButton);
            QTest::mouseClick(b.button(c.other), Qt::LeftButton);
            QTest::keyClicks(b.c<QLineEdit>("Text1"), "7");
            QTest::keyClicks(b.c<QLineEdit>("Text7"), "x");
            b.w->close();
            open = b.w->isVisible();
        });
        b.button(c.step)->click();
        QTest::qWait(20);
        QVERIFY2(busy && caption == "WAIT" && open && !b.w->isVisible(), c.status);
        QCOMPARE(b.text(c.status), QString(c.done));
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

QTEST_MAIN(StepsTest)
#include "StepsTest.moc"
