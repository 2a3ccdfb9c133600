// The secondary windows: the file dialogs (patterns, directories, OK and Cancel, Return and
// Escape, the keys that name a file, the question before a file is replaced), the workbench's
// real boxes, and the owner of the windows: built on first use, the loading flag over the first
// show, the close box, unload storing every window's geometry, stored geometry that stays as it
// was through runs under a window frame, and the dialogs' resize rule on their outer size. The
// offscreen platform frames nothing, so a window manager is simulated through WindowFrame: it
// frames the windows on the screen, and tells so (a move) or not.
#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "UiTestSupport.h"
#include "io/Settings.h"
#include "ui/QtPlatform.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

struct Files {
    TestPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    std::filesystem::path dir = p.WorkDir() / "files";
    QString files = QString::fromStdString(dir.string());
    QString empty = QString::fromStdString((p.WorkDir() / "empty").string());

    Files() {
        std::filesystem::create_directories(dir / "sub");
        std::filesystem::create_directories(p.WorkDir() / "empty");
        for (const char* name : {"b.fts", "A.FTS", "c.fit", "D.fits", "model.mdl", "noext", "r.dat", "sub/inner.fts"})
            std::ofstream(dir / name) << "x";
        s->DataPath = "c:";
    }
    std::unique_ptr<FileDialog> open(DialogKind kind) {
        auto d = std::make_unique<FileDialog>(kind, *s, p, nullptr);
        d->show();
        d->activateWindow();
        d->setDirectory(files);
        return d;
    }
};

