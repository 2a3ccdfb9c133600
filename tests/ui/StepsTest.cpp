// The steps of the main window as the user drives them: which model steps 6 and 7 use and show,
// the design matrix a refused span leaves, and input, messages and closing while a long step
// works on its worker thread.
#include <QApplication>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <functional>

#include "UiTestSupport.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

QRadioButton* model(const Bench& b, int k) { return b.c<QRadioButton>(arrayName("Option1", k)); }

// A second standard: another start, other line positions and widths than std.fts.
void writeSecondStandard(const std::filesystem::path& file) {
    tessan::test::SpectrumFile f;
    f.object = "SECOND STD";
    f.crval1 = 5001.0;
    f.cd1_1 = 0.1;
    f.values = tessan::test::SyntheticSpectrum(600, 5001.0, 0.1, 15.0, 3.0);
    tessan::test::WriteFile(file, tessan::test::MakeSpectrumFits(f));
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
    QStringList out;
    for (const char* n : {"Label4", "Label7", "Label10", "Label13", "Text2", "Text3", "Label17", "Label18"})
        out << b.c<QWidget>(n)->property("text").toString();
    return out;
}

// Runs act from inside the next step's run (a timer that fires as soon as the event loop does).
void duringNextStep(std::function<void()> act) { QTimer::singleShot(0, qApp, std::move(act)); }

// Records, for each message, whether it came on the GUI thread after the step's run ended.
struct ThreadCheckingPlatform : tessan::test::RecordingPlatform {
    std::vector<bool> afterRunOnGuiThread;
    void MsgBox(const std::string& text) override {
        afterRunOnGuiThread.push_back(QThread::currentThread() == qApp->thread() && !QApplication::overrideCursor());
        RecordingPlatform::MsgBox(text);
    }
};

}  // namespace

class StepsTest : public QObject {
    Q_OBJECT
private slots:
    void stepsUseAndShowTheModelInUse();
    void refusedSpanKeepsStepFourClosed();
    void longStepsIgnoreInputHoldMessagesAndClose();
};

void StepsTest::stepsUseAndShowTheModelInUse() {
    Bench b;
    const QString dir = b.dataDir();
    const std::filesystem::path d = dir.toStdString();
    writeSpectra(dir);
    writeSecondStandard(d / "std2.fts");
    const std::string stdA = (d / "std.fts").string(), stdB = (d / "std2.fts").string(), pro = (d / "pro.fts").string();
    QVERIFY(!batchBfs(d / "saving", {"--std", stdA, "--span", "31", "--save-model", (d / "a.MDL").string(), "--prog", pro}).empty());
    const std::string fromModel = batchBfs(d / "model", {"--model", (d / "a.MDL").string(), "--prog", pro});
    const std::string fromNew = batchBfs(d / "new", {"--std", stdB, "--span", "51", "--prog", pro});
    QVERIFY(!fromModel.empty() && !fromNew.empty() && fromModel != fromNew);
    auto bfs = [&] { return tessan::test::ReadText(b.p.WorkDir() / "bbb2.txt"); };

    // A model loaded, then a new standard through steps 1 to 4: the model just computed is in use.
    b.runDialog(19, "frmLoad_model", dir, "a.MDL");
    QVERIFY(model(b, 1)->isChecked());
    b.runDialog(1, "frmLoadStd", dir, "std2.fts");
    b.button(7)->click();
    b.c<QLineEdit>("Text1")->setText("51");
    b.button(8)->click();
    b.button(9)->click();
    QCOMPARE(b.s->CurModel, 0);
    QVERIFY(!model(b, 1)->isChecked());
    b.runDialog(2, "frmLoadPro", dir, "pro.fts");
    const QStringList computed = shownStandard(b);
    QCOMPARE(computed.first(), QString("std2.fts"));
    b.button(16)->click();
    b.button(11)->click();
    QCOMPARE(bfs(), fromNew);
    QCOMPARE(shownStandard(b), computed);

    // The stored model chosen again; after another standard is read and resampled, steps 6
    // and 7 use the model and show its standard and grid again.
    model(b, 1)->click();
    const QStringList stored = shownStandard(b);
    QCOMPARE(stored.first(), QString("std.fts"));
    for (int step : {16, 11}) {
        b.runDialog(1, "frmLoadStd", dir, "std2.fts");
        b.button(7)->click();
        b.button(8)->click();
        QCOMPARE(shownStandard(b).first(), QString("std2.fts"));
        b.button(step)->click();
        QVERIFY2(shownStandard(b) == stored, qPrintable(QString("step %1: %2").arg(step).arg(shownStandard(b).join('|'))));
    }
    QCOMPARE(bfs(), fromModel);
    QVERIFY(b.p.messages.empty());
}

