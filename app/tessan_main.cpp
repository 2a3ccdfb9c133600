// The workbench: one analysis state and one Platform, owned here and handed to the main window.
#include <QApplication>
#include <memory>

#include "state/AnalysisState.h"
#include "ui/QtPlatform.h"
#include "ui/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessan"));
    // The state holds large matrices: keep it off the stack.
    auto state = std::make_unique<tessan::AnalysisState>();
    tessan::ui::QtPlatform platform;
    tessan::ui::frmMain main(*state, platform);
    main.show();
    return app.exec();
}