QStringList listed(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

struct SimulatedFrame : WindowFrame {
    QMargins m{4, 23, 4, 4};
    bool framed = false;
    QMargins margins(const QWidget& w) const override {
        return framed && w.testAttribute(Qt::WA_WState_Created) ? m : QMargins();
    }
    QRect outer(const QWidget& w) const { return w.geometry().marginsAdded(margins(w)); }
};

// A window of the kind still to come: a plot window with a WinRect record, counting the runs
// of its handlers.
class Probe : public ToolWindow {
    Q_OBJECT
public:
    Probe(QWidget* owner, AnalysisState& s, const WindowFrame& frame)
        : ToolWindow(owner, s, &Geometry::frmPlotData_bb, frame) {}
    int resizes = 0, unloads = 0;

protected:
    void Form_Resize() override { ++resizes; }
    void Form_Unload() override { ++unloads; }
};

QStringList settingsLines(const tessan::test::RecordingPlatform& p) {
    return QString::fromStdString(tessan::test::ReadText(p.WorkDir() / kSettingsFileName)).split("\r\n");
}

// Tells a window that the window manager has moved it (as after framing it).
void notifyMoved(QWidget* w) {
    QMoveEvent e(w->pos(), w->pos());
    QCoreApplication::sendEvent(w, &e);
}

QString twips(const QRect& r) {
    return QString("%1,%2,%3,%4").arg(r.x() * 15).arg(r.y() * 15).arg(r.width() * 15).arg(r.height() * 15);
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void patternsAndDirectories();
    void okOnEmptyAndTypedNames();
    void returnDoesOkAndEscapeCancel();
    void keysNameTheFile();
    void replacingAFileIsAskedFirst();
    void realBoxes();
    void registryBuildsOnFirstUseAndUnloadStoresEveryWindow();
    void loadingFlagCoversTheFirstShow();
    void storedGeometryStaysThroughRunsUnderAFrame();
    void dialogLayoutFollowsTheOuterSize();
};

void WindowsTest::patternsAndDirectories() {
    Files f;
    const struct { DialogKind kind; int type; QStringList want; } cases[] = {
        {DialogKind::LoadStd, 0, {"A.FTS", "b.fts"}},
        {DialogKind::LoadStd, 1, {"c.fit"}},
        {DialogKind::LoadStd, 3, {"A.FTS", "b.fts", "c.fit", "D.fits", "model.mdl", "noext", "r.dat"}},
        {DialogKind::LoadModel, 0, {"model.mdl"}},
        {DialogKind::SaveBb, 0, {"r.dat"}},
    };
    for (const auto& c : cases) {
        auto d = f.open(c.kind);
        d->selectType(c.type);
        QVERIFY2(listed(d->File1) == c.want, qPrintable(d->objectName() + " " + d->Combo1->currentText()));
    }

    auto d = std::make_unique<FileDialog>(DialogKind::LoadPro, *f.s, f.p, nullptr);
    QCOMPARE(d->directory(), QDir::toNativeSeparators(QDir::currentPath()));
    d->setDirectory(f.files);
    QCOMPARE(QStringList({d->Text1->text(), d->Label4->text()}), QStringList({"A.FTS", f.files}));
    // Dir1 lists the ancestors and the subdirectories; activating one moves there.
    QStringList paths;
    for (int i = 0; i < d->Dir1->count(); ++i) paths << d->Dir1->item(i)->data(Qt::UserRole).toString();
    QVERIFY(paths.contains("/") && paths.contains(QString::fromStdString(f.p.WorkDir().string())));
    emit d->Dir1->itemActivated(d->Dir1->item(paths.indexOf(f.files + "/sub")));
    QCOMPARE(QStringList({d->Text1->text(), d->Label4->text()}), QStringList({"inner.fts", f.files + "/sub"}));
    d->setDirectory(f.empty);
    QVERIFY(d->Text1->text().isEmpty() && d->File1->count() == 0);
    d->Drive1->setCurrentIndex(-1);
    d->Drive1->setCurrentIndex(d->Drive1->findText("/"));   // the drive list offers the root
    QCOMPARE(d->directory(), QString("/"));
}

void WindowsTest::okOnEmptyAndTypedNames() {
    Files f;
    // An empty name: the standard's dialog refuses it; the program's passes it to the reader.
    // A file not read (an empty name, a file that is no spectrum) leaves the names of the
    // spectrum in hand.
    f.s->StdFileName = "in.fts", f.s->ProFileName = "in.fts", f.s->ProFullPath = "/d/in.fts";
    std::vector<FitsOutcome> reads;
    auto std = f.open(DialogKind::LoadStd), pro = f.open(DialogKind::LoadPro);
    for (auto* d : {std.get(), pro.get()}) {
        d->onFitsRead = [&](FitsOutcome o) { reads.push_back(o); };
        d->setDirectory(f.empty);
        d->Command1->click();
    }
    QCOMPARE(f.p.messages, std::vector<std::string>{"Please select a file to load."});
    QVERIFY(std->isVisible() && !pro->isVisible());
    QCOMPARE(reads, std::vector<FitsOutcome>{FitsOutcome::NotRead});
    QCOMPARE(f.s->DataPath, f.empty.toStdString());
    std->setDirectory(f.files);
    std->Text1->setText("b.fts");
    std->Command1->click();
    QCOMPARE(reads.back(), FitsOutcome::Stopped);
    QCOMPARE(f.s->StdFileName + f.s->ProFileName + f.s->ProFullPath, std::string("in.ftsin.fts/d/in.fts"));

    // A save dialog takes the name as it is typed.
    auto save = f.open(DialogKind::SaveBb);
    QTest::keyClicks(save->Text1, "x");
    QCOMPARE(f.s->BBFileName, std::string("r.datx"));
}

void WindowsTest::returnDoesOkAndEscapeCancel() {
    for (DialogKind kind : kDialogKinds) {
        Files f;
        auto d = f.open(kind);
        const struct { const char* what; QWidget* to; Qt::Key key; bool visible; const char* dataPath; } keys[] = {
            {"Escape in the name box", d->Text1, Qt::Key_Escape, false, "c:"},
            {"Return on the focused Cancel", d->Command2, Qt::Key_Return, false, "c:"},
            {"Return in the directory list", d->Dir1, Qt::Key_Return, true, "c:"},   // opens "sub"
            {"Return in the name box", d->Text1, Qt::Key_Return, false, ""},          // "": the directory shown
            {"Enter in the file list", d->File1, Qt::Key_Enter, false, ""},
        };
        for (const auto& k : keys) {
            d->show();
            f.s->DataPath = "c:";
            k.to->setFocus();
            if (k.to == d->Dir1) d->Dir1->setCurrentRow(d->Dir1->count() - 1);
            QTest::keyClick(k.to, k.key);
            const QString at = d->objectName() + ": " + k.what;
            QVERIFY2(d->isVisible() == k.visible, qPrintable(at));
            const std::string want = *k.dataPath ? k.dataPath : d->directory().toStdString();
            QVERIFY2(f.s->DataPath == want, qPrintable(at + " " + QString::fromStdString(f.s->DataPath)));
        }
        QCOMPARE(d->directory(), f.files + "/sub");
    }
}

// The name box holds what OK will read: a file named by a click or a key in the file list, or
// typed; the program's own choices and refills of the list, and keys passed on by the name box
// or the list, leave it; a key that reaches the standard's dialog elsewhere proposes the first.
void WindowsTest::keysNameTheFile() {
    Files f;
    auto d = f.open(DialogKind::LoadStd);
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    auto press = [&](QWidget* w, Qt::Key key) {
        w->setFocus();
        QTest::keyClick(w, key);
        return d->Text1->text();
    };
    d->Text1->setText("b.fts");
    QCOMPARE(press(d->Text1, Qt::Key_Up), QString("b.fts"));
    QCOMPARE(press(d->Text1, Qt::Key_Down), QString("b.fts"));
    QCOMPARE(press(d->Combo1, Qt::Key_F5), QString("A.FTS"));
    QListWidgetItem* item = d->File1->findItems("b.fts", Qt::MatchExactly).value(0);
    QTest::mouseClick(d->File1->viewport(), Qt::LeftButton, {}, d->File1->visualItemRect(item).center());
    QCOMPARE(press(d->File1, Qt::Key_Shift), QString("b.fts"));
    QCOMPARE(press(d->File1, Qt::Key_F5), QString("b.fts"));

    d->selectType(3);   // A.FTS b.fts c.fit D.fits model.mdl noext r.dat
    d->Text1->setText("typed");
    d->File1->setCurrentRow(2);
    QCOMPARE(d->Text1->text(), QString("typed"));
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Down, "D.fits"}, {Qt::Key_End, "r.dat"}, {Qt::Key_Up, "noext"}, {Qt::Key_Home, "A.FTS"},
        {Qt::Key_M, "model.mdl"}};
    for (const auto& [key, name] : keys) QCOMPARE(press(d->File1, key), QString(name));
    d->selectType(1);
    QCOMPARE(d->Text1->text(), QString("model.mdl"));
    press(d->Text1, Qt::Key_Return);   // OK reads the named file, which is no spectrum
    QVERIFY(!d->isVisible() && !f.p.messages.empty());
}

