#pragma once
// The core's only way to the user. The workbench shows a modal box, the batch driver prints
// to standard error, the tests record. Nothing in the core shows anything by itself.
#include <filesystem>
#include <string>

namespace tessan {

class Platform {
public:
    virtual ~Platform() = default;
    virtual void MsgBox(const std::string& text) = 0;       // modal box, OK only
    virtual std::filesystem::path WorkDir() const = 0;      // where "Tessan6.ini" and "bbb2.txt" live
    // Modal box with Yes and No, No the default; true for Yes. A platform that cannot ask
    // shows the question and answers No, which leaves everything as it was.
    virtual bool AskYesNo(const std::string& text) {
        MsgBox(text);
        return false;
    }
};

}  // namespace tessan
