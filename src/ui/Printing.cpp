#include "ui/Printing.h"

#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "io/AtomicFile.h"
#include "state/ErrText.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
constexpr int kTwipsPerInch = 1440;
// The busy cursor while a page is rendered and sent.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
constexpr const char* kOfferPdf = "\n\nNo printer is available. Print to a PDF file instead?";
}  // namespace

Printing::Services Printing::systemServices() {
    Services s;
    s.installed = [] { return QPrinterInfo::availablePrinterNames(); };
    s.defaultPrinter = [] { return QPrinterInfo::defaultPrinterName(); };
    s.printerDialog = [](QPrinter& settings, QString& name, QWidget* owner) {
        QPrintDialog dialog(&settings, owner);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (dialog.exec() != QDialog::Accepted) return false;
        const bool toFile = settings.outputFormat() == QPrinter::PdfFormat && !settings.outputFileName().isEmpty();
        name = toFile ? QString() : settings.printerName();
        return true;
    };
    s.askPdfFile = [](QWidget* owner) {
        QFileDialog dialog(owner, QStringLiteral("Print to a PDF file"), QString(), QStringLiteral("PDF files (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    return s;
}

Printing::Printing(Platform& p, Services services) : m_p(p), m_services(std::move(services)) {
    m_name = m_services.defaultPrinter();
    if (!m_name.isEmpty()) m_printer.setPrinterName(m_name);
}

std::string Printing::ErrorMessage(int n) {
    std::string text = std::to_string(n);   // the number's default text form: a blank before it
    if (n >= 0) text.insert(text.begin(), ' ');
    // A number without a text shows the number alone (not followed by a lone blank).
    const std::string errText = ErrTextFor(n);
    return errText.empty() ? text : text + ' ' + errText;
}

int Printing::PrintArea(QWidget* window, const QRect& area, QPrinter& printer) {
    if (area.isEmpty()) return err::kDeviceFault;
    const BusyCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) return err::kDeviceUnavailable;
    // Printer dots per window pixel at the window's physical size, unless the page is smaller.
    const double physical = printer.resolution() * double(kTwipsPerPixel) / kTwipsPerInch;
    const double fit = std::min(printer.width() / double(area.width()), printer.height() / double(area.height()));
    painter.scale(std::min(physical, fit), std::min(physical, fit));
    window->render(&painter, QPoint(), QRegion(area));
    const bool ended = painter.end();
    const QPrinter::PrinterState state = printer.printerState();
    return ended && state != QPrinter::Error && state != QPrinter::Aborted ? 0 : err::kDeviceFault;
}

int Printing::PrintToPdf(QWidget* window, const QRect& area, const QString& target, const QPageLayout& layout) {
    namespace fs = std::filesystem;
    const fs::path file = target.toStdString();
    return ReplaceFileAtomically(file, [&](const fs::path& tmp) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setPageLayout(layout);
        pdf.setOutputFileName(QString::fromStdString(tmp.string()));
        const int e = PrintArea(window, area, pdf);
        std::error_code ec;
        if (e == 0 && fs::file_size(tmp, ec) > 0) return 0;
        if (e == err::kDeviceUnavailable) return int(err::kPermission);   // the file could not be opened
        return fs::space(tmp.parent_path(), ec).available == 0 ? int(err::kDiskFull) : int(err::kDeviceIO);
    });
}

void Printing::Print(QWidget* window, const QRect& area) {
    if (m_followsDefault) {
        m_name = m_services.defaultPrinter();
        if (!m_name.isEmpty()) m_printer.setPrinterName(m_name);
    }
    int e = 0;
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty()) {
        e = PrintToPdf(window, area, m_printer.outputFileName(), m_printer.pageLayout());   // "Print to file" in the dialog
    } else if (m_name.isEmpty() || !m_services.installed().contains(m_name)) {
        if (!m_p.AskYesNo(ErrorMessage(err::kDeviceUnavailable) + kOfferPdf)) return;
        const QString file = m_services.askPdfFile(window);
        if (file.isEmpty()) return;
        e = PrintToPdf(window, area, file, m_printer.pageLayout());
    } else {
        e = PrintArea(window, area, m_printer);
    }
    if (e != 0) m_p.MsgBox(ErrorMessage(e));
}

void Printing::PrinterSetup(QWidget* window) {
    m_followsDefault = false;
    QPrinter settings;
    if (!m_name.isEmpty()) settings.setPrinterName(m_name);
    settings.setPaperSource(m_printer.paperSource());
    QString name = m_name;
    if (!m_services.printerDialog(settings, name, window)) return;
    if (name.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(settings.outputFileName());
    } else {
        if (name.toUpper() != m_name.toUpper()) {
            const QStringList installed = m_services.installed();
            const auto it = std::find_if(installed.begin(), installed.end(),
                                         [&](const QString& n) { return n.toUpper() == name.toUpper(); });
            if (it == installed.end()) {
                m_p.MsgBox("The printer " + name.toStdString() + " is not installed.");
                return;
            }
            m_name = *it;
        }
        m_printer.setOutputFileName(QString());
        m_printer.setPrinterName(m_name);
    }
    // The chosen settings, in this order.
    m_printer.setCopyCount(settings.copyCount());
    m_printer.setPageOrientation(settings.pageLayout().orientation());
    m_printer.setColorMode(settings.colorMode());
    m_printer.setDuplex(settings.duplex());
    m_printer.setPaperSource(settings.paperSource());
    m_printer.setPageSize(settings.pageLayout().pageSize());
    m_printer.setResolution(settings.resolution());
}

}  // namespace tessan::ui
