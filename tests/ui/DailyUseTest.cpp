// The windows in daily use: Return and Escape in the dialogs, the file list followed by the
// keyboard, the question before a file is replaced, the focus at start, the one colour table
// and model labels that can be told apart.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "UiTestSupport.h"
#include "ui/QtPlatform.h"

using namespace tessan;
using namespace tessan::ui;
using namespace tessan::ui::test;

namespace {

// Answers every question with `answer` and records it as "? <question>".
struct AnsweringPlatform : tessan::test::RecordingPlatform {
    bool answer = false;
    bool AskYesNo(const std::string& text) override {
        messages.push_back("? " + text);
        return answer;
    }
};

struct Files {
    AnsweringPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    std::filesystem::path dir = p.WorkDir() / "files";
    QString files = QString::fromStdString(dir.string());

    Files() {
        std::filesystem::create_directories(dir / "sub");
        for (const char* name : {"b.fts", "A.FTS", "c.fit", "d.fits", "model.mdl", "noext", "r.dat", "sub/in.fts"})
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

}  // namespace

class DailyUseTest : public QObject {
    Q_OBJECT
private slots:
    void returnDoesOkAndEscapeCancel();
    void keysInTheFileListNameTheFile();
    void replacingAFileIsAskedFirst();
    void questionBoxDefaultsToNo();
    void mainWindowFocusColoursAndModelLabels();
};

void DailyUseTest::returnDoesOkAndEscapeCancel() {
    for (DialogKind kind : kDialogKinds) {
        Files f;
        auto d = f.open(kind);
        const QString name = d->objectName();
        struct Key {
            const char* what;
            QWidget* to;
            Qt::Key key;
            bool visible;             // the dialog after the key
            const char* dataPath;     // "" for the directory shown
        };
        const Key keys[] = {
            {"Escape in the name box", d->Text1, Qt::Key_Escape, false, "c:"},
            {"Return on the focused Cancel", d->Command2, Qt::Key_Return, false, "c:"},
            {"Return in the directory list", d->Dir1, Qt::Key_Return, true, "c:"},
            {"Enter in the name box", d->Text1, Qt::Key_Enter, false, ""},
        };
        for (const Key& k : keys) {
            d->show();
            k.to->setFocus();
            if (k.to == d->Dir1) d->Dir1->setCurrentRow(d->Dir1->count() - 1);   // "sub"
            QTest::keyClick(k.to, k.key);
            const QString at = name + ": " + k.what;
            QVERIFY2(d->isVisible() == k.visible, qPrintable(at));
            const std::string want = *k.dataPath ? k.dataPath : d->directory().toStdString();
            QVERIFY2(f.s->DataPath == want, qPrintable(at + " " + QString::fromStdString(f.s->DataPath)));
        }
        QCOMPARE(d->directory(), f.files + "/sub");
    }
}

void DailyUseTest::keysInTheFileListNameTheFile() {
    Files f;
    auto d = f.open(DialogKind::LoadStd);
    d->selectType(3);   // "*.*": A.FTS b.fts c.fit d.fits model.mdl noext r.dat
    d->Text1->setText("typed");
    d->File1->setCurrentRow(2);   // the program's own choice names nothing
    QCOMPARE(d->Text1->text(), QString("typed"));
    d->File1->setFocus();
    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_Down, "d.fits"}, {Qt::Key_End, "r.dat"},
                                                    {Qt::Key_Up, "noext"},    {Qt::Key_Home, "A.FTS"},
                                                    {Qt::Key_M, "model.mdl"}};
    for (const auto& [key, name] : keys) {
        QTest::keyClick(d->File1, key);
        QCOMPARE(d->Text1->text(), QString(name));
    }
    d->selectType(1);   // the list refilled: the name stays
    QCOMPARE(d->Text1->text(), QString("model.mdl"));
}

void DailyUseTest::replacingAFileIsAskedFirst() {
    struct Case {
        DialogKind kind;
        const char* name;
        bool answer;
        bool asked, replaced;
    };
    const Case cases[] = {
        {DialogKind::SaveBb, "r.dat", false, true, false},
        {DialogKind::SaveBb, "r.dat", true, true, true},
        {DialogKind::SaveModel, "model.mdl", false, true, false},
        {DialogKind::SaveBb, "new.dat", false, false, true},
        {DialogKind::SaveBb, "sub", false, false, false},       // a directory: the save fails on its own
        {DialogKind::LoadModel, "model.mdl", false, false, false},
    };
    for (const Case& c : cases) {
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
        QVERIFY2(d->isVisible() == kept, qPrintable(at));
        QVERIFY2((f.s->DataPath == "c:") == kept, qPrintable(at));
        const auto file = f.dir / c.name;
        const bool replaced = std::filesystem::is_regular_file(file) && tessan::test::ReadText(file) != "x";
        QVERIFY2(replaced == c.replaced, qPrintable(at));
    }
}

void DailyUseTest::questionBoxDefaultsToNo() {
    QtPlatform p;
    for (const bool pressYes : {false, true}) {
        QString text;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            text = box->windowTitle() + ": " + box->text();
            buttons = box->standardButtons();
            if (pressYes)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(p.AskYesNo("m1.MDL exists. Replace it?"), pressYes);
        QCOMPARE(text, QString("Tessan: m1.MDL exists. Replace it?"));
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

void DailyUseTest::mainWindowFocusColoursAndModelLabels() {
    Bench b;
    QVERIFY(QTest::qWaitForWindowActive(b.w.get()));
    QCOMPARE(QApplication::focusWidget(), b.button(1));   // step 1's "Load"

    // The step labels take their colours from the state's table.
    b.s->ColRed = {1, 2, 3};
    b.s->ColEnabled = {4, 5, 6};
    const QString dir = b.dataDir();
    writeSpectra(dir);
    b.runDialog(2, "frmLoadPro", dir, "none.fts");   // a failed read turns step 7 red again
    QCOMPARE(foreColour(b.c<QLabel>("Label25")), QColor(1, 2, 3));

    // Two models whose standards' names share their beginning.
    const QString names[] = {"tmplN_std_(HD 187013) blue.fts", "tmplN_std_(HD 187013) red.fts"};
    for (int i = 0; i < 2; ++i) {
        const std::filesystem::path d = dir.toStdString();
        std::filesystem::copy_file(d / "std.fts", d / names[i].toStdString());
        b.runDialog(1, "frmLoadStd", dir, names[i]);
        b.button(7)->click();
        b.c<QLineEdit>("Text1")->setText("51");
        b.button(8)->click();
        b.button(9)->click();
        b.runDialog(18, "frmSave_model", dir, QString("m%1.MDL").arg(i));
    }
    QCOMPARE(foreColour(b.c<QLabel>("Label1")), QColor(4, 5, 6));
    for (int i = 0; i < 2; ++i) b.runDialog(19, "frmLoad_model", dir, QString("m%1.MDL").arg(i));
    QStringList shown;
    for (int k = 1; k <= 2; ++k) {
        const QLabel* l = b.c<QLabel>(arrayName("Label34", k));
        QCOMPARE(l->toolTip(), names[k - 1]);
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(), qPrintable(l->text()));
        QVERIFY2(l->text().startsWith("tm") && l->text().endsWith(".fts"), qPrintable(l->text()));
        shown << l->text();
    }
    QVERIFY2(shown[0] != shown[1], qPrintable(shown.join(" | ")));
    QVERIFY(b.p.messages.size() == 1);   // the failed read's
}

QTEST_MAIN(DailyUseTest)
#include "DailyUseTest.moc"
