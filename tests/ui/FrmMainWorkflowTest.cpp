// The workflow walked end to end through the main window and its dialogs, checking the gating
// (enabled buttons, step-label colours) after every step.
#include <QRadioButton>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

const char* kNoSsr = "The resampled standard spectrum is not available.  Either compute and save a new model "
                     "with vers. 2.4 or later, or follow steps 1-3.";

// Opens a dialog with its main-window button, points it at dir, names the file and presses OK.
void runDialog(Bench& b, const char* opener, DialogKind kind, const QString& dir, const QString& name) {
    b.c<QPushButton>(opener)->click();
    auto* d = b.w->findChild<FileDialog*>(QString::fromLatin1(dialogName(kind)));
    QVERIFY(d);
    QVERIFY(d->isVisible());
    d->setDirectory(dir);
    d->Text1->setText(name);
    d->Command1->click();
    QVERIFY(!d->isVisible());
}

bool enabled(Bench& b, const char* name) { return b.c<QPushButton>(name)->isEnabled(); }

// Steps 1 to 4 with a span of 51.
void runSteps1to4(Bench& b, const QString& dir) {
    runDialog(b, "Command1", DialogKind::LoadStd, dir, "std.fts");
    b.c<QPushButton>("Command7")->click();
    b.c<QLineEdit>("Text1")->setText("51");
    b.c<QPushButton>("Command8")->click();
    b.c<QPushButton>("Command9")->click();
    QVERIFY(enabled(b, "Command18"));
}

}  // namespace

class FrmMainWorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void stepsOneToSevenAndModels();
    void ccfRefusedWithoutResampledStandard();
    void refusedStepsChangeNothingOrRestore();
};

