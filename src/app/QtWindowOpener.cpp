#include "app/QtWindowOpener.h"

#include "app/frmCredits.h"
#include "app/frmHowToPlay.h"

namespace corvana {

QtWindowOpener::QtWindowOpener(PuzzleState& puzzle, ColorScheme& colors, Dialogs& dialogs,
                               std::string colorFilePath)
    : puzzle_(puzzle), colors_(colors), dialogs_(dialogs), colorFilePath_(std::move(colorFilePath)) {}

void QtWindowOpener::ShowPlayForm(SizeClass size) {
    // The play windows are not part of this build yet.
    (void)size;
    (void)colors_;
    dialogs_.MessageBox("The puzzle \"" + puzzle_.PuzzleName +
                            "\" was generated, but this build of the program cannot show it yet.",
                        kMessageTitle, Buttons::Ok, Icon::Information);
}

void QtWindowOpener::ShowHowToPlay() {
    frmHowToPlay window(puzzle_, parent_);
    window.exec();
}

void QtWindowOpener::ShowColors() {
    dialogs_.MessageBox("The colour editor is not part of this build yet.", kMessageTitle, Buttons::Ok,
                        Icon::Information);
}

void QtWindowOpener::ShowCredits() {
    frmCredits window(parent_);
    window.exec();
}

} // namespace corvana
