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
        Open(std::string(resume ? "resume:" : "play:") + std::string(SizeClassName(size)), inPlayForm);
    }
    void ShowHowToPlay() override { Open("help", inHelp); }
    void ShowColors() override { Open("colors", inColors); }
    void ShowCredits() override { Open("credits", inCredits); }
    void ShowBestTimes() override { Open("best times", inBestTimes); }

    std::vector<std::string> opened;
    std::function<void()> inPlayForm, inHelp, inColors, inCredits, inBestTimes;

private:
    void Open(std::string name, const std::function<void()>& child) {
        opened.push_back(std::move(name));
        if (child)
            child();
    }
};

} // namespace corvana::test
