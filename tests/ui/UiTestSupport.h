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
#include "ui/Controls.h"
#include "ui/frmMain.h"

namespace tessan::ui::test {

// A control of root by its objectName; fails the test when it is missing.
template <class T>
T* ctl(const QObject* root, const char* name) {
    T* c = root->findChild<T*>(QString::fromLatin1(name));
    if (!c) qWarning("no control %s", name);
    return c;
}

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
    template <class T>
    T* c(const char* name) const { return ctl<T>(central(), name); }
    QString dataDir() const {
        const auto dir = p.WorkDir() / "data";
        std::filesystem::create_directories(dir);
        return QString::fromStdString(dir.string());
    }
};

// A standard of n pixels of 0.1 A from 5000 A and a double-lined program star (-60 and +45
// km/s) written as name.fts files into dir.
inline void writeSpectra(const QString& dir, int n = 600) {
    using namespace tessan::test;
    SpectrumFile std;
    std.object = "STD STAR";
    std.crval1 = 5000.0;
    std.cd1_1 = 0.1;
    std.values = SyntheticSpectrum(n, 5000.0, 0.1, 0.0);
    const auto a = SyntheticSpectrum(n, 5000.0, 0.1, -60.0, 8.0);
    const auto b = SyntheticSpectrum(n, 5000.0, 0.1, 45.0, 8.0);
    SpectrumFile pro = std;
    pro.object = "BINARY";
    for (std::size_t i = 0; i < a.size(); ++i) pro.values[i] = 0.6 * a[i] + 0.4 * b[i];
    const std::filesystem::path d = dir.toStdString();
    WriteFile(d / "std.fts", MakeSpectrumFits(std));
    WriteFile(d / "pro.fts", MakeSpectrumFits(pro));
}

inline bool isBlack(const QLabel* l) { return l->palette().color(QPalette::WindowText) == QColor(0, 0, 0); }
inline bool isRed(const QLabel* l) { return l->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }

}  // namespace tessan::ui::test
