#pragma once

// The program's own dialogs behind the dialog seam: Qt message boxes, Qt's colour picker and
// the application-wide busy pointer. Each dialog is modal over the window the user is working in.

#include "seam/Dialogs.h"

namespace corvana {

class QtDialogs : public Dialogs {
public:
    QtDialogs() = default;
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    Answer MessageBox(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
    ColorValue PickColor(ColorValue initial) override;
    // The busy pointer is a state, not a count: a second SetBusy(true) changes nothing, and
    // SetBusy(false) never removes a pointer someone else set.
    void SetBusy(bool busy) override;
    std::string ChooseSaveFile(const std::string& title, const std::string& suggested) override;

private:
    bool busy_ = false;
};

} // namespace corvana
