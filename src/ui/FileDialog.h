#pragma once
// The five file-selection dialogs: one layout, one set of event rules and one resize rule,
// configured per kind (caption, type patterns, name item, settings record, OK operation).
// The objectName of the window is the dialog's name ("frmLoadStd", ...).
//
// The dialog runs its own operation on OK (the FITS readers, Load_model, Save_model, Save_bb)
// and hands the outcome of a read or a model load to the owner through a callback, so that the
// main window applies its follow-up without the dialog knowing its controls. OK and Cancel
// hide the window; the close box stores the position and destroys it (ToolWindow). Return
// does OK and Escape Cancel; a save dialog asks before it replaces an existing file.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <functional>

#include "io/FitsReader.h"
#include "state/AnalysisState.h"
#include "state/Platform.h"
#include "steps/ModelSteps.h"
#include "ui/ToolWindow.h"

namespace tessan::ui {

enum class DialogKind { LoadStd, LoadPro, LoadModel, SaveModel, SaveBb };
inline constexpr DialogKind kDialogKinds[] = {DialogKind::LoadStd, DialogKind::LoadPro, DialogKind::LoadModel,
                                              DialogKind::SaveModel, DialogKind::SaveBb};

class WindowRegistry;

class FileDialog : public ToolWindow {
    Q_OBJECT
public:
    FileDialog(DialogKind kind, AnalysisState& s, Platform& p, QWidget* owner,
               const WindowFrame& frame = WindowFrame::system());

    DialogKind kind() const { return m_kind; }
    // Called after the standard or program reader returned (whatever the outcome).
    std::function<void(FitsOutcome)> onFitsRead;
    // Called after Load_model returned.
    std::function<void(const ModelLoadOutcome&)> onModelLoaded;

    // Dir1's path: the directory shown (absolute, native separators).
    QString directory() const { return m_dirPath; }
    // Dir1 change: File1 follows, Text1 gets the first file, Label4 the path.
    void setDirectory(const QString& path);
    // Chooses entry i of the type list (a program choice runs the Combo1 click rule).
    void selectType(int i);
    // Re-primes the file list by choosing the second and then the first type entry.
    void reprime();

    QLabel* Label1;        // "File Name:"
    QLineEdit* Text1;
    QListWidget* File1;
    QLabel* Label2;        // "List Files of Type:"
    QComboBox* Combo1;
    QLabel* Label3;        // "Directories:"
    QLabel* Label4;        // current path
    QListWidget* Dir1;
    QLabel* Label5;        // "Drives:"
    QComboBox* Drive1;
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Cancel"

    void Command1_Click();
    void Command2_Click();

protected:
    void layoutControls() override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void connectHandlers();
    void Combo1_Click();
    void Drive1_Change();
    void File1_Click(QListWidgetItem* item);
    void File1_DblClick(QListWidgetItem* item);
    void File1_KeyMove(QListWidgetItem* item);
    void Text1_Change();
    void fillFiles();
    void fillDirs();
    void fillDrives();
    QString firstFileName() const;
    bool mayWrite(const std::string& fullPath);
    // Runs the dialog's operation; unread gives back the star's names when a file was not read.
    void runOperation(const std::function<void()>& unread);

    DialogKind m_kind;
    Platform& m_p;
    QString m_dirPath;
    QString m_pattern;
    bool m_keyInFileList = false;   // the file list's current entry moves by a key
};

// The window name of a dialog kind ("frmLoadStd", ...).
const char* dialogName(DialogKind kind);

// Shows the dialog of the given kind in front (built on first use) and re-primes its lists,
// as the main window's buttons do; any window holding the registry opens a dialog so.
FileDialog* OpenDialog(WindowRegistry& windows, DialogKind kind);

}  // namespace tessan::ui
