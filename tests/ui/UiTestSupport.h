#pragma once
// Helpers for the window tests: a main window on a scripted Platform, controls found by name,
// and the small FITS spectra the workflow runs on.
#include <QApplication>
#include <QRadioButton>
#include <QThread>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "SyntheticStar.h"
#include "io/FitsWriter.h"
#include "support/RecordingPlatform.h"
#include "support/TextFiles.h"
#include "ui/Controls.h"
#include "ui/frmMain.h"

namespace tessan::ui::test {

// Records messages in order; a question is recorded as "? <text>" and answered with answer.
// onMessage runs once, at the next message. Each message notes whether it came on the GUI
// thread with no step running (no busy cursor).
struct TestPlatform : tessan::test::RecordingPlatform {
    bool answer = false;
    std::function<void()> onMessage;
    std::vector<bool> onGuiThreadIdle;
    void MsgBox(const std::string& text) override {
        onGuiThreadIdle.push_back(QThread::currentThread() == qApp->thread() && !QApplication::overrideCursor());
        RecordingPlatform::MsgBox(text);
        if (onMessage) std::exchange(onMessage, nullptr)();
    }
    bool AskYesNo(const std::string& text) override {
        messages.push_back("? " + text);
        return answer;
    }
};

// A standard of n pixels of 0.1 A from 5000 A (std.fts), a second one with other lines from
// 5001 A (std2.fts), a double-lined program star at -60 and +45 km/s with lines of the given
// width (pro.fts) and a file that is not FITS (bad.fts), written into dir.
inline void writeSpectra(const std::filesystem::path& dir, int n, double width) {
    using tessan::samples::SyntheticSpectrum;
    std::filesystem::create_directories(dir);
    fits::SpectrumFile f;
    auto write = [&](const char* name, const char* object) {
        f.object = object;
        QCOMPARE(fits::WriteFitsFile(dir / name, fits::MakeSpectrumFits(f)), 0);
    };
    f.cd1_1 = 0.1;
    f.values = SyntheticSpectrum(n, 5000.0, 0.1, 0.0);
    write("std.fts", "STD STAR");
    const auto a = SyntheticSpectrum(n, 5000.0, 0.1, -60.0, width), b = SyntheticSpectrum(n, 5000.0, 0.1, 45.0, width);
    for (std::size_t i = 0; i < a.size(); ++i) f.values[i] = 0.6 * a[i] + 0.4 * b[i];
    write("pro.fts", "BINARY");
    f.crval1 = 5001.0;
    f.values = SyntheticSpectrum(n, 5001.0, 0.1, 15.0, 3.0);
    write("std2.fts", "SECOND STD");
    tessan::test::WriteText(dir / "bad.fts", "NOT A FITS FILE");
}

// A shown main window with its own state and Platform; the spectra are in dir.
struct Bench {
    TestPlatform p;
    std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
    // The current printer with no printer installed; the printer dialog cancels and the PDF
    // question answers pdfFile, so no modal dialog runs.
    QString pdfFile;
    Printing printing{p, {[] { return QStringList(); }, [] { return QString(); },
                          [](QPrinter&, QString&, QWidget*) { return false; }, [this](QWidget*) { return pdfFile; }}};
    std::unique_ptr<frmMain> w;
    QString dir = QString::fromStdString((p.WorkDir() / "data").string());

    explicit Bench(int pixels = 600, double width = 8.0) {
        writeSpectra(dir.toStdString(), pixels, width);
        w = std::make_unique<frmMain>(*s, p, printing);
        w->show();
    }
    QWidget* central() const { return w->centralWidget(); }
    template <class T>   // a control by its objectName
    T* c(const QString& name) const { return central()->findChild<T*>(name); }
    QPushButton* button(int n) const { return c<QPushButton>(QString("Command%1").arg(n)); }
    QRadioButton* model(int k) const { return c<QRadioButton>(arrayName("Option1", k)); }
    QString text(const QString& name) const { return c<QWidget>(name)->property("text").toString(); }
    QStringList texts(std::initializer_list<const char*> names) const {
        QStringList out;
        for (const char* n : names) out << text(n);
        return out;
    }
    // A step label's colour: red (not done) or the enabled colour (done).
    bool red(const char* label) const { return foreColour(c<QLabel>(label)) == qcolour(s->ColRed); }
    bool done(const char* label) const { return foreColour(c<QLabel>(label)) == qcolour(s->ColEnabled); }
    // The numbers of the enabled step buttons Command1..Command19, e.g. "1 2 19".
    QString enabledSteps() const {
        QStringList on;
        for (int n = 1; n <= 19; ++n)
            if (button(n)->isEnabled()) on << QString::number(n);
        return on.join(' ');
    }
    // Opens a dialog with its main-window button, names a file of dir and presses OK.
    void runDialog(int opener, const char* dialog, const QString& name) {
        button(opener)->click();
        auto* d = w->findChild<FileDialog*>(dialog);
        QVERIFY(d && d->isVisible());
        d->setDirectory(dir);
        d->Text1->setText(name);
        d->Command1->click();
        QVERIFY(!d->isVisible());
    }
    // Steps 1 and 2 on a standard of dir, then steps 3 and 4 with span when one is given.
    void standardSteps(const QString& standard = "std.fts", const char* span = nullptr) {
        runDialog(1, "frmLoadStd", standard);
        button(7)->click();
        if (!span) return;
        c<QLineEdit>("Text1")->setText(span);
        button(8)->click();
        button(9)->click();
    }
};

}  // namespace tessan::ui::test
