// The file dialogs: pattern filtering, directory changes, the resize rule, OK and Cancel.
#include <QSignalSpy>
#include <fstream>

#include "UiTestSupport.h"
#include "ui/FileDialogLayout.h"
#include "ui/Twips.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

struct DialogBench {
    tessan::test::RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    std::filesystem::path dir = p.WorkDir() / "files";

    DialogBench() {
        std::filesystem::create_directories(dir / "sub");
        std::filesystem::create_directories(p.WorkDir() / "empty");
        for (const char* name : {"b.fts", "A.FTS", "c.fit", "d.fits", "model.mdl", "noext", "r.dat"})
            std::ofstream(dir / name) << "x";
        std::ofstream(dir / "sub" / "inner.fts") << "x";
        s->DataPath = "c:";
    }
    QString path(const std::filesystem::path& p) const { return QString::fromStdString(p.string()); }
    QStringList files(const FileDialog& d) const {
        QStringList out;
        for (int i = 0; i < d.File1->count(); ++i) out << d.File1->item(i)->text();
        return out;
    }
};

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT
private slots:
    void patternsFilterCaseInsensitively();
    void directoryChangeFillsNameAndPath();
    void layoutRule();
    void resizeFollowsLayoutRule();
    void cancelKeepsDirectoryButNotDataPath();
    void okSetsPathsAndRunsOperation();
    void emptyNameRefusedByStandardDialog();
    void keyAndCloseRules();
};

void DialogTest::patternsFilterCaseInsensitively() {
    DialogBench b;
    FileDialog d(DialogKind::LoadStd, *b.s, b.p, nullptr);
    QCOMPARE(d.windowTitle(), QString("Load Standard Fits file"));
    QCOMPARE(d.objectName(), QString("frmLoadStd"));
    d.setDirectory(b.path(b.dir));
    QCOMPARE(b.files(d), QStringList({"A.FTS", "b.fts"}));
    d.selectType(1);
    QCOMPARE(b.files(d), QStringList({"c.fit"}));
    d.selectType(3);   // "*.*" lists every file, also one without an extension
    QCOMPARE(b.files(d), QStringList({"A.FTS", "b.fts", "c.fit", "d.fits", "model.mdl", "noext", "r.dat"}));
    QCOMPARE(d.Combo1->currentText(), QString("*.*"));

    FileDialog m(DialogKind::LoadModel, *b.s, b.p, nullptr);
    m.setDirectory(b.path(b.dir));
    QCOMPARE(b.files(m), QStringList({"model.mdl"}));
    FileDialog r(DialogKind::SaveBb, *b.s, b.p, nullptr);
    QCOMPARE(r.windowTitle(), QString("Save bb Results"));
    r.setDirectory(b.path(b.dir));
    QCOMPARE(b.files(r), QStringList({"r.dat"}));
}

void DialogTest::directoryChangeFillsNameAndPath() {
    DialogBench b;
    FileDialog d(DialogKind::LoadPro, *b.s, b.p, nullptr);
    QCOMPARE(d.directory(), QDir::toNativeSeparators(QDir::currentPath()));
    d.setDirectory(b.path(b.dir));
    QCOMPARE(d.Text1->text(), QString("A.FTS"));
    QCOMPARE(d.Label4->text(), b.path(b.dir));
    // Dir1 lists the ancestors and the subdirectories; activating one moves there.
    QListWidgetItem* sub = nullptr;
    QStringList paths;
    for (int i = 0; i < d.Dir1->count(); ++i) {
        const QString p = d.Dir1->item(i)->data(Qt::UserRole).toString();
        paths << p;
        if (p.endsWith("/sub")) sub = d.Dir1->item(i);
    }
    QVERIFY(paths.contains("/"));
    QVERIFY(paths.contains(b.path(b.p.WorkDir())));
    QVERIFY(sub);
    emit d.Dir1->itemActivated(sub);
    QCOMPARE(d.Text1->text(), QString("inner.fts"));
    QCOMPARE(d.Label4->text(), b.path(b.dir / "sub"));
    d.setDirectory(b.path(b.p.WorkDir() / "empty"));
    QCOMPARE(d.Text1->text(), QString());
    QCOMPARE(d.File1->count(), 0);
    // The drive list offers the file-system root.
    QVERIFY(d.Drive1->findText("/") >= 0);
    d.Drive1->setCurrentIndex(-1);
    d.Drive1->setCurrentIndex(d.Drive1->findText("/"));
    QCOMPARE(d.directory(), QString("/"));
}