void FrmMainWorkflowTest::stepsOneToSevenAndModels() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);

    // Step 1 through the dialog: the file chosen by a click in the file list.
    b.c<QPushButton>("Command1")->click();
    auto* std = b.w->findChild<FileDialog*>("frmLoadStd");
    QVERIFY(std && std->isVisible());
    std->setDirectory(dir);
    QCOMPARE(std->File1->count(), 2);
    QCOMPARE(std->Text1->text(), QString("pro.fts"));
    QListWidgetItem* item = std->File1->findItems("std.fts", Qt::MatchExactly).value(0);
    QVERIFY(item);
    QTest::mouseClick(std->File1->viewport(), Qt::LeftButton, {}, std->File1->visualItemRect(item).center());
    QCOMPARE(std->Text1->text(), QString("std.fts"));
    std->Command1->click();
    QVERIFY(!std->isVisible());
    QVERIFY(b.p.messages.empty());
    QCOMPARE(b.s->DataPath, dir.toStdString());
    QVERIFY(isBlack(b.c<QLabel>("Label1")));
    QCOMPARE(b.c<QLabel>("Label4")->text(), QString("std.fts"));
    QCOMPARE(b.c<QLabel>("Label7")->text().trimmed(), QString("STD STAR"));
    QCOMPARE(b.c<QLabel>("Label10")->text(), QString(" 5000"));
    QCOMPARE(b.c<QLineEdit>("Text2")->text(), QString("5010"));
    for (const char* n : {"Command3", "Command5", "Command14", "Command7"}) QVERIFY2(enabled(b, n), n);
    for (const char* n : {"Command8", "Command9", "Command10", "Command18", "Command13"}) QVERIFY2(!enabled(b, n), n);
    QVERIFY(b.w->findChild<QMenu*>("mSetKeywords")->menuAction()->isEnabled());

    // Step 2.
    b.c<QPushButton>("Command7")->click();
    QVERIFY(isBlack(b.c<QLabel>("Label15")));
    QVERIFY(b.c<QLineEdit>("Text1")->isEnabled());
    QVERIFY(enabled(b, "Command8"));
    QVERIFY(b.c<QLabel>("Label17")->text().startsWith(" 5010"));
    QVERIFY(!b.c<QLabel>("Label18")->text().isEmpty());

    // Step 3: an even span is corrected in the box; the step is then run again.
    b.c<QLineEdit>("Text1")->setText("50");
    b.c<QPushButton>("Command8")->click();
    QCOMPARE(b.p.messages.back(), std::string("The value must be an odd integer"));
    QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString(" 51"));
    QVERIFY(isBlack(b.c<QLabel>("Label19")));
    QVERIFY(enabled(b, "Command9"));
    const std::size_t before = b.p.messages.size();
    b.c<QPushButton>("Command8")->click();
    QCOMPARE(b.p.messages.size(), before);
    QCOMPARE(b.s->span, 51);

    // Step 4: every control back with its caption; the model can now be saved.
    b.c<QPushButton>("Command9")->click();
    QVERIFY(isBlack(b.c<QLabel>("Label21")));
    QCOMPARE(b.c<QPushButton>("Command9")->text(), QString("Run"));
    QCOMPARE(b.c<QPushButton>("Command10")->text(), QString("Plot SVD result"));
    for (const char* n : {"Command1", "Command2", "Command3", "Command7", "Command8", "Command9", "Command10",
                          "Command18", "Command19"})
        QVERIFY2(enabled(b, n), n);
    QVERIFY(b.w->findChild<QMenu*>("mFile")->menuAction()->isEnabled());
    QCOMPARE(b.c<QLabel>("Label28")->text(), QString("Now you can save the model."));

    // Step 5.
    runDialog(b, "Command2", DialogKind::LoadPro, dir, "pro.fts");
    QVERIFY(isBlack(b.c<QLabel>("Label2")));
    QVERIFY(isRed(b.c<QLabel>("Label25")));
    QCOMPARE(b.c<QLabel>("Label8")->text(), QString("pro.fts"));
    for (const char* n : {"Command4", "Command6", "Command15", "Command16", "Command11"}) QVERIFY2(enabled(b, n), n);
    for (const char* n : {"Command17", "Command12", "Command13"}) QVERIFY2(!enabled(b, n), n);

    // Step 6 and step 7.
    b.c<QPushButton>("Command16")->click();
    QVERIFY(enabled(b, "Command17"));
    QVERIFY(isRed(b.c<QLabel>("Label31")));
    b.c<QPushButton>("Command11")->click();
    QCOMPARE(b.c<QLabel>("Label27")->text(), QString("DONE!"));
    QCOMPARE(b.c<QPushButton>("Command11")->text(), QString("Run"));
    QVERIFY(enabled(b, "Command11") && enabled(b, "Command12") && enabled(b, "Command13"));
    QVERIFY(isBlack(b.c<QLabel>("Label25")));
    QVERIFY(std::filesystem::exists(b.p.WorkDir() / "bbb2.txt"));
    if (const QByteArray shot = qgetenv("TESSAN_SCREENSHOT"); !shot.isEmpty())
        QVERIFY(b.w->grab().save(QString::fromLocal8Bit(shot)));

    b.c<QPushButton>("Command12")->click();
    QCOMPARE(b.p.messages.back(), std::string("This window is not available yet."));
    QCOMPARE(b.s->bbOrder, 35);

    // Save the model; the name typed is the model's file name at once.
    b.c<QPushButton>("Command18")->click();
    auto* save = b.w->findChild<FileDialog*>("frmSave_model");
    save->setDirectory(dir);
    save->Text1->setText("m1.MDL");
    QCOMPARE(b.s->ModelFileName, std::string("m1.MDL"));
    save->Command1->click();
    QVERIFY(std::filesystem::exists(std::filesystem::path(dir.toStdString()) / "m1.MDL"));

    // Load it twice: the list shows both, the newest chosen; the BFs no longer belong to it.
    runDialog(b, "Command19", DialogKind::LoadModel, dir, "m1.MDL");
    runDialog(b, "Command19", DialogKind::LoadModel, dir, "m1.MDL");
    for (int k : {1, 2}) {
        QVERIFY(b.c<QRadioButton>(arrayName("Option1", k).toLatin1().constData())->isVisible());
        QCOMPARE(b.c<QLabel>(arrayName("Label34", k).toLatin1().constData())->text(), QString("std.fts"));
    }
    QVERIFY(b.c<QRadioButton>("Option1_2")->isChecked());
    QVERIFY(!b.c<QRadioButton>("Option1_3")->isVisible());
    QVERIFY(!enabled(b, "Command12") && !enabled(b, "Command13"));
    QVERIFY(b.c<QLabel>("Label27")->text().isEmpty());

    // A model chosen in the list.
    b.c<QLineEdit>("Text2")->setText("1");
    b.c<QRadioButton>("Option1_1")->click();
    QCOMPARE(b.s->CurModel, 1);
    QVERIFY(b.c<QRadioButton>("Option1_1")->isChecked());
    QCOMPARE(b.c<QLineEdit>("Text2")->text(), QString::number(int(b.s->WaveL_B_Std + 10)));

    // Dump, then the next load goes to the first place again.
    b.w->findChild<QAction*>("mDump_models")->trigger();
    QVERIFY(!b.c<QRadioButton>("Option1_1")->isVisible() && !b.c<QRadioButton>("Option1_2")->isVisible());
    QVERIFY(b.c<QLabel>("Label34_2")->text().isEmpty());
    runDialog(b, "Command19", DialogKind::LoadModel, dir, "m1.MDL");
    QVERIFY(b.c<QRadioButton>("Option1_1")->isVisible() && b.c<QRadioButton>("Option1_1")->isChecked());
    QVERIFY(!b.c<QRadioButton>("Option1_2")->isVisible());

    // Thirteen models fill the list; a fourteenth is ignored without a message.
    for (int k = 2; k <= 13; ++k) runDialog(b, "Command19", DialogKind::LoadModel, dir, "m1.MDL");
    QVERIFY(b.c<QRadioButton>("Option1_13")->isChecked());
    const std::size_t shown = b.p.messages.size();
    runDialog(b, "Command19", DialogKind::LoadModel, dir, "m1.MDL");
    QCOMPARE(b.s->nModels, 13);
    QCOMPARE(b.p.messages.size(), shown);
    QVERIFY(b.c<QRadioButton>("Option1_13")->isChecked());
    QVERIFY(!b.c<QRadioButton>("Option1_0")->isVisible());

    // A new standard makes steps 2 to 4 necessary again.
    b.c<QLabel>("Label28")->setText("x");
    runDialog(b, "Command1", DialogKind::LoadStd, dir, "std.fts");
    for (const char* n : {"Command8", "Command9", "Command10", "Command18", "Command13"}) QVERIFY2(!enabled(b, n), n);
    QVERIFY(b.c<QLabel>("Label28")->text().isEmpty());
}

