// The main window on its own: the start state, the title rule, the settings written at exit,
// refusals that must change nothing.
#include <QMenuBar>
#include <QRadioButton>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

std::vector<std::string> readLines(const std::filesystem::path& path, bool* crlf) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::vector<std::string> lines;
    *crlf = !text.empty();
    std::size_t at = 0;
    while (at < text.size()) {
        const auto nl = text.find('\n', at);
        if (nl == std::string::npos) { *crlf = false; break; }
        if (nl == 0 || text[nl - 1] != '\r') *crlf = false;
        lines.push_back(text.substr(at, nl - at - (nl > at && text[nl - 1] == '\r' ? 1 : 0)));
        at = nl + 1;
    }
    return lines;
}

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
    void startState();
    void captionsAndMenus();
    void titleFollowsText7();
    void exitWritesCompleteSettings();
    void exitSaturatesGeometry();
    void failedModelLoadChangesNothing();
    void failedReadsChangeOnlyTheAfterReadControls();
    void laterWindowsAndOrderOverflow();
};

void FrmMainTest::startState() {
    Bench b;
    for (int n = 1; n <= 19; ++n) {
        const QByteArray name = "Command" + QByteArray::number(n);
        const bool expected = n == 1 || n == 2 || n == 19;
        QVERIFY2(b.c<QPushButton>(name.constData())->isEnabled() == expected, name.constData());
    }
    for (const char* n : {"Label1", "Label15", "Label19", "Label21", "Label2", "Label31", "Label25"})
        QVERIFY2(isRed(b.c<QLabel>(n)), n);
    QVERIFY(!b.c<QLineEdit>("Text1")->isEnabled());
    for (const char* n : {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7"})
        QVERIFY2(b.c<QLineEdit>(n)->isEnabled(), n);
    for (int k = 0; k <= 13; ++k) {
        QVERIFY(!b.c<QRadioButton>(arrayName("Option1", k).toLatin1().constData())->isVisible());
        QVERIFY(b.c<QLabel>(arrayName("Label34", k).toLatin1().constData())->text().isEmpty());
    }
    for (const char* m : {"mFile", "mSetKeywords", "mHelp"})
        QVERIFY2(b.w->findChild<QMenu*>(m)->menuAction()->isEnabled(), m);
    QCOMPARE(b.s->nModels, 0);
    QCOMPARE(b.s->FitList(9), 9.0);
    QCOMPARE(b.s->ErrText(53), std::string("Error 53: File not found."));
    QCOMPARE(b.s->Lambda0_Key, std::string("CRVAL1"));
    // The default outer size 14385 x 5655 twips, once the window is framed.
    QTRY_COMPARE(b.w->frameGeometry().size(), QSize(959, 377));

    // The five dialogs exist, hidden, with their type lists primed.
    const std::pair<const char*, QStringList> primed[] = {
        {"frmLoadStd", {"*.fts", "*.fit", "*.fits", "*.*"}}, {"frmLoadPro", {"*.fts", "*.fit", "*.fits", "*.*"}},
        {"frmLoad_model", {"*.MDL", "*.*"}}, {"frmSave_model", {"*.MDL", "*.*"}}, {"frmSave_bb", {"*.dat", "*.*"}}};
    for (const auto& [name, types] : primed) {
        auto* d = b.w->findChild<FileDialog*>(name);
        QVERIFY2(d && !d->isVisible(), name);
        QStringList items;
        for (int i = 0; i < d->Combo1->count(); ++i) items << d->Combo1->itemText(i);
        QCOMPARE(items, types);
        QCOMPARE(d->Combo1->currentIndex(), 0);
    }
}

void FrmMainTest::captionsAndMenus() {
    Bench b;
    // The texts whose blanks matter, and the initial texts of the boxes.
    const std::pair<const char*, const char*> texts[] = {
        {"Label21", "4. Singular Value         Decomposition"}, {"Label2", "5. Fits file - Program "},
        {"Label26", " Starting order, n ="}, {"Label20", "BF span (must be odd integer), typ 201"}};
    for (const auto& [name, text] : texts) QCOMPARE(b.c<QLabel>(name)->text(), QString(text));
    const std::pair<const char*, const char*> boxes[] = {{"Text7", "Date"}, {"Text1", "201"}, {"Text6", "450"},
                                                         {"Text4", "35"}, {"Text2", ""}, {"Text5", ""}};
    for (const auto& [name, text] : boxes) QCOMPARE(b.c<QLineEdit>(name)->text(), QString(text));
    auto* title = b.c<QLabel>("Label30");
    QCOMPARE(title->text(), QString("Tessan vers. 29f"));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(title->font().pointSize(), 18);
    QVERIFY(title->font().bold());

    QStringList menus;
    for (QAction* a : b.w->menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, QStringList({"File", "Set Keywords", "Help"}));
    QStringList file;
    for (QAction* a : b.w->findChild<QMenu*>("mFile")->actions()) file << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(file, QStringList({"Load Std calibrated 1-D fits file ...", "Load Prog calibrated 1-D fits file ...", "-",
                                "Load model ...", "Save model ...", "Dump all models", "-", "Exit"}));
}

void FrmMainTest::titleFollowsText7() {
    Bench b;
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from "));
    auto* t7 = b.c<QLineEdit>("Text7");
    t7->clear();
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from "));
    QTest::keyClick(t7, Qt::Key_2);
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from 2"));
    QTest::keyClicks(t7, "026 May");
    QCOMPARE(b.w->windowTitle(), QString("Morvath Broadening Functions from 2026 May"));
}

void FrmMainTest::exitWritesCompleteSettings() {
    Bench b;
    const auto ini = b.p.WorkDir() / "Tessan6.ini";
    QVERIFY(!std::filesystem::exists(ini));
    b.w->move(40, 60);
    b.w->resize(1000, 400);
    auto* dlg = b.w->findChild<FileDialog*>("frmLoadStd");
    dlg->move(20, 30);
    b.w->findChild<QAction*>("mExit")->trigger();
    QVERIFY(!b.w->isVisible());
    bool crlf = false;
    const auto lines = readLines(ini, &crlf);
    QCOMPARE(int(lines.size()), 24);
    QVERIFY(crlf);
    QCOMPARE(lines[0], std::string("\"c:\""));
    QCOMPARE(lines[1], std::string("\"CRVAL1\""));
    QCOMPARE(lines[2], std::string("\"CD1_1\""));
    QCOMPARE(lines[11], std::string("300,450"));        // frmLoadStd, closed with the main window
    const QRect f = b.w->frameGeometry();
    QCOMPARE(f.topLeft(), QPoint(40, 60));
    QCOMPARE(QString::fromStdString(lines[12]), QString("600,900,%1,%2").arg(f.width() * 15).arg(f.height() * 15));
    QCOMPARE(lines[20], std::string("8625,1335,13755,5250"));
    QCOMPARE(lines[23], std::string("0"));
}

void FrmMainTest::exitSaturatesGeometry() {
    Bench b;
    b.w->move(-3000, 2500);
    b.w->resize(2500, 300);
    b.w->close();
    bool crlf = false;
    const auto lines = readLines(b.p.WorkDir() / "Tessan6.ini", &crlf);
    QCOMPARE(int(lines.size()), 24);
    QCOMPARE(QString::fromStdString(lines[12]),
             QString("-32768,32767,32767,%1").arg(b.w->frameGeometry().height() * 15));
}

void FrmMainTest::failedModelLoadChangesNothing() {
    Bench b;
    const QString dir = b.dataDir();
    // A file that ends after its header lines.
    std::ofstream(std::filesystem::path(dir.toStdString()) / "short.MDL", std::ios::binary)
        << "\"std.fts\"\r\n\"STD\"\r\n0,\"--- nRecords_StdHdr\"\r\n";
    const QStringList before = snapshot(b);
    for (const char* name : {"missing.MDL", "short.MDL"}) {
        b.c<QPushButton>("Command19")->click();
        auto* d = b.w->findChild<FileDialog*>("frmLoad_model");
        d->setDirectory(dir);
        d->Text1->setText(name);
        d->Command1->click();
        QVERIFY(!d->isVisible());
        QVERIFY2(!b.p.messages.empty() && !b.p.messages.back().empty(), name);
        QCOMPARE(snapshot(b), before);
        QCOMPARE(b.s->nModels, 0);
        QCOMPARE(b.s->CurModel, 0);
    }
    QCOMPARE(b.p.messages.front(), std::string("Error 53: File not found."));
}

void FrmMainTest::failedReadsChangeOnlyTheAfterReadControls() {
    Bench b;
    const QString dir = b.dataDir();
    std::ofstream(std::filesystem::path(dir.toStdString()) / "bad.fts", std::ios::binary) << "NOT A FITS FILE";
    b.c<QLabel>("Label28")->setText("Now you can save the model.");
    QStringList before = snapshot(b);
    for (const char* opener : {"Command1", "Command2"}) {
        b.c<QPushButton>(opener)->click();
        auto* d = b.w->findChild<FileDialog*>(opener == std::string("Command1") ? "frmLoadStd" : "frmLoadPro");
        d->setDirectory(dir);
        d->Text1->setText("bad.fts");
        d->Command1->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(b.p.messages.back(), std::string("This is not a fits file!  Please try again."));
    }
    // The standard read empties the status line; the program read opens step 7 whatever
    // its outcome. Nothing else changes.
    before.replace(before.indexOf("Label28=Now you can save the model.#000000"), "Label28=#000000");
    before.replace(before.indexOf("Command11-Run"), "Command11+Run");
    QCOMPARE(snapshot(b), before);
}

void FrmMainTest::laterWindowsAndOrderOverflow() {
    Bench b;
    for (const char* item : {"mLambda0", "mdLambda_dp", "mIntro", "m4Help", "mAbout"}) {
        b.p.messages.clear();
        b.w->findChild<QAction*>(item)->trigger();
        QCOMPARE(b.p.messages, std::vector<std::string>{"This window is not available yet."});
    }
    // A disabled step button does not respond.
    b.p.messages.clear();
    b.c<QPushButton>("Command3")->click();
    QVERIFY(b.p.messages.empty());

    // The order is a 16-bit item: a larger number is refused, not wrapped.
    auto* plot = b.c<QPushButton>("Command12");
    plot->setEnabled(true);
    b.s->bbOrder = 7;
    b.c<QLineEdit>("Text4")->setText("40000");
    plot->click();
    QCOMPARE(b.p.messages, std::vector<std::string>{"Error 6: Overflow."});
    QCOMPARE(b.s->bbOrder, 7);
}

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