void WindowsTest::replacingAFileIsAskedFirst() {
    const struct { DialogKind kind; const char* name; bool answer, asked, replaced; } cases[] = {
        {DialogKind::SaveBb, "r.dat", false, true, false},
        {DialogKind::SaveBb, "r.dat", true, true, true},
        {DialogKind::SaveModel, "model.mdl", false, true, false},
        {DialogKind::SaveBb, "new.dat", false, false, true},
        {DialogKind::SaveBb, "sub", false, false, false},   // a directory: the save fails on its own
        {DialogKind::LoadModel, "model.mdl", false, false, false},
    };
    for (const auto& c : cases) {
        Files f;
        f.p.answer = c.answer;
        auto d = f.open(c.kind);
        d->Text1->setText(c.name);
        d->Command1->click();
        const QString at = d->objectName() + " " + c.name + (c.answer ? " yes" : " no");
        const bool asked = !f.p.messages.empty() && f.p.messages.front() == "? " + std::string(c.name) +
                                                                               " exists. Replace it?";
        QVERIFY2(asked == c.asked, qPrintable(at));
        const bool kept = c.asked && !c.answer;   // No: nothing happens and the dialog stays
        QVERIFY2(d->isVisible() == kept && (f.s->DataPath == "c:") == kept, qPrintable(at));
        const auto file = f.dir / c.name;
        const bool replaced = std::filesystem::is_regular_file(file) && tessan::test::ReadText(file) != "x";
        QVERIFY2(replaced == c.replaced, qPrintable(at));
    }
}

