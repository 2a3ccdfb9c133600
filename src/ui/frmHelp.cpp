#include "ui/frmHelp.h"

#include <QScreen>
#include <algorithm>
#include <vector>

#include "plot/HelpLayout.h"
#include "text/Int16.h"
#include "ui/Controls.h"
#include "ui/HelpTopics.h"
#include "ui/Twips.h"

namespace tessan::ui {

namespace {
constexpr int kLeft = 120;        // twips, every label
constexpr int kTitleTop = 60;
constexpr int kBelowText = 400;   // under the last paragraph
constexpr int kTallText = 1 << 20;
}  // namespace

frmHelp::frmHelp(AnalysisState& s, QWidget* owner, const WindowFrame& frame)
    : ToolWindow(owner, s, &Geometry::frmHelp, frame) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setMinimumWidth(toPixels(plot::kHelpMinWidth));
    Label0 = control<QLabel>(this, "Label0", {});
    Label0->setText(QStringLiteral("Help - "));
    QFont title(QStringLiteral("Arial"));
    title.setPointSizeF(15.75);
    title.setBold(true);
    Label0->setFont(title);
    for (int k = 0; k <= 8; ++k) {
        Label1[k] = control<QLabel>(this, arrayName("Label1", k).toLatin1().constData(), {});
        Label1[k]->setWordWrap(true);
        Label1[k]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label1[k]->hide();
    }
    arrange();
}

void frmHelp::ShowTopic(int topic) {
    present();
    const HelpTopic& t = HelpTopicText(topic);
    nParas = static_cast<int>(t.paragraphs.size());
    ParaLen.fill(0);
    for (int k = 1; k <= 8; ++k) {
        Label1[k]->setVisible(k <= nParas);
        Label1[k]->setText(k <= nParas ? QString::fromUtf8(t.paragraphs[k - 1]) : QString());
        if (k <= nParas) ParaLen[k] = static_cast<int>(Label1[k]->text().size());
    }
    Label0->setText(QString::fromUtf8(t.title));
    arrange();
}

int frmHelp::outerWidthTwips() const {
    const QMargins m = frameMargins();
    return (width() + m.left() + m.right()) * kTwipsPerPixel;
}

void frmHelp::arrange() {
    const int W = outerWidthTwips();
    const int titleWidth = std::max(W, plot::kHelpMinWidth) - 500;
    const int titlePx = Label0->fontMetrics().boundingRect(QRect(0, 0, toPixels(titleWidth), kTallText),
                                                           Qt::TextWordWrap, Label0->text()).height();
    Label0->setGeometry(twipsRect(kLeft, kTitleTop, titleWidth, titlePx * kTwipsPerPixel));
    const int firstTop = std::max(plot::kHelpFirstTop, kTitleTop + titlePx * kTwipsPerPixel + 120);

    // Each paragraph as the label will draw it: its font, its width, wrapped at words.
    const int labelPx = toPixels(std::max(W, plot::kHelpMinWidth) - 500);
    std::vector<int> heights;
    for (int k = 1; k <= nParas; ++k)
        heights.push_back(kTwipsPerPixel * Label1[k]->fontMetrics()
                                               .boundingRect(QRect(0, 0, labelPx, kTallText), Qt::TextWordWrap,
                                                             Label1[k]->text())
                                               .height());
    const plot::HelpLayout l = plot::HelpStack(W, firstTop, heights);
    for (int k = 1; k <= nParas; ++k)
        Label1[k]->setGeometry(twipsRect(kLeft, l.tops[k - 1], l.labelWidth, heights[k - 1]));

    // The client height that shows the text, within the screen; set only when it changes.
    const QMargins m = frameMargins();
    int clientPx = toPixels(l.height + kBelowText);
    if (const QScreen* sc = screen()) clientPx = std::min(clientPx, sc->availableGeometry().height() - m.top() - m.bottom());
    clientPx = std::max(clientPx, 1);
    if (minimumHeight() != clientPx || maximumHeight() != clientPx) setFixedHeight(clientPx);
    m_outerHeight = (clientPx + m.top() + m.bottom()) * kTwipsPerPixel;
}

void frmHelp::layoutControls() { arrange(); }

// The stored size follows the user's width and the text's height; the place is stored at unload.
void frmHelp::Form_Resize() {
    m_s.geom.frmHelp.Width = Saturate16(outerWidthTwips());
    m_s.geom.frmHelp.Height = Saturate16(m_outerHeight);
}

}  // namespace tessan::ui
