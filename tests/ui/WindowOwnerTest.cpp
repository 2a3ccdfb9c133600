// Secondary windows and their owner: built on first use, the loading flag over the first show,
// the close box, unload storing every window's geometry, stored geometry that stays as it was
// through runs under a window frame, and the dialogs' resize rule on their outer size. The
// offscreen platform frames nothing, so a window manager is simulated through WindowFrame: it
// frames the windows on the screen, and tells so (a move) or not.
#include "UiTestSupport.h"
#include "io/Settings.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

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

class WindowOwnerTest : public QObject {
    Q_OBJECT
private slots:
    void registryBuildsOnFirstUseAndUnloadStoresEveryWindow();
    void loadingFlagCoversTheFirstShow();
    void storedGeometryStaysThroughRunsUnderAFrame();
    void dialogLayoutFollowsTheOuterSize();
};

void WindowOwnerTest::registryBuildsOnFirstUseAndUnloadStoresEveryWindow() {
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
    b.w->move(-3000, 2500);   // stored saturated to 16 bits
    b.w->resize(2500, 300);

    b.w->findChild<QAction*>("mExit")->trigger();
    QVERIFY(again->closing() && again->unloads == 1);
    const QStringList lines = settingsLines(b.p);
    QCOMPARE(lines[12], QString("-32768,32767,32767,%1").arg(b.w->frameGeometry().height() * 15));
    QCOMPARE(lines[13], twips(again->frameGeometry()));
    QCOMPARE(lines[16], QString("900,1350"));   // frmSave_bb, moved
    for (int i : {9, 10, 11, 17}) QCOMPARE(lines[i], QString("500,500"));   // never opened: as read
}

void WindowOwnerTest::loadingFlagCoversTheFirstShow() {
    // The resizes of the load (made while hidden, delivered by the first show) and the frame's
    // correction run no resize handler; a resize by the user runs it once.
    SimulatedFrame frame;
    auto s = std::make_unique<AnalysisState>();
    s->geom.frmPlotData_bb = {1500, 1500, 6000, 4500};
    QWidget owner;
    Probe w(&owner, *s, frame);
    QVERIFY(w.loading());
    w.show();
    QVERIFY(!w.loading());
    QCOMPARE(w.resizes, 0);
    frame.framed = true;
    notifyMoved(&w);
    QCOMPARE(frame.outer(w), QRect(100, 100, 400, 300));
    QCOMPARE(w.resizes, 0);
    w.resize(500, 350);
    QCOMPARE(w.resizes, 1);
}

void WindowOwnerTest::storedGeometryStaysThroughRunsUnderAFrame() {
    // Three runs each, in one working directory: the stored outer geometry of the main window
    // and of a dialog is what was read, whenever the frame becomes known, until the user
    // changes it; then it is the outer geometry.
    struct Case {
        const char* name;
        bool tellsFraming;          // the window manager notifies the framed windows
        QSize userSize;             // the main window's client size set by the user, if any
        const char* line13;
    };
    const Case cases[] = {
        {"framed and told", true, {}, "7500,3000,15000,6000"},
        {"framed, never told", false, {}, "7500,3000,15000,6000"},
        {"resized by the user", true, {600, 300}, "7500,3000,9120,4905"},
    };
    for (const Case& c : cases) {
        tessan::test::RecordingPlatform p;
        {   // the file as a user's earlier run left it
            auto s = std::make_unique<AnalysisState>();
            s->geom.frmMain = {7500, 3000, 15000, 6000};
            QCOMPARE(SaveSettings(*s, p.WorkDir()), 0);
        }
        for (int run = 1; run <= 3; ++run) {
            const QString at = QString("%1, run %2").arg(c.name).arg(run);
            SimulatedFrame frame;
            auto s = std::make_unique<AnalysisState>();
            auto w = std::make_unique<frmMain>(*s, p, nullptr, frame);
            w->show();
            FileDialog* d = OpenDialog(w->windows(), DialogKind::LoadModel);
            frame.framed = true;
            if (c.tellsFraming) {
                for (QWidget* win : {static_cast<QWidget*>(w.get()), static_cast<QWidget*>(d)}) notifyMoved(win);
                // Once told, the windows' outer sizes are the stored ones.
                QVERIFY2(frame.outer(*w) == (c.userSize.isEmpty() || run == 1 ? QRect(500, 200, 1000, 400)
                                                                                : QRect(500, 200, 608, 327)),
                         qPrintable(at));
                QCOMPARE(frame.outer(*d), QRect(33, 33, 522, 307));
            }
            if (!c.userSize.isEmpty()) w->resize(c.userSize);
            w->close();
            const QStringList lines = settingsLines(p);
            QVERIFY2(lines[12] == c.line13, qPrintable(at + ": " + lines[12]));
            QVERIFY2(lines[9] == "500,500", qPrintable(at + ": " + lines[9]));
        }
    }
}

// Under a frame the dialog's resize rule and minimum apply to its outer size (twips): the
// extra width shared by the two columns, the lists taking the extra height.
void WindowOwnerTest::dialogLayoutFollowsTheOuterSize() {
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

QTEST_MAIN(WindowOwnerTest)
#include "WindowOwnerTest.moc"
