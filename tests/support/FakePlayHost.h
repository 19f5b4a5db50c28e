#pragma once

#include "play/PlayForm.h"

#include <functional>
#include <vector>

namespace corvana::test {

// Stands in for the play window: records the focus and the prints the model asked of it.
class FakePlayHost : public PlayHost {
public:
    void ShowHelp() override {}
    void Unload() override {}
    void SetFocusCell(int cell) override { focus.push_back(cell); }
    PrintResult PrintWindow() override { return ++prints, onPrint ? onPrint() : PrintResult{}; }
    void KeepGame() override { ++kept; }

    int prints = 0;
    std::vector<int> focus;
    std::size_t kept = 0; // games kept at the model's asking
    std::function<PrintResult()> onPrint;
};

} // namespace corvana::test