void StepsTest::refusedSpanKeepsStepFourClosed() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    b.readAndResample(dir);
    auto* text1 = b.c<QLineEdit>("Text1");
    text1->setText("31");
    b.button(8)->click();
    QVERIFY(b.button(9)->isEnabled());
    // Each refusal leaves the matrix of span 31 in hand: step 4 closes until step 3 builds anew.
    const struct { const char* typed; const char* after; } spans[] = {
        {"501", "501"}, {"-3", "-3"}, {"499", "499"}, {"50", " 51"}};
    for (const auto& c : spans) {
        text1->setText(c.typed);
        const std::size_t shown = b.p.messages.size();
        b.button(8)->click();
        QVERIFY2(b.p.messages.size() == shown + 1, c.typed);
        QCOMPARE(text1->text(), QString(c.after));
        QVERIFY2(isRed(b.c<QLabel>("Label19")) && !b.button(9)->isEnabled(), c.typed);
        QCOMPARE(b.s->span, 31);
    }
    b.button(8)->click();
    QVERIFY(isBlack(b.c<QLabel>("Label19")) && b.button(9)->isEnabled());
    b.button(9)->click();
    QVERIFY(b.s->span == 51 && b.s->svdValid);
}

void StepsTest::longStepsIgnoreInputHoldMessagesAndClose() {
    Bench b;
    ThreadCheckingPlatform p;
    b.w = std::make_unique<frmMain>(*b.s, p);
    b.w->show();
    const QString dir = b.dataDir();
    writeSpectra(dir);
    writeSecondStandard(dir.toStdString() + "/std2.fts");
    b.readAndResample(dir);
    b.c<QLineEdit>("Text1")->setText("31");
    b.button(8)->click();
    b.button(9)->click();
    b.runDialog(18, "frmSave_model", dir, "m.MDL");
    b.runDialog(19, "frmLoad_model", dir, "m.MDL");
    b.runDialog(2, "frmLoadPro", dir, "pro.fts");
    b.runDialog(1, "frmLoadStd", dir, "std2.fts");
    b.button(7)->click();
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
        std::filesystem::remove(p.WorkDir() / "Tessan6.ini");
        bool busy = false, open = false;
        QString caption;
        duringNextStep([&] {
            busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            caption = b.button(c.step)->text();
            QTest::mouseClick(model(b, 1), Qt::LeftButton);
            QTest::mouseClick(b.button(c.other), Qt::LeftButton);
            QTest::keyClicks(b.c<QLineEdit>("Text1"), "7");
            QTest::keyClicks(b.c<QLineEdit>("Text7"), "x");
            b.w->close();
            open = b.w->isVisible();
        });
        b.button(c.step)->click();
        QTest::qWait(20);
        QVERIFY2(busy && caption == "WAIT" && open && !b.w->isVisible(), c.status);
        QCOMPARE(b.c<QLabel>(c.status)->text(), QString(c.done));
        QVERIFY2(b.c<QLabel>(c.otherStatus)->text().isEmpty(), c.otherStatus);
        QCOMPARE(b.c<QLabel>("Label4")->text(), QString("std2.fts"));   // no model chosen
        QVERIFY(!model(b, 1)->isChecked() && !QApplication::overrideCursor());
        QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString("31"));
        QCOMPARE(b.w->windowTitle(), title);
        QVERIFY(std::filesystem::exists(p.WorkDir() / "Tessan6.ini"));
        b.s->ww(2) = 0;
        std::filesystem::create_directories(p.WorkDir() / "bbb2.txt");
    }
    QCOMPARE(p.messages.size(), std::size_t(2));
    QVERIFY(p.messages[0].starts_with("The design matrix of the standard is rank-deficient"));
    QVERIFY(p.messages[1].starts_with("The broadening functions were computed, but \"bbb2.txt\""));
    QCOMPARE(p.afterRunOnGuiThread, std::vector<bool>(2, true));
}

QTEST_MAIN(StepsTest)
#include "StepsTest.moc"
