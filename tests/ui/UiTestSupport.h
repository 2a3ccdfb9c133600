#pragma once
// Helpers for the window tests: a main window on a recording Platform, controls found by name,
// and the small FITS spectra the workflow runs on.
#include <QDir>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "support/FitsWriter.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"
#include "ui/Controls.h"
#include "ui/frmMain.h"

namespace tessan::ui::test {

// A main window with its own state and recording Platform (whose WorkDir is a fresh directory).
struct Bench {
    tessan::test::RecordingPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    std::unique_ptr<frmMain> w;

    Bench() {
        w = std::make_unique<frmMain>(*s, p);
        w->show();
    }
    QWidget* central() const { return w->centralWidget(); }
    template <class T>   // a control by its objectName; warns when it is missing
    T* c(const QString& name) const {
        T* c = central()->findChild<T*>(name);
        if (!c) qWarning("no control %s", qPrintable(name));
        return c;
    }
    QPushButton* button(int n) const { return c<QPushButton>(QString("Command%1").arg(n)); }
    // The texts of the named labels, boxes or buttons, in order.
    QStringList texts(std::initializer_list<const char*> names) const {
        QStringList out;
        for (const char* n : names) out << c<QWidget>(n)->property("text").toString();
        return out;
    }
    // The numbers of the enabled step buttons Command1..Command19, e.g. "1 2 19".
    QString enabledSteps() const {
        QStringList on;
        for (int n = 1; n <= 19; ++n)
            if (button(n)->isEnabled()) on << QString::number(n);
        return on.join(' ');
    }
    QString dataDir() const {
        const auto dir = p.WorkDir() / "data";
        std::filesystem::create_directories(dir);
        return QString::fromStdString(dir.string());
    }
    // Opens a dialog with its main-window button, points it at dir, names the file and presses OK.
    void runDialog(int opener, const char* dialog, const QString& dir, const QString& name) {
        button(opener)->click();
        auto* d = w->findChild<FileDialog*>(dialog);
        QVERIFY(d && d->isVisible());
        d->setDirectory(dir);
        d->Text1->setText(name);
        d->Command1->click();
        QVERIFY(!d->isVisible());
    }
    // Steps 1 and 2 on the standard std.fts of dir.
    void readAndResample(const QString& dir) {
        runDialog(1, "frmLoadStd", dir, "std.fts");
        button(7)->click();
    }
};

// A standard of n pixels of 0.1 A from 5000 A and a double-lined program star (-60 and +45
// km/s) written as std.fts and pro.fts into dir.
inline void writeSpectra(const QString& dir, int n = 600) {
    using namespace tessan::test;
    SpectrumFile std;   // from 5000 A
    std.object = "STD STAR";
    std.cd1_1 = 0.1;
    std.values = SyntheticSpectrum(n, 5000.0, 0.1, 0.0);
    SpectrumFile pro = std;
    pro.object = "BINARY";
    const auto a = SyntheticSpectrum(n, 5000.0, 0.1, -60.0, 8.0), b = SyntheticSpectrum(n, 5000.0, 0.1, 45.0, 8.0);
    for (std::size_t i = 0; i < a.size(); ++i) pro.values[i] = 0.6 * a[i] + 0.4 * b[i];
    const std::filesystem::path d = dir.toStdString();
    WriteFile(d / "std.fts", MakeSpectrumFits(std));
    WriteFile(d / "pro.fts", MakeSpectrumFits(pro));
}

inline bool isBlack(const QLabel* l) { return l->palette().color(QPalette::WindowText) == QColor(0, 0, 0); }
inline bool isRed(const QLabel* l) { return l->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }

}  // namespace tessan::ui::test
