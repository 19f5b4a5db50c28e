#include "play/FormConfig.h"

namespace corvana {

TwipRect FormConfig::CellRect(int cell) const {
    return {120 + 300 * (cell % width), 240 + 300 * (cell / width), 252, 288};
}

const FormConfig& frmSmallSize() {
    static const FormConfig f{"frmSmallSize",
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
                              {1320, 3720, 5055, 255}};
    return f;
}

const FormConfig& frmNormal() {
    static const FormConfig f{"frmNormal",
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
                              {3960, 5760, 5295, 255}};
    return f;
}

const FormConfig& frmLarge() {
    static const FormConfig f{"frmLarge",
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
                              {120, 7020, 10815, 255}};
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
