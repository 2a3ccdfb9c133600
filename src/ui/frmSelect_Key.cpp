#include "ui/frmSelect_Key.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
struct Texts { const char *caption, *label1, *label2, *label3; };
constexpr Texts kTexts[2] = {
    {"Select Lambda0 keyword", "This is the starting wavelength at the blue end.",
     "Typical values are 3667.111, 5184.222 etc. Angstroms.", "IRAF uses keywords like CRVAL1, ..."},
    {"Select dLambda/dPix keyword", "This is the wavelength scale in Angstroms/pixel.",
     "Typical values are 0.333 Ang/pix.", "IRAF uses keywords like CDELT1, CD1_1, etc."},
};
constexpr QSize kSize(10500, 4800);          // outer, twips: a whole card beside the buttons
constexpr int kButtonW = 1215, kButtonH = 375, kMargin = 120, kLabelH = 255, kListTop = 4 * kMargin + 3 * kLabelH;
}  // namespace

frmSelect_Key::frmSelect_Key(int which, AnalysisState& s, QWidget* owner, const WindowFrame& frame)
    : ToolWindow(owner, s, which == 1 ? &Geometry::frmSelect_Key1 : &Geometry::frmSelect_Key2, kSize, frame),
      m_which(which) {
    const Texts& t = kTexts[which == 1 ? 0 : 1];
    setObjectName(which == 1 ? QStringLiteral("frmSelect_Key1") : QStringLiteral("frmSelect_Key2"));
    setWindowTitle(QString::fromLatin1(t.caption));
    Label1 = control<QLabel>(this, "Label1", {});
    Label2 = control<QLabel>(this, "Label2", {});
    Label3 = control<QLabel>(this, "Label3", {});
    Label1->setText(QString::fromLatin1(t.label1));
    Label2->setText(QString::fromLatin1(t.label2));
    Label3->setText(QString::fromLatin1(t.label3));
    List1 = control<QListWidget>(this, "List1", {});
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(11);
    List1->setFont(mono);
    Command1 = control<QPushButton>(this, "Command1", {});   // "OK"
    Command1->setText(QStringLiteral("OK"));
    Command2 = control<QPushButton>(this, "Command2", {});   // "Cancel"
    Command2->setText(QStringLiteral("Cancel"));
    layoutControls();

    // The cards of the header read most recently (END and what follows it are not kept).
    const int n = std::clamp(m_s.nRecords_LastHdr, 0, std::min(m_s.LastHdr.size(), m_s.LastKey.size()));
    for (int i = 1; i <= n; ++i) {
        List1->addItem(qs(m_s.LastHdr(i)));
        m_keys.push_back(m_s.LastKey(i));
    }

    connect(Command1, &QPushButton::clicked, this, &frmSelect_Key::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSelect_Key::Command2_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frmSelect_Key::Command1_Click);
}

std::string& frmSelect_Key::target() const { return m_which == 1 ? m_s.Lambda0_Key : m_s.dLambda_Key; }

void frmSelect_Key::layoutControls() {
    const int w = width() * kTwipsPerPixel, h = height() * kTwipsPerPixel;
    const int labelW = std::max(0, w - 2 * kMargin);
    for (int k = 0; k < 3; ++k)
        (k == 0 ? Label1 : k == 1 ? Label2 : Label3)
            ->setGeometry(twipsRect(kMargin, kMargin + k * (kLabelH + kMargin / 2), labelW, kLabelH));
    const int buttonX = std::max(kMargin, w - kMargin - kButtonW);
    List1->setGeometry(twipsRect(kMargin, kListTop, std::max(0, buttonX - 2 * kMargin), std::max(0, h - kListTop - kMargin)));
    Command1->setGeometry(twipsRect(buttonX, kListTop, kButtonW, kButtonH));
    Command2->setGeometry(twipsRect(buttonX, kListTop + kButtonH + kMargin, kButtonW, kButtonH));
}

void frmSelect_Key::Command1_Click() {
    storeGeometry();
    const int k = List1->currentRow();
    const bool chosen = k >= 0 && List1->currentItem()->isSelected() && k < static_cast<int>(m_keys.size());
    if (chosen) target() = m_keys[static_cast<std::size_t>(k)];
    hide();
}

void frmSelect_Key::Command2_Click() {
    storeGeometry();
    hide();
}

void frmSelect_Key::keyPressEvent(QKeyEvent* e) {
    // Return does what the focused button does, OK elsewhere; Escape cancels.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return Command2->hasFocus() ? Command2_Click() : Command1_Click();
    if (e->key() == Qt::Key_Escape) return Command2_Click();
    ToolWindow::keyPressEvent(e);
}

}  // namespace tessan::ui