// The workbench's Platform shows modal boxes titled with the application's name: a message
// with OK alone, a question with Yes and No where Return answers No. A timer reads the box
// and answers it so that the test never blocks.
void WindowsTest::realBoxes() {
    QtPlatform p;
    QCOMPARE(QString::fromStdString(p.WorkDir().string()), QDir::currentPath());   // where the settings go
    QString seen;
    auto answerNextBox = [&](bool yes) {
        seen.clear();
        QTimer::singleShot(0, [&seen, yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = box->windowTitle() + ": " + box->text() + (box->standardButtons() == QMessageBox::Ok ? " [OK]" : "");
            if (box->standardButtons() == (QMessageBox::Yes | QMessageBox::No)) seen += " [Yes No]";
            yes ? box->button(QMessageBox::Yes)->click() : QTest::keyClick(box, Qt::Key_Return);
        });
    };
    answerNextBox(false);
    p.MsgBox("Please select a file to load.");
    QCOMPARE(seen, QString("Tessan: Please select a file to load. [OK]"));
    for (const bool yes : {false, true}) {
        answerNextBox(yes);
        QCOMPARE(p.AskYesNo("m1.MDL exists. Replace it?"), yes);
        QCOMPARE(seen, QString("Tessan: m1.MDL exists. Replace it? [Yes No]"));
    }
}

void WindowsTest::registryBuildsOnFirstUseAndUnloadStoresEveryWindow() {
    Bench b;
    WindowRegistry& windows = b.w->windows();
    windows.add<Probe>([&] { return new Probe(windows.owner(), *b.s, windows.frame()); });
    QCOMPARE(b.w->findChildren<FileDialog*>().size(), 5);   // primed at start

    windows.hide<Probe>();   // hiding builds nothing
    QVERIFY(!windows.find<Probe>() && !b.w->findChild<Probe*>());
    QPointer<Probe> first = windows.get<Probe>();
    QVERIFY(first && first->parent() == b.w.get() && windows.get<Probe>() == first && !first->isVisible());
    first->present();
    first->move(40, 60);
    first->close();   // the close box: stored, then destroyed; the next use builds another there
    QVERIFY(first->closing() && first->unloads == 1 && !windows.find<Probe>());
    QCOMPARE(QPoint(b.s->geom.frmPlotData_bb.Left, b.s->geom.frmPlotData_bb.Top), QPoint(600, 900));
    QPointer<Probe> again = windows.get<Probe>();
    QVERIFY(again && again.data() != first.data());
    again->present();
    QCOMPARE(again->pos(), QPoint(40, 60));
    QTRY_VERIFY(first.isNull());
    QVERIFY(again && again->isVisible());
    again->setGeometry(100, 120, 400, 300);

    // Any window holding the registry opens a dialog: the one the main window owns.
    FileDialog* saveBb = OpenDialog(windows, DialogKind::SaveBb);
    QVERIFY(saveBb == b.w->dialog(DialogKind::SaveBb) && saveBb->isVisible());
    saveBb->move(60, 90);
    saveBb->Command2->click();   // hidden by Cancel, its place kept
    b.w->move(-3000, 2500);   // stored saturated to 16 bits
    b.w->resize(2500, 300);

    b.w->findChild<QAction*>("mExit")->trigger();
    QVERIFY(again->closing() && again->unloads == 1);
    const QStringList lines = settingsLines(b.p);
    QCOMPARE(lines[12], QString("-32768,32767,32767,%1").arg(b.w->frameGeometry().height() * 15));
    QCOMPARE(lines[13], twips(again->frameGeometry()));
    QCOMPARE(lines[16], QString("900,1350"));   // frmSave_bb
    for (int i : {9, 10, 11, 17}) QCOMPARE(lines[i], QString("500,500"));   // never opened: as read
}

