// The file dialogs: pattern filtering, directory changes, the resize rule, OK and Cancel.
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
    QString files = QString::fromStdString(dir.string());
    QString empty = QString::fromStdString((p.WorkDir() / "empty").string());

    DialogBench() {
        std::filesystem::create_directories(dir / "sub");
        std::filesystem::create_directories(p.WorkDir() / "empty");
        for (const char* name : {"b.fts", "A.FTS", "c.fit", "d.fits", "model.mdl", "noext", "r.dat", "sub/inner.fts"})
            std::ofstream(dir / name) << "x";
        s->DataPath = "c:";
    }
    std::unique_ptr<FileDialog> open(DialogKind kind) {
        auto d = std::make_unique<FileDialog>(kind, *s, p, nullptr);
        d->show();
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
    void patternsFilterCaseInsensitively();
    void directoryChangeFillsNameAndPath();
    void resizeRule();
    void cancelKeepsDirectoryButNotDataPath();
    void okOnAnEmptyName();
    void okSavesUnderTheTypedName();
};

void DialogTest::patternsFilterCaseInsensitively() {
    DialogBench b;
    const struct { DialogKind kind; int type; QStringList want; } cases[] = {
        {DialogKind::LoadStd, 0, {"A.FTS", "b.fts"}},
        {DialogKind::LoadStd, 1, {"c.fit"}},
        {DialogKind::LoadStd, 3, {"A.FTS", "b.fts", "c.fit", "d.fits", "model.mdl", "noext", "r.dat"}},
        {DialogKind::LoadModel, 0, {"model.mdl"}},
        {DialogKind::SaveBb, 0, {"r.dat"}},
    };
    for (const auto& c : cases) {
        auto d = b.open(c.kind);
        d->setDirectory(b.files);
        d->selectType(c.type);
        QVERIFY2(listed(d->File1) == c.want, qPrintable(d->objectName() + " " + d->Combo1->currentText()));
    }
}

void DialogTest::directoryChangeFillsNameAndPath() {
    DialogBench b;
    auto d = b.open(DialogKind::LoadPro);
    QCOMPARE(d->directory(), QDir::toNativeSeparators(QDir::currentPath()));
    d->setDirectory(b.files);
    QCOMPARE(d->Text1->text(), QString("A.FTS"));
    QCOMPARE(d->Label4->text(), b.files);
    // Dir1 lists the ancestors and the subdirectories; activating one moves there.
    QStringList paths;
    for (int i = 0; i < d->Dir1->count(); ++i) paths << d->Dir1->item(i)->data(Qt::UserRole).toString();
    QVERIFY(paths.contains("/") && paths.contains(QString::fromStdString(b.p.WorkDir().string())));
    QVERIFY(paths.contains(b.files + "/sub"));
    emit d->Dir1->itemActivated(d->Dir1->item(paths.indexOf(b.files + "/sub")));
    QCOMPARE(d->Text1->text(), QString("inner.fts"));
    QCOMPARE(d->Label4->text(), b.files + "/sub");
    d->setDirectory(b.empty);
    QCOMPARE(d->Text1->text(), QString());
    QCOMPARE(d->File1->count(), 0);
    d->Drive1->setCurrentIndex(-1);
    d->Drive1->setCurrentIndex(d->Drive1->findText("/"));   // the drive list offers the root
    QCOMPARE(d->directory(), QString("/"));
}

