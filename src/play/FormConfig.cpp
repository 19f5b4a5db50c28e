#include "play/FormConfig.h"

namespace corvana {

namespace {

// Shorthand for the layout tables: heading, first box, first down box, columns, column step.
ListLayout L(int digits, int hl, int ht, int bl, int bt, int columns = 1, int step = 0) {
    return {digits, {hl, ht}, {bl, bt}, {bl, 0}, columns, step};
}
ListLayout LD(int digits, int hl, int ht, int bl, int bt, int dt, int columns = 1, int step = 0) {
    return {digits, {hl, ht}, {bl, bt}, {bl, dt}, columns, step};
}

FormConfig MakeSmall() {
    FormConfig f{"frmSmallSize",
                 SizeClass::Small,
                 10,
                 5,
                 false,
                 {0, 0, 7455, 4095},
                 {4080, 120, 3252, 3372},
                 135,
                 705,
                 "&Return To Main",
                 {2, 3, 4, 6, 8, 10},
                 false,
                 {0, 0, 492, 612, 732, 0, 852, 0, 1332, 0, 1452},
                 {1320, 3720, 5055, 255},
                 {}};
    f.layouts = {
        {"Small Puzzle H",
         {L(2, 240, 240, 240, 600), L(6, 1320, 240, 1320, 600), L(10, 2520, 240, 2520, 600)}},
        {"Small Puzzle Pinwheel", {L(3, 240, 240, 240, 600, 2, 720), L(6, 2520, 240, 2520, 600)}},
        {"Small Puzzle Five Squares", {L(4, 240, 240, 240, 600, 2, 720), L(10, 2520, 240, 2520, 600)}},
        {"Small Puzzle Wheel",
         {L(3, 240, 240, 240, 600), L(4, 1320, 240, 1320, 600), L(8, 2520, 240, 2520, 600)}},
        {"Small Puzzle Project X",
         {L(2, 120, 240, 240, 600), L(3, 960, 240, 1080, 600), L(4, 1920, 240, 1920, 600),
          L(6, 2760, 240, 2760, 600), L(8, 2760, 2040, 2760, 2400)}},
    };
    return f;
}

FormConfig MakeNormal() {
    FormConfig f{"frmNormal",
                 SizeClass::Normal,
                 15,
                 7,
                 false,
                 {0, 0, 9375, 6135},
                 {4560, 240, 4692, 4812},
                 150,
                 720,
                 "&Return to Main",
                 {2, 3, 4, 5, 6, 7, 8, 9, 10},
                 false,
                 {0, 0, 492, 735, 732, 840, 852, 972, 1116, 1176, 1332},
                 {3960, 5760, 5295, 255},
                 {}};
    f.layouts = {
        {"Normal Puzzle Plus",
         {L(3, 240, 240, 120, 600, 2, 720), L(4, 240, 2760, 120, 3120, 2, 720),
          L(5, 2280, 240, 1560, 600, 3, 960), L(7, 2280, 2760, 1920, 3120, 2, 1080)}},
        {"Normal Puzzle Steps",
         {L(3, 120, 240, 120, 600), L(4, 1080, 240, 840, 600, 2, 720), L(5, 2640, 240, 2400, 600, 2, 960),
          L(6, 2400, 3480, 2400, 3840), L(7, 2400, 5040, 2400, 5400), L(8, 3480, 3480, 3360, 3840),
          L(9, 3480, 4520, 3360, 4880)}},
        {"Normal Puzzle Shield",
         {L(2, 120, 240, 240, 600), L(3, 1740, 240, 1080, 600, 3, 720), L(4, 3240, 240, 3360, 600),
          L(5, 840, 3000, 120, 3360, 3, 840), L(6, 2640, 3000, 2640, 3360), L(7, 3540, 3000, 3540, 3360)}},
        {"Normal Puzzle Broken Pieces",
         {L(3, 120, 240, 120, 600), L(4, 1200, 240, 960, 600, 2, 720), L(5, 2640, 240, 2640, 600, 2, 840),
          L(7, 960, 3600, 960, 3960), L(10, 2640, 3600, 2640, 3960)}},
        {"Normal Puzzle Five Plus",
         {L(3, 120, 240, 120, 600), L(4, 1200, 240, 960, 600, 2, 720), L(5, 3000, 240, 2640, 600, 2, 840),
          L(6, 960, 3720, 960, 4080), L(7, 2000, 3720, 2000, 4080)}},
        {"Normal Puzzle Angled",
         {L(3, 30, 240, 120, 600), L(4, 960, 240, 960, 600), L(5, 2160, 240, 1800, 600, 2, 840),
          L(6, 3540, 240, 3540, 600), L(7, 120, 2400, 120, 2760), L(8, 1200, 2400, 1200, 2760),
          L(9, 2400, 2400, 2400, 2760)}},
        {"Normal Puzzle HTT",
         {L(2, 120, 240, 120, 600), L(3, 1200, 240, 960, 600, 2, 720), L(4, 2400, 240, 2400, 600),
          L(5, 480, 3720, 120, 4080, 2, 840), L(6, 3480, 240, 3480, 600),
          L(7, 3000, 2760, 2400, 3120, 2, 1080)}},
    };
    return f;
}

FormConfig MakeLarge() {
    FormConfig f{"frmLarge",
                 SizeClass::Large,
                 20,
                 413,
                 true,
                 {0, 0, 11055, 7335},
                 {4800, 360, 6252, 6372},
                 150,
                 720,
                 "&Return to Main",
                 {3, 4, 5, 6, 7, 8},
                 true,
                 {0, 0, 0, 612, 732, 852, 852, 972, 1212, 0, 0},
                 {120, 7020, 10815, 255},
                 {}};
    f.layouts = {
        {"Large Puzzle Crazy Eights",
         {LD(3, 120, 240, 120, 600, 3960), LD(4, 1200, 240, 960, 600, 3960, 2, 720),
          LD(6, 2520, 240, 2520, 600, 3960), LD(8, 3600, 240, 3600, 600, 3960)}},
        {"Large Puzzle Squares",
         {LD(3, 0, 240, 120, 600, 3960), LD(4, 960, 240, 960, 600, 3960), LD(5, 1800, 240, 1800, 600, 3960),
          LD(6, 2760, 240, 2760, 600, 3960), LD(7, 3720, 240, 3720, 600, 3960),
          LD(8, 3720, 2280, 3600, 2640, 5520)}},
        {"Large Puzzle Four Electrodes",
         {LD(3, 0, 240, 120, 600, 3960), LD(6, 2760, 2520, 2160, 3000, 6360, 2, 1200),
          LD(7, 960, 240, 960, 600, 3960), LD(8, 2760, 240, 2160, 600, 3960, 2, 1200)}},
    };
    return f;
}

} // namespace

const TemplateLayout* FormConfig::Layout(std::string_view puzzleName) const {
    for (const auto& layout : layouts)
        if (layout.name == puzzleName)
            return &layout;
    return nullptr;
}

TwipRect FormConfig::CellRect(int cell) const {
    return {120 + 300 * (cell % width), 240 + 300 * (cell / width), 252, 288};
}

const FormConfig& frmSmallSize() {
    static const FormConfig f = MakeSmall();
    return f;
}

const FormConfig& frmNormal() {
    static const FormConfig f = MakeNormal();
    return f;
}

const FormConfig& frmLarge() {
    static const FormConfig f = MakeLarge();
    return f;
}

const FormConfig& FormFor(SizeClass size) {
    switch (size) {
    case SizeClass::Small:
        return frmSmallSize();
    case SizeClass::Normal:
        return frmNormal();
    case SizeClass::Large:
        return frmLarge();
    }
    return frmSmallSize();
}

} // namespace corvana
