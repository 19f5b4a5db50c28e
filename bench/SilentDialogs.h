#pragma once

#include "seam/Dialogs.h"

namespace corvana::bench {

// Benchmarks answer no questions: every message is OK, every colour stays.
class SilentDialogs : public Dialogs {
public:
    Answer MessageBox(const std::string&, const std::string&, Buttons, Icon) override { return Answer::Ok; }
    ColorValue PickColor(ColorValue c) override { return c; }
    void SetBusy(bool) override {}
};

} // namespace corvana::bench
