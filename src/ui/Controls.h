#pragma once
// Creating named controls and the fore colour of labels. Every control carries the system's
// name both as its member name and as its objectName, set here in one place.
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QString>
#include <string>

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

// The name of element i of a control array: "Option1_3".
inline QString arrayName(const char* name, int i) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(i);
}

// A text of the core (UTF-8) as a control's text.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

inline void setForeColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}
inline QColor foreColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

}  // namespace tessan::ui