void FrmMainWorkflowTest::ccfRefusedWithoutResampledStandard() {
    Bench first;
    const QString dir = first.dataDir();
    writeSpectra(dir);
    runSteps1to4(first, dir);
    runDialog(first, "Command18", DialogKind::SaveModel, dir, "old.MDL");
    // Rewrite the model in the older format, without the resampled standard.
    const std::filesystem::path model = std::filesystem::path(dir.toStdString()) / "old.MDL";
    std::string text;
    {
        std::ifstream in(model, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        text = all.str();
    }
    const auto from = text.find("\"----- Start ssr() -----\"");
    const auto to = text.find("\"----- END -----\"");
    QVERIFY(from != std::string::npos && to != std::string::npos && from < to);
    text.erase(from, to - from);
    std::ofstream(model, std::ios::binary | std::ios::trunc) << text;

    Bench b;
    runDialog(b, "Command19", DialogKind::LoadModel, dir, "old.MDL");
    QVERIFY(b.p.messages.empty());
    QVERIFY(b.c<QRadioButton>("Option1_1")->isChecked());
    runDialog(b, "Command2", DialogKind::LoadPro, dir, "pro.fts");
    b.c<QPushButton>("Command16")->click();
    QCOMPARE(b.p.messages.back(), std::string(kNoSsr));
    QVERIFY(!enabled(b, "Command17"));
    // Step 7 still runs on the loaded model.
    b.c<QPushButton>("Command11")->click();
    QCOMPARE(b.c<QLabel>("Label27")->text(), QString("DONE!"));
}

void FrmMainWorkflowTest::refusedStepsChangeNothingOrRestore() {
    Bench b;
    const QString dir = b.dataDir();
    writeSpectra(dir);
    runDialog(b, "Command1", DialogKind::LoadStd, dir, "std.fts");
    b.c<QPushButton>("Command7")->click();

    // A span out of limits is refused by the design step: step 4 stays closed.
    b.c<QLineEdit>("Text1")->setText("501");
    b.c<QPushButton>("Command8")->click();
    QVERIFY(!b.p.messages.empty());
    QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString("501"));
    QVERIFY(isRed(b.c<QLabel>("Label19")));
    QVERIFY(!enabled(b, "Command9"));

    // An even span opens step 4 without a usable matrix; the failed decomposition gives every
    // control and caption back but leaves the model unsaveable.
    b.c<QLineEdit>("Text1")->setText("1000");
    b.c<QPushButton>("Command8")->click();
    QCOMPARE(b.c<QLineEdit>("Text1")->text(), QString(" 1001"));
    QVERIFY(enabled(b, "Command9"));
    const std::size_t before = b.p.messages.size();
    b.c<QPushButton>("Command9")->click();
    QCOMPARE(b.p.messages.size(), before + 1);
    for (const char* n : {"Command1", "Command2", "Command3", "Command5", "Command14", "Command7", "Command8",
                          "Command9", "Command19"})
        QVERIFY2(enabled(b, n), n);
    QVERIFY(!enabled(b, "Command10") && !enabled(b, "Command18"));
    QCOMPARE(b.c<QPushButton>("Command9")->text(), QString("Run"));
    QCOMPARE(b.c<QPushButton>("Command10")->text(), QString("Plot SVD result"));
    for (const char* m : {"mFile", "mSetKeywords", "mHelp"})
        QVERIFY2(b.w->findChild<QMenu*>(m)->menuAction()->isEnabled(), m);
    QVERIFY(isRed(b.c<QLabel>("Label21")));
    QVERIFY(b.c<QLabel>("Label28")->text().isEmpty());
}

QTEST_MAIN(FrmMainWorkflowTest)
#include "FrmMainWorkflowTest.moc"
