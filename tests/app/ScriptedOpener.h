#pragma once

#include "app/MainMenu.h"

#include <functional>
#include <string>
#include <vector>

namespace corvana::test {

// Stands in for the main window's children: records what was opened, and runs a scripted
// action as the child (for instance Exit, which sets ExitRequested) before "closing" it.
class ScriptedOpener : public WindowOpener {
public:
    void ShowPlayForm(SizeClass size, const PlayRecord* resume) override {
        opened.push_back(std::string(resume ? "resume:" : "play:") + std::string(SizeClassName(size)));
        if (inPlayForm)
            inPlayForm();
    }
    void ShowHowToPlay() override {
        opened.push_back("help");
        if (inHelp)
            inHelp();
    }
    void ShowColors() override {
        opened.push_back("colors");
        if (inColors)
            inColors();
    }
    void ShowCredits() override {
        opened.push_back("credits");
        if (inCredits)
            inCredits();
    }

    std::vector<std::string> opened;
    std::function<void()> inPlayForm;
    std::function<void()> inHelp;
    std::function<void()> inColors;
    std::function<void()> inCredits;
};

} // namespace corvana::test
