#pragma once

#include "core/ColorValue.h"

#include <string>

namespace corvana {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Exclamation, Information };
enum class Answer { Ok, Yes, No, Cancel };

// Every platform dialog the models need. The program implements it with Qt's dialogs; tests
// implement it with a scripted fake, so no model ever blocks on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer MessageBox(const std::string& text, const std::string& title, Buttons buttons,
                              Icon icon) = 0;
    // Shows the colour picker on `initial`; a cancelled picker hands `initial` back.
    virtual ColorValue PickColor(ColorValue initial) = 0;
    virtual void SetBusy(bool busy) = 0;
    // Asks where to save a file, suggesting `suggested` (a file name, or a path); the path
    // chosen, or empty when the user cancelled. Where no one can be asked, nothing is chosen.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& suggested) {
        (void)title;
        (void)suggested;
        return {};
    }
};

} // namespace corvana