void DialogTest::resizeRule() {
    // The rule in twips: the minimum size, the design width, and extra width shared by the columns.
    const FileDialogLayout small = LayoutFileDialog(5000, 3000), design = LayoutFileDialog(7830, 5000),
                           wide = LayoutFileDialog(9830, 5000);
    const std::tuple<const char*, int, int> rule[] = {
        {"W", small.W, 6525}, {"H", small.H, 3540}, {"file1Height", small.file1Height, 1440},
        {"combo1Top", small.combo1Top, 2670}, {"drive1Top", small.drive1Top, 2670},
        {"leftWidth", design.leftWidth, 3015}, {"midWidth", design.midWidth, 2655}, {"midLeft", design.midLeft, 3360},
        {"buttonsLeft", design.buttonsLeft, 6240}, {"file1Height", design.file1Height, 2900},
        {"label2Top", design.label2Top, 3890}, {"dir1Height", design.dir1Height, 3110},
        {"wide leftWidth", wide.leftWidth, 4015}, {"wide midWidth", wide.midWidth, 3655},
        {"wide buttonsLeft", wide.buttonsLeft, 8240}};
    for (const auto& [what, got, want] : rule) QVERIFY2(got == want, qPrintable(QString("%1: %2").arg(what).arg(got)));

    // The live dialog follows it and cannot be made smaller than the minimum.
    DialogBench b;
    auto d = b.open(DialogKind::SaveModel);
    const QSize frame = d->frameGeometry().size() - d->size();
    d->resize(toPixels(7830) - frame.width(), toPixels(5000) - frame.height());
    QCOMPARE(QList<int>({d->File1->width(), d->Dir1->width(), d->Dir1->x(), d->Command1->x(), d->Command2->x()}),
             QList<int>({toPixels(3015), toPixels(2655), toPixels(3360), toPixels(6240), toPixels(6240)}));
    d->resize(toPixels(5000), toPixels(3000));
    QCOMPARE(d->frameGeometry().size(), QSize(toPixels(6525), toPixels(3540)));
}

void DialogTest::cancelKeepsDirectoryButNotDataPath() {
    DialogBench b;
    auto d = b.open(DialogKind::LoadModel);
    d->move(50, 70);
    d->setDirectory(b.files);
    d->Text1->setText("model.mdl");
    d->Command2->click();
    QVERIFY(!d->isVisible() && b.s->ModelFullPath.empty() && b.p.messages.empty());
    QCOMPARE(b.s->DataPath, std::string("c:"));
    QCOMPARE(QPoint(b.s->geom.frmLoad_model.Left, b.s->geom.frmLoad_model.Top), QPoint(750, 1050));
    d->show();
    d->reprime();
    QCOMPARE(d->directory(), b.files);
}

void DialogTest::okOnAnEmptyName() {
    // The standard's dialog refuses it; the program's passes it to the reader, which reads nothing.
    // A file not read (an empty name, a file that is no spectrum) leaves the names of the
    // spectrum in hand.
    DialogBench b;
    b.s->StdFileName = "in.fts", b.s->ProFileName = "in.fts", b.s->ProFullPath = "/d/in.fts";
    std::vector<FitsOutcome> reads;
    auto std = b.open(DialogKind::LoadStd), pro = b.open(DialogKind::LoadPro);
    for (auto* d : {std.get(), pro.get()}) {
        d->onFitsRead = [&](FitsOutcome o) { reads.push_back(o); };
        d->setDirectory(b.empty);
        d->Command1->click();
    }
    QCOMPARE(b.p.messages, std::vector<std::string>{"Please select a file to load."});
    QVERIFY(std->isVisible() && !pro->isVisible());
    QCOMPARE(reads, std::vector<FitsOutcome>{FitsOutcome::NotRead});
    QCOMPARE(b.s->DataPath, b.empty.toStdString());
    std->setDirectory(b.files);
    std->Text1->setText("b.fts");
    std->Command1->click();
    QCOMPARE(reads.back(), FitsOutcome::Stopped);
    QCOMPARE(b.s->StdFileName + b.s->ProFileName + b.s->ProFullPath, std::string("in.ftsin.fts/d/in.fts"));
}

void DialogTest::okSavesUnderTheTypedName() {
    DialogBench b;
    auto save = b.open(DialogKind::SaveBb);
    save->setDirectory(b.files);
    QTest::keyClicks(save->Text1, "x");
    QCOMPARE(b.s->BBFileName, std::string("r.datx"));   // typing updates the name at once
    save->Text1->setText("out.dat");
    save->Command1->click();
    QCOMPARE(b.s->BBFullPath, (b.dir / "out.dat").string());
    QVERIFY(std::filesystem::exists(b.dir / "out.dat"));
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
