#pragma once
// Creating named controls, the fore colour of labels and texts too long for their label. Every control carries the system's
// name both as its member name and as its objectName, set here in one place.
#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QString>
#include <string>

#include "state/AnalysisState.h"
#include "ui/Twips.h"

namespace tessan::ui {

// A child control of parent named name, placed at rect (pixels; build it with twipsRect).
template <class T>
T* control(QWidget* parent, const char* name, const QRect& rect) {
    auto* c = new T(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(rect);
    return c;
}

// A menu item and a separator of menu m, named as the system names them.
inline QAction* menuItem(QMenu* m, const char* name, const char* caption) {
    QAction* a = m->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
inline QAction* menuSeparator(QMenu* m, const char* name) {
    QAction* a = m->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// The name of element i of a control array: "Option1_3".
inline QString arrayName(const char* name, int i) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(i);
}

// A text of the core (UTF-8) as a control's text.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// A colour of the state's table (ColEnabled, ColRed, ...).
inline QColor qcolour(const Rgb& c) { return QColor(c.r, c.g, c.b); }

inline void setForeColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}
inline QColor foreColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// Shows text in label, elided in the middle when it is wider than the label; the full text is
// the tooltip. A third of the room keeps the beginning and two thirds the end, where names of
// one series (the standards' files) differ.
inline void setElidedText(QLabel* label, const QString& text) {
    const QFontMetrics fm = label->fontMetrics();
    const int room = label->contentsRect().width();
    QString shown = text;
    for (qsizetype keep = text.size() - 1; keep >= 0 && fm.horizontalAdvance(shown) > room; --keep) {
        const qsizetype head = keep / 3;
        shown = text.left(head) + QChar(0x2026) + text.right(keep - head);
    }
    label->setText(shown);
    label->setToolTip(text);
}

}  // namespace tessan::ui