void DialogTest::layoutRule() {
    const FileDialogLayout small = LayoutFileDialog(5000, 3000);
    QCOMPARE(small.W, 6525);
    QCOMPARE(small.H, 3540);
    QCOMPARE(small.file1Height, 1440);
    QCOMPARE(small.combo1Top, 2670);
    QCOMPARE(small.drive1Top, 2670);
    const FileDialogLayout design = LayoutFileDialog(7830, 5000);
    QCOMPARE(design.leftWidth, 3015);
    QCOMPARE(design.midWidth, 2655);
    QCOMPARE(design.midLeft, 3360);
    QCOMPARE(design.buttonsLeft, 6240);
    QCOMPARE(design.file1Height, 2900);
    QCOMPARE(design.label2Top, 3890);
    QCOMPARE(design.dir1Height, 3110);
    QCOMPARE(design.label5Top, 3890);
    // Extra width is shared equally by the two columns; the buttons follow.
    const FileDialogLayout wide = LayoutFileDialog(9830, 5000);
    QCOMPARE(wide.leftWidth, 4015);
    QCOMPARE(wide.midWidth, 3655);
    QCOMPARE(wide.buttonsLeft, 8240);
}

void DialogTest::resizeFollowsLayoutRule() {
    DialogBench b;
    FileDialog d(DialogKind::SaveModel, *b.s, b.p, nullptr);
    d.show();
    const QSize frame = d.frameGeometry().size() - d.size();
    d.resize(toPixels(7830) - frame.width(), toPixels(5000) - frame.height());
    QCOMPARE(d.File1->width(), toPixels(3015));
    QCOMPARE(d.Dir1->width(), toPixels(2655));
    QCOMPARE(d.Dir1->x(), toPixels(3360));
    QCOMPARE(d.Command1->x(), toPixels(6240));
    QCOMPARE(d.Command2->x(), toPixels(6240));
    d.resize(toPixels(5000), toPixels(3000));   // cannot be made smaller than the minimum
    QCOMPARE(d.frameGeometry().width(), toPixels(6525));
    QCOMPARE(d.frameGeometry().height(), toPixels(3540));
}

void DialogTest::cancelKeepsDirectoryButNotDataPath() {
    DialogBench b;
    FileDialog d(DialogKind::LoadModel, *b.s, b.p, nullptr);
    d.show();
    d.move(50, 70);
    d.setDirectory(b.path(b.dir));
    d.Text1->setText("model.mdl");
    d.Command2->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(b.s->DataPath, std::string("c:"));
    QVERIFY(b.s->ModelFullPath.empty());
    QCOMPARE(b.s->geom.frmLoad_model.Left, 750);
    QCOMPARE(b.s->geom.frmLoad_model.Top, 1050);
    d.show();
    d.reprime();
    QCOMPARE(d.directory(), b.path(b.dir));
    QVERIFY(b.p.messages.empty());
}

void DialogTest::okSetsPathsAndRunsOperation() {
    DialogBench b;
    FileDialog d(DialogKind::LoadPro, *b.s, b.p, nullptr);
    std::vector<FitsOutcome> reads;
    d.onFitsRead = [&](FitsOutcome o) { reads.push_back(o); };
    d.show();
    d.setDirectory(b.path(b.dir));
    d.Text1->clear();
    d.Command1->click();   // an empty name goes to the reader, which reads nothing
    QCOMPARE(reads, std::vector<FitsOutcome>{FitsOutcome::NotRead});
    QVERIFY(!d.isVisible());
    QCOMPARE(b.s->DataPath, b.dir.string());
    QCOMPARE(b.s->ProFullPath, b.dir.string() + "/");

    FileDialog save(DialogKind::SaveBb, *b.s, b.p, nullptr);
    save.setDirectory(b.path(b.dir));
    QTest::keyClicks(save.Text1, "x");
    QCOMPARE(b.s->BBFileName, std::string("r.datx"));   // typing updates the name at once
    save.Text1->setText("out.dat");
    save.Command1->click();
    QCOMPARE(b.s->BBFullPath, (b.dir / "out.dat").string());
    QVERIFY(std::filesystem::exists(b.dir / "out.dat"));
}

void DialogTest::emptyNameRefusedByStandardDialog() {
    DialogBench b;
    FileDialog d(DialogKind::LoadStd, *b.s, b.p, nullptr);
    int reads = 0;
    d.onFitsRead = [&](FitsOutcome) { ++reads; };
    d.show();
    d.setDirectory(b.path(b.p.WorkDir() / "empty"));
    QVERIFY(d.Text1->text().isEmpty());
    d.Command1->click();
    QCOMPARE(b.p.messages, std::vector<std::string>{"Please select a file to load."});
    QVERIFY(d.isVisible());
    QCOMPARE(reads, 0);
}

void DialogTest::keyAndCloseRules() {
    DialogBench b;
    QWidget owner;
    QPointer<FileDialog> d = new FileDialog(DialogKind::LoadStd, *b.s, b.p, &owner);
    d->show();
    d->setDirectory(b.path(b.dir));
    d->Text1->setText("typed");
    QTest::keyClick(d, Qt::Key_F2);   // a key no control takes: the first file again
    QCOMPARE(d->Text1->text(), QString("A.FTS"));
    d->move(10, 20);
    d->close();
    QCOMPARE(b.s->geom.frmLoadStd.Left, 150);
    QCOMPARE(b.s->geom.frmLoadStd.Top, 300);
    QTRY_VERIFY(d.isNull());   // the close box destroys it
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
