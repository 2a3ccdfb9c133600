// The workbench: one analysis state and one Platform, owned here and handed to the main window.
#include <QApplication>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <new>

#include "state/AnalysisState.h"
#include "state/ErrText.h"
#include "ui/Printing.h"
#include "ui/QtPlatform.h"
#include "ui/frmMain.h"
#include "tessan_version.h"

namespace {

// No exception may leave a handler: one that does (realistically only a failed allocation) is
// reported and the event loop goes on, so no loaded model or unsaved setting is lost to it.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}
    void setPlatform(tessan::Platform* p) { m_platform = p; }

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            report(tessan::ErrTextFor(tessan::err::kOutOfMemory));
        } catch (const std::exception& e) {
            report(e.what());
        }
        return false;
    }

private:
    void report(const std::string& text) {
        if (m_platform) m_platform->MsgBox(text);
    }
    tessan::Platform* m_platform = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window system is opened, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tessan " << tessan::kVersion << "\n";
        return 0;
    }
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessan"));
    // The state holds large matrices: keep it off the stack.
    auto state = std::make_unique<tessan::AnalysisState>();
    tessan::ui::QtPlatform platform;
    app.setPlatform(&platform);
    tessan::ui::Printing printing(platform);   // the current printer of the whole run
    tessan::ui::frmMain main(*state, platform, printing);
    main.show();
    return app.exec();
}
