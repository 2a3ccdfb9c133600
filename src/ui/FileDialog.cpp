#include "ui/FileDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <algorithm>
#include <filesystem>

#include "io/BfResults.h"
#include "steps/ProgramSteps.h"
#include "steps/StandardSteps.h"
#include "ui/Controls.h"
#include "ui/FileDialogLayout.h"
#include "ui/WindowRegistry.h"

namespace tessan::ui {

namespace {

struct KindInfo {
    const char* name;
    const char* caption;
    QStringList patterns;
    WinPos Geometry::*pos;
    std::string AnalysisState::*nameItem;
    std::string AnalysisState::*fullItem;
    bool isLoad;
};

const KindInfo& info(DialogKind kind) {
    static const KindInfo table[] = {
        {"frmLoadStd", "Load Standard Fits file", {"*.fts", "*.fit", "*.fits", "*.*"},
         &Geometry::frmLoadStd, &AnalysisState::StdFileName, &AnalysisState::StdFullPath, true},
        {"frmLoadPro", "Load Program Fits file", {"*.fts", "*.fit", "*.fits", "*.*"},
         &Geometry::frmLoadPro, &AnalysisState::ProFileName, &AnalysisState::ProFullPath, true},
        {"frmLoad_model", "Load model", {"*.MDL", "*.*"}, &Geometry::frmLoad_model,
         &AnalysisState::ModelFileName, &AnalysisState::ModelFullPath, true},
        {"frmSave_model", "Save model", {"*.MDL", "*.*"}, &Geometry::frmSave_model,
         &AnalysisState::ModelFileName, &AnalysisState::ModelFullPath, false},
        {"frmSave_bb", "Save bb Results", {"*.dat", "*.*"}, &Geometry::frmSave_bb,
         &AnalysisState::BBFileName, &AnalysisState::BBFullPath, false},
    };
    return table[static_cast<int>(kind)];
}

// "*.*" stands for every file, also those without a dot in their name.
QString filterFor(const QString& pattern) { return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern; }

}  // namespace

const char* dialogName(DialogKind kind) { return info(kind).name; }

FileDialog::FileDialog(DialogKind kind, AnalysisState& s, Platform& p, QWidget* owner, const WindowFrame& frame)
    : ToolWindow(owner, s, info(kind).pos, QSize(kDialogDesignWidth, kDialogDesignHeight), frame), m_kind(kind),
      m_p(p) {
    // Load: the base has placed the window at its stored position with the design size.
    const KindInfo& k = info(kind);
    setObjectName(QString::fromLatin1(k.name));
    setWindowTitle(QString::fromLatin1(k.caption));

    Label1 = control<QLabel>(this, "Label1", {});
    Label1->setText(QStringLiteral("File Name:"));
    Text1 = control<QLineEdit>(this, "Text1", {});
    File1 = control<QListWidget>(this, "File1", {});
    Label2 = control<QLabel>(this, "Label2", {});
    Label2->setText(QStringLiteral("List Files of Type:"));
    Combo1 = control<QComboBox>(this, "Combo1", {});
    Label3 = control<QLabel>(this, "Label3", {});
    Label3->setText(QStringLiteral("Directories:"));
    Label4 = control<QLabel>(this, "Label4", {});
    Dir1 = control<QListWidget>(this, "Dir1", {});
    Label5 = control<QLabel>(this, "Label5", {});
    Label5->setText(QStringLiteral("Drives:"));
    Drive1 = control<QComboBox>(this, "Drive1", {});
    Command1 = control<QPushButton>(this, "Command1", {});  // "OK"
    Command1->setText(QStringLiteral("OK"));
    Command2 = control<QPushButton>(this, "Command2", {});  // "Cancel"
    Command2->setText(QStringLiteral("Cancel"));
    // Return on a focused button presses that button; elsewhere it does OK.
    for (QPushButton* b : {Command1, Command2}) b->setAutoDefault(true);

    // The type list with its first pattern, the working directory.
    Combo1->addItems(k.patterns);
    m_pattern = k.patterns.front();
    fillDrives();
    connectHandlers();
    setDirectory(QDir::currentPath());  // also Text1 <- the first file
    layoutControls();
}

void FileDialog::connectHandlers() {
    connect(Command1, &QPushButton::clicked, this, &FileDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FileDialog::Command2_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FileDialog::Combo1_Click);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &FileDialog::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setDirectory(item->data(Qt::UserRole).toString()); });
    connect(File1, &QListWidget::itemClicked, this, &FileDialog::File1_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &FileDialog::File1_DblClick);
    connect(File1, &QListWidget::currentItemChanged, this, &FileDialog::File1_KeyMove);
    File1->installEventFilter(this);
    File1->viewport()->installEventFilter(this);
    if (m_kind == DialogKind::SaveModel || m_kind == DialogKind::SaveBb)
        connect(Text1, &QLineEdit::textChanged, this, &FileDialog::Text1_Change);
}

