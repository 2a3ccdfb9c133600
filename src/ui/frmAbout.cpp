#include "ui/frmAbout.h"

#include <QVBoxLayout>

#include "ui/Controls.h"

namespace tessan::ui {

namespace {
constexpr QSize kSize(5400, 4200);   // twips, before the lines are measured
constexpr std::array<const char*, 10> kLines{
    "Tessan",
    "Radial velocities of stars from",
    "one-dimensional FITS spectra, by the",
    "broadening function: a linear deconvolution",
    "of a program star by a standard star.",
    "Tessan vers. 29f",
    "------------------------------",
    "Models, results and settings are plain text files.",
    "Please report bugs, plus suggestions to:",
    "whoever gave you this copy of Tessan.",
};
}  // namespace

frmAbout::frmAbout(AnalysisState& s, QWidget* owner, const WindowFrame& frame)
    : ToolWindow(owner, s, &Geometry::frmAbout, kSize, frame) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(toPixels(240), toPixels(180), toPixels(240), toPixels(240));
    layout->setSpacing(toPixels(30));
    for (std::size_t i = 0; i < Label.size(); ++i) {
        Label[i] = control<QLabel>(this, ("Label" + std::to_string(i + 1)).c_str(), {});
        Label[i]->setText(QString::fromLatin1(kLines[i]));
        layout->addWidget(Label[i]);
    }
    QFont title(QStringLiteral("Arial"));
    title.setPointSizeF(13.5);
    title.setBold(true);
    Label[0]->setFont(title);
    setFixedSize(layout->totalSizeHint());
}

}  // namespace tessan::ui
