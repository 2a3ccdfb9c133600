// The file dialogs: pattern filtering, directories, OK and Cancel, Return and Escape, the keys
// that name a file, the question before a file is replaced, and the workbench's real boxes.
#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "UiTestSupport.h"
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
        for (const char* name : {"b.fts", "A.FTS", "c.fit", "d.fits", "model.mdl", "noext", "r.dat", "sub/inner.fts"})
            std::ofstream(dir / name) << "x";
        s->DataPath = "c:";
    }
    // The dialog shown, active, in the files directory.
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

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT
private slots:
    void patternsAndDirectories();
    void okOnEmptyAndTypedNames();
    void returnDoesOkAndEscapeCancel();
    void keysNameTheFile();
    void replacingAFileIsAskedFirst();
    void realBoxes();
};

void DialogTest::patternsAndDirectories() {
    Files f;
    const struct { DialogKind kind; int type; QStringList want; } cases[] = {
        {DialogKind::LoadStd, 0, {"A.FTS", "b.fts"}},
        {DialogKind::LoadStd, 1, {"c.fit"}},
        {DialogKind::LoadStd, 3, {"A.FTS", "b.fts", "c.fit", "d.fits", "model.mdl", "noext", "r.dat"}},
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

void DialogTest::okOnEmptyAndTypedNames() {
    Files f;
    // An empty name: the standard's dialog refuses it; the program's passes it to the reader.
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
    QCOMPARE(f.s->ProFullPath, f.empty.toStdString() + "/");

    // A save dialog takes the name as it is typed, and OK saves under it.
    auto save = f.open(DialogKind::SaveBb);
    QTest::keyClicks(save->Text1, "x");
    QCOMPARE(f.s->BBFileName, std::string("r.datx"));
    save->Text1->setText("out.dat");
    save->Command1->click();
    QCOMPARE(f.s->BBFullPath, (f.dir / "out.dat").string());
    QVERIFY(std::filesystem::exists(f.dir / "out.dat"));
}

void DialogTest::returnDoesOkAndEscapeCancel() {
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
void DialogTest::keysNameTheFile() {
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

    d->selectType(3);   // A.FTS b.fts c.fit d.fits model.mdl noext r.dat
    d->Text1->setText("typed");
    d->File1->setCurrentRow(2);
    QCOMPARE(d->Text1->text(), QString("typed"));
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Down, "d.fits"}, {Qt::Key_End, "r.dat"}, {Qt::Key_Up, "noext"}, {Qt::Key_Home, "A.FTS"},
        {Qt::Key_M, "model.mdl"}};
    for (const auto& [key, name] : keys) QCOMPARE(press(d->File1, key), QString(name));
    d->selectType(1);
    QCOMPARE(d->Text1->text(), QString("model.mdl"));
    press(d->Text1, Qt::Key_Return);
    QCOMPARE(f.s->StdFileName, std::string("model.mdl"));
}

void DialogTest::replacingAFileIsAskedFirst() {
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
void DialogTest::realBoxes() {
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

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
