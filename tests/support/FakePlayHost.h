#pragma once

#include "play/PlayForm.h"

#include <functional>
#include <vector>

namespace corvana::test {

// Stands in for the play window: records what the model asked of it.
class FakePlayHost : public PlayHost {
public:
    void ShowHelp() override {
        ++helpShown;
        if (onHelp)
            onHelp();
    }
    void Unload() override { ++unloads; }
    void SetFocusCell(int cell) override { focus.push_back(cell); }
    PrintResult PrintWindow() override { return ++prints, onPrint ? onPrint() : PrintResult{}; }

    int helpShown = 0, unloads = 0, prints = 0;
    std::vector<int> focus;
    std::function<void()> onHelp;
    std::function<PrintResult()> onPrint;
};

} // namespace corvana::test
