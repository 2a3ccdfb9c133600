#pragma once
// Printing for every plot window: the one current printer of the process (held by main() and
// handed down like the Platform), "Print" and "Printer Setup ...".
//
// - Print renders the window's client area at its physical size (15 twips per pixel, 1440 twips
//   per inch) at the top left of the printable area, shrunk uniformly when it does not fit.
// - Where no printer is installed, Print says so and offers a PDF file, on the current printer's
//   page layout (as Printer Setup left it); a PDF (also one chosen
//   as "Print to file" in the printer dialog) is written beside its target and renamed over it
//   only when complete, so a failed print never destroys a file of that name.
// - A failure is never silent: the message is the error number in its default text form, a
//   blank and the number's error text (the number alone beyond the table).
// - The dialogs and the list of installed printers come through Services, which tests replace,
//   so nothing here blocks on a modal dialog under test.
#include <QPrinter>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "state/Platform.h"

class QWidget;

namespace tessan::ui {

class Printing {
public:
    struct Services {
        // The device names of the installed printers, in order, and the system's default.
        std::function<QStringList()> installed;
        std::function<QString()> defaultPrinter;
        // The printer dialog, modal over owner, on settings preset from the current printer; name
        // comes in as the current device name and goes out as the chosen one (empty when the
        // user chose a file, whose name is then settings' output file). True on OK.
        std::function<bool(QPrinter& settings, QString& name, QWidget* owner)> printerDialog;
        // The save-file question for a PDF file; empty when cancelled.
        std::function<QString(QWidget* owner)> askPdfFile;
    };
    // The system's printers and Qt's dialogs.
    static Services systemServices();

    Printing(Platform& p, Services services = systemServices());

    // "Print": area of window (its client area) to the current printer.
    void Print(QWidget* window, const QRect& area);
    // "Printer Setup ...": the printer dialog owned by window.
    void PrinterSetup(QWidget* window);

    // Renders area of window onto printer as Print does; 0 or an error number.
    static int PrintArea(QWidget* window, const QRect& area, QPrinter& printer);
    // area of window to the PDF file target on pages of layout, replaced only when complete; 0 or
    // an error number.
    static int PrintToPdf(QWidget* window, const QRect& area, const QString& target, const QPageLayout& layout);
    // The message for a print that failed with error number n.
    static std::string ErrorMessage(int n);

    const QString& deviceName() const { return m_name; }
    QPrinter& printer() { return m_printer; }
    Services& services() { return m_services; }

private:
    Platform& m_p;
    Services m_services;
    QPrinter m_printer;
    QString m_name;               // the current printer's device name; empty for none
    bool m_followsDefault = true; // until Printer Setup is opened, the system's default is used
};

}  // namespace tessan::ui
