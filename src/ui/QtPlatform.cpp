#include "ui/QtPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <system_error>

namespace tessan::ui {

void QtPlatform::MsgBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tessan"), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool QtPlatform::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tessan"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::filesystem::path QtPlatform::WorkDir() const {
    std::error_code ec;
    auto dir = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : dir;
}

}  // namespace tessan::ui
