// The main window on its own: the start state, the title rule, the settings written at exit,
// refusals that must change nothing.
#include <QRadioButton>

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
        out << w->objectName() + "=" + w->text() + w->palette().color(QPalette::WindowText).name();
    for (auto* w : b.central()->findChildren<QLineEdit*>()) out << w->objectName() + "=" + w->text();
    for (auto* w : b.central()->findChildren<QRadioButton*>())
        out << w->objectName() + (w->isVisible() ? "v" : "h") + (w->isChecked() ? "c" : "");
    return out;
}

// Opens a load dialog, names a file in dir and presses OK.
void load(Bench& b, int opener, const char* dialog, const QString& dir, const char* name) {
    b.button(opener)->click();
    auto* d = b.w->findChild<FileDialog*>(dialog);
    d->setDirectory(dir);
    d->Text1->setText(name);
    d->Command1->click();
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void titleFollowsText7();
    void exitWritesCompleteSettings();
    void failedModelLoadChangesNothing();
    void failedReadsChangeOnlyTheAfterReadControls();
    void orderBeyondSixteenBitsIsRefused();
};

void FrmMainTest::startState() {
    Bench b;
    QCOMPARE(b.enabledSteps(), QString("1 2 19"));
    for (const char* n : {"Label1", "Label15", "Label19", "Label21", "Label2", "Label31", "Label25"})
        QVERIFY2(isRed(b.c<QLabel>(n)), n);
    QVERIFY(!b.c<QLineEdit>("Text1")->isEnabled());
    for (int k = 0; k <= 13; ++k) {
        QVERIFY(!b.c<QRadioButton>(arrayName("Option1", k))->isVisible());
        QVERIFY(b.c<QLabel>(arrayName("Label34", k))->text().isEmpty());
    }
    // The texts whose blanks matter, and the initial texts of the boxes.
    const std::pair<const char*, const char*> labels[] = {
        {"Label21", "4. Singular Value         Decomposition"}, {"Label2", "5. Fits file - Program "},
        {"Label26", " Starting order, n ="}, {"Label20", "BF span (must be odd integer), typ 201"},
        {"Label30", "Tessan vers. 29f"}};
    for (const auto& [name, text] : labels) QCOMPARE(b.c<QLabel>(name)->text(), QString(text));
    const std::pair<const char*, const char*> boxes[] = {{"Text7", "Date"}, {"Text1", "201"}, {"Text6", "450"},
                                                         {"Text4", "35"}, {"Text2", ""}, {"Text5", ""}};
    for (const auto& [name, text] : boxes) QCOMPARE(b.c<QLineEdit>(name)->text(), QString(text));
    // The default outer size 14385 x 5655 twips, once the window is framed.
    QTRY_COMPARE(b.w->frameGeometry().size(), QSize(959, 377));
}

void FrmMainTest::titleFollowsText7() {
    Bench b;
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
        const QStringList lines = QString::fromStdString(slurp(b.p.WorkDir() / "Tessan6.ini")).split("\r\n");
        QCOMPARE(lines.size(), 25);   // 24 lines, each ending in CR LF
        QCOMPARE(lines.last(), QString());
        QVERIFY(!lines.join("").contains('\n'));
        QCOMPARE(lines.mid(0, 3), QStringList({"\"c:\"", "\"CRVAL1\"", "\"CD1_1\""}));
        QCOMPARE(lines[11], QString("300,450"));
        const QRect f = b.w->frameGeometry();
        QCOMPARE(lines[12], QString(c.line13).replace("W", QString::number(f.width() * 15))
                                              .replace("H", QString::number(f.height() * 15)));
        QCOMPARE(lines[20], QString("8625,1335,13755,5250"));
        QCOMPARE(lines[23], QString("0"));
    }
}

void FrmMainTest::failedModelLoadChangesNothing() {
    Bench b;
    const QString dir = b.dataDir();
    // A file that ends after its header lines.
    std::ofstream(std::filesystem::path(dir.toStdString()) / "short.MDL", std::ios::binary)
        << "\"std.fts\"\r\n\"STD\"\r\n0,\"--- nRecords_StdHdr\"\r\n";
    const QStringList before = snapshot(b);
    for (const char* name : {"missing.MDL", "short.MDL"}) {
        load(b, 19, "frmLoad_model", dir, name);
        QVERIFY2(!b.p.messages.empty() && !b.p.messages.back().empty(), name);
        QCOMPARE(snapshot(b), before);
        QCOMPARE(b.s->nModels, 0);
    }
    QCOMPARE(b.p.messages.front(), std::string("Error 53: File not found."));
}

void FrmMainTest::failedReadsChangeOnlyTheAfterReadControls() {
    Bench b;
    const QString dir = b.dataDir();
    std::ofstream(std::filesystem::path(dir.toStdString()) / "bad.fts", std::ios::binary) << "NOT A FITS FILE";
    b.c<QLabel>("Label28")->setText("Now you can save the model.");
    QStringList before = snapshot(b);
    load(b, 1, "frmLoadStd", dir, "bad.fts");
    load(b, 2, "frmLoadPro", dir, "bad.fts");
    QCOMPARE(b.p.messages, std::vector<std::string>(2, "This is not a fits file!  Please try again."));
    // The standard read empties the status line; the program read opens step 7 whatever
    // its outcome. Nothing else changes.
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

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