void WindowsTest::loadingFlagCoversTheFirstShow() {
    // The resizes of the load (made while hidden, delivered by the first show) and the frame's
    // correction run no resize handler; a resize by the user runs it once.
    SimulatedFrame frame;
    auto s = std::make_unique<AnalysisState>();
    s->geom.frmPlotData_bb = {1500, 1500, 6000, 4500};
    QWidget owner;
    Probe w(&owner, *s, frame);
    QVERIFY(w.loading());
    w.show();
    QVERIFY(!w.loading() && w.resizes == 0);
    frame.framed = true;
    notifyMoved(&w);
    QVERIFY(frame.outer(w) == QRect(100, 100, 400, 300) && w.resizes == 0);
    w.resize(500, 350);
    QCOMPARE(w.resizes, 1);
}

// Three runs each in one working directory: the stored outer geometry of the main window and of
// a dialog stays what was read, whenever the frame becomes known, until the user changes it.
void WindowsTest::storedGeometryStaysThroughRunsUnderAFrame() {
    const struct { const char* name; bool told; QSize userSize; const char* line13; } cases[] = {
        {"framed and told (moved)", true, {}, "7500,3000,15000,6000"},
        {"framed, never told", false, {}, "7500,3000,15000,6000"},
        {"resized by the user", true, {600, 300}, "7500,3000,9120,4905"},
    };
    for (const auto& c : cases) {
        tessan::test::RecordingPlatform p;
        Printing printing(p);
        auto s = std::make_unique<AnalysisState>();
        s->geom.frmMain = {7500, 3000, 15000, 6000};   // as a user's earlier run left it
        QCOMPARE(SaveSettings(*s, p.WorkDir()), 0);
        for (int run = 1; run <= 3; ++run) {
            const QString at = QString("%1, run %2").arg(c.name).arg(run);
            SimulatedFrame frame;
            s = std::make_unique<AnalysisState>();
            auto w = std::make_unique<frmMain>(*s, p, printing, nullptr, frame);
            w->show();
            FileDialog* d = OpenDialog(w->windows(), DialogKind::LoadModel);
            frame.framed = true;
            if (c.told) {
                notifyMoved(w.get());
                notifyMoved(d);
                const QRect main = c.userSize.isEmpty() || run == 1 ? QRect(500, 200, 1000, 400) : QRect(500, 200, 608, 327);
                QVERIFY2(frame.outer(*w) == main && frame.outer(*d) == QRect(33, 33, 522, 307), qPrintable(at));
            }
            if (!c.userSize.isEmpty()) w->resize(c.userSize);
            w->close();
            const QStringList lines = settingsLines(p);
            QVERIFY2(lines[12] == c.line13 && lines[9] == "500,500", qPrintable(at + ": " + lines.mid(9, 4).join(' ')));
        }
    }
}

// Under a frame the dialog's resize rule and minimum apply to its outer size (twips): the
// extra width shared by the two columns, the lists taking the extra height.
void WindowsTest::dialogLayoutFollowsTheOuterSize() {
    SimulatedFrame frame;
    frame.framed = true;
    auto s = std::make_unique<AnalysisState>();
    tessan::test::RecordingPlatform p;
    FileDialog d(DialogKind::SaveModel, *s, p, nullptr, frame);
    d.show();
    QCOMPARE(frame.outer(d).size(), QSize(522, 307));   // the design size, 7830 x 4605
    d.resize(655 - 8, 333 - 27);   // 9825 x 4995: 1995 more than the design width, shared 997 each
    QCOMPARE(QList<int>({d.File1->width(), d.File1->height(), d.Combo1->y(), d.Dir1->width(), d.Dir1->x(),
                         d.Dir1->height(), d.Drive1->y(), d.Command1->x(), d.Command2->x()}),
             QList<int>({toPixels(4012), toPixels(2895), toPixels(4125), toPixels(3652), toPixels(4357),
                         toPixels(3105), toPixels(4125), toPixels(8234), toPixels(8234)}));
    d.resize(10, 10);
    QCOMPARE(frame.outer(d).size(), QSize(435, 236));   // 6525 x 3540
}

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