void FileDialog::setDirectory(const QString& path) {
    const QFileInfo fi(path);
    if (!fi.isDir()) return;
    m_dirPath = QDir::toNativeSeparators(QDir::cleanPath(fi.absoluteFilePath()));
    fillDirs();
    fillFiles();
    Text1->setText(firstFileName());
    Label4->setText(m_dirPath);
    Label4->setToolTip(m_dirPath);
    // Show the volume that holds the directory, without treating it as a drive change.
    int best = -1, bestLen = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemText(i);
        const bool holds = m_dirPath == root ||
                           m_dirPath.startsWith(root.endsWith(QDir::separator()) ? root : root + QDir::separator());
        if (holds && root.size() > bestLen) best = i, bestLen = int(root.size());
    }
    const QSignalBlocker block(Drive1);
    Drive1->setCurrentIndex(best);
}

void FileDialog::selectType(int i) { Combo1->setCurrentIndex(i); }

void FileDialog::reprime() {
    selectType(1);
    selectType(0);
}

void FileDialog::Combo1_Click() {
    if (Combo1->currentIndex() < 0) return;
    m_pattern = Combo1->currentText();
    fillFiles();
}

void FileDialog::Drive1_Change() {
    if (Drive1->currentIndex() >= 0) setDirectory(Drive1->currentText());
}

void FileDialog::File1_Click(QListWidgetItem* item) {
    if (item) Text1->setText(item->text());
}

void FileDialog::File1_DblClick(QListWidgetItem* item) {
    if (!item) return;
    Text1->setText(item->text());
    Command1_Click();
}

void FileDialog::File1_KeyMove(QListWidgetItem* item) {
    // An arrow key or a typed letter chooses a file as a click does; the list's own refills
    // and mouse presses do not come here.
    if (m_keyInFileList && item) Text1->setText(item->text());
}

void FileDialog::Text1_Change() { m_s.*info(m_kind).nameItem = Text1->text().toStdString(); }

void FileDialog::fillFiles() {
    m_keyInFileList = false;
    const QDir dir(m_dirPath);
    File1->clear();
    File1->addItems(dir.entryList({filterFor(m_pattern)}, QDir::Files,
                                  QDir::Name | QDir::IgnoreCase));
}

