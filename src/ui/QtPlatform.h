#pragma once
// The workbench's Platform: a modal message box with one OK button (or Yes and No, No the
// default) and the application's name as its title; the working directory is the process's
// current directory.
#include "state/Platform.h"

namespace tessan::ui {

class QtPlatform : public Platform {
public:
    void MsgBox(const std::string& text) override;
    std::filesystem::path WorkDir() const override;
    bool AskYesNo(const std::string& text) override;
};

}  // namespace tessan::ui