void FileDialog::fillDirs() {
    QStringList chain;
    QDir d(m_dirPath);
    while (!d.isRoot()) {
        chain.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    chain.prepend(d.absolutePath());
    Dir1->clear();
    auto add = [this](const QString& text, const QString& path, int level) {
        auto* item = new QListWidgetItem(QString(level * 2, QLatin1Char(' ')) + text, Dir1);
        item->setData(Qt::UserRole, path);
    };
    for (int level = 0; level < chain.size(); ++level) {
        const QString& p = chain[level];
        add(level == 0 ? QDir::toNativeSeparators(p) : QFileInfo(p).fileName(), p, level);
    }
    Dir1->setCurrentRow(int(chain.size()) - 1);
    const QDir here(m_dirPath);
    for (const QString& sub : here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(sub, here.absoluteFilePath(sub), int(chain.size()));
}

void FileDialog::fillDrives() {
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && QFileInfo(v.rootPath()).isDir()) roots << QDir::toNativeSeparators(v.rootPath());
    for (const QFileInfo& d : QDir::drives()) roots << QDir::toNativeSeparators(d.absolutePath());
    roots.removeDuplicates();
    roots.sort();
    const QSignalBlocker block(Drive1);
    Drive1->clear();
    Drive1->addItems(roots);
}

QString FileDialog::firstFileName() const { return File1->count() > 0 ? File1->item(0)->text() : QString(); }

bool FileDialog::mayWrite(const std::string& fullPath) {
    std::error_code ec;
    const auto st = std::filesystem::status(std::filesystem::path(fullPath), ec);
    if (ec || !std::filesystem::exists(st) || std::filesystem::is_directory(st)) return true;
    return m_p.AskYesNo(Text1->text().toStdString() + " exists. Replace it?");
}

void FileDialog::Command1_Click() {
    const KindInfo& k = info(m_kind);
    storeGeometry();
    // A save dialog asks before it replaces a file; No leaves everything as it was and the
    // dialog open.
    if (!k.isLoad && !mayWrite((std::filesystem::path(m_dirPath.toStdString()) /
                                std::filesystem::path(Text1->text().toStdString())).string()))
        return;
    if (k.isLoad) {
        Label4->setText(m_dirPath);
        m_s.DataPath = Label4->text().toStdString();
    } else {
        m_s.DataPath = m_dirPath.toStdString();
    }
    const std::string name = Text1->text().toStdString();
    // A star's file name and path name the spectrum in hand: they are given back when the
    // file is not read, so that a model or BF results saved later never name a refused file.
    const std::string oldName = m_s.*k.nameItem, oldFull = m_s.*k.fullItem;
    m_s.*k.nameItem = name;
    m_s.*k.fullItem = (std::filesystem::path(m_s.DataPath) / std::filesystem::path(name)).string();
    if (m_kind == DialogKind::LoadStd && name.empty()) {
        m_s.*k.nameItem = oldName, m_s.*k.fullItem = oldFull;
        m_p.MsgBox("Please select a file to load.");
        return;
    }
    runOperation([&] { m_s.*k.nameItem = oldName, m_s.*k.fullItem = oldFull; });
    hide();
}

void FileDialog::runOperation(const std::function<void()>& unread) {
    switch (m_kind) {
    case DialogKind::LoadStd:
    case DialogKind::LoadPro: {
        const FitsOutcome o =
            m_kind == DialogKind::LoadStd ? ReadStdFits(m_s, m_p) : ReadProFits(m_s, m_p);
        if (o != FitsOutcome::Done) unread();   // before the follow-up, which shows the names
        if (onFitsRead) onFitsRead(o);
        break;
    }
    case DialogKind::LoadModel: {
        const ModelLoadOutcome o = Load_model(m_s, m_p);
        if (onModelLoaded) onModelLoaded(o);
        break;
    }
    case DialogKind::SaveModel:
        (void)Save_model(m_s, m_p);  // a failure has been reported by Save_model
        break;
    case DialogKind::SaveBb:
        (void)Save_bb(m_s, m_p);
        break;
    }
}

void FileDialog::Command2_Click() {
    storeGeometry();
    hide();
}

void FileDialog::keyPressEvent(QKeyEvent* e) {
    // Return does OK (but opens a directory in the directory list) and Escape does Cancel,
    // wherever they were pressed; a focused button takes Return itself.
    const bool isReturn = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (isReturn && focusWidget() != Dir1) {
        Command1_Click();
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        Command2_Click();
        return;
    }
    // A key that no control took: the standard dialog proposes the first file again. Keys that
    // the name box or the file list pass on (arrows, a lone Shift) leave the name typed or
    // clicked there: it is what OK will load.
    const bool fromName = Text1->hasFocus() || File1->hasFocus();
    if (m_kind == DialogKind::LoadStd && !fromName) Text1->setText(firstFileName());
    QWidget::keyPressEvent(e);
}

bool FileDialog::eventFilter(QObject* watched, QEvent* e) {
    // Pressing a mouse button in the file list first proposes the first file; the click that
    // follows then names the file clicked.
    if (watched == File1->viewport() && e->type() == QEvent::MouseButtonPress) {
        m_keyInFileList = false;
        Text1->setText(firstFileName());
    }
    if (watched == File1 && e->type() == QEvent::KeyPress) m_keyInFileList = true;
    return QWidget::eventFilter(watched, e);
}

void FileDialog::layoutControls() {
    // The rule is on the outer size, the minimum too: the frame is taken off for Qt's client size.
    const QMargins m = frameMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    setMinimumSize(std::max(1, toPixels(kDialogMinWidth) - frame.width()),
                   std::max(1, toPixels(kDialogMinHeight) - frame.height()));
    const FileDialogLayout l = LayoutFileDialog((width() + frame.width()) * kTwipsPerPixel,
                                                (height() + frame.height()) * kTwipsPerPixel);
    Label1->setGeometry(twipsRect(120, 60, l.leftWidth, 255));
    Text1->setGeometry(twipsRect(120, 300, l.leftWidth, 315));
    File1->setGeometry(twipsRect(120, 660, l.leftWidth, l.file1Height));
    Label2->setGeometry(twipsRect(120, l.label2Top, l.leftWidth, 255));
    Combo1->setGeometry(twipsRect(120, l.combo1Top, l.leftWidth, 315));
    Label3->setGeometry(twipsRect(l.midLeft, 60, l.midWidth, 255));
    Label4->setGeometry(twipsRect(l.midLeft, 300, l.midWidth, 255));
    Dir1->setGeometry(twipsRect(l.midLeft, 630, l.midWidth, l.dir1Height));
    Label5->setGeometry(twipsRect(l.midLeft, l.label5Top, l.midWidth, 255));
    Drive1->setGeometry(twipsRect(l.midLeft, l.drive1Top, l.midWidth, 315));
    Command1->setGeometry(twipsRect(l.buttonsLeft, 300, 1215, 375));
    Command2->setGeometry(twipsRect(l.buttonsLeft, 780, 1215, 375));
}

FileDialog* OpenDialog(WindowRegistry& windows, DialogKind kind) {
    FileDialog* d = windows.get<FileDialog>(static_cast<int>(kind));
    d->present();
    d->reprime();
    return d;
}

}  // namespace tessan::ui
