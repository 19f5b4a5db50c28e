#include "app/QtWindowOpener.h"

#include "app/frmCredits.h"
#include "app/frmHowToPlay.h"
#include "colors/frmColors.h"

namespace corvana {

QtWindowOpener::QtWindowOpener(PuzzleState& puzzle, ColorScheme& colors, Dialogs& dialogs,
                               std::string colorFilePath)
    : puzzle_(puzzle), colors_(colors), dialogs_(dialogs), colorFilePath_(std::move(colorFilePath)) {}

void QtWindowOpener::ShowPlayForm(SizeClass size) {
    // The play windows are not part of this build yet.
    (void)size;
    dialogs_.MessageBox("The puzzle \"" + puzzle_.PuzzleName +
                            "\" was generated, but this build of the program cannot show it yet.",
                        kMessageTitle, Buttons::Ok, Icon::Information);
}

void QtWindowOpener::ShowHowToPlay() {
    frmHowToPlay window(puzzle_, parent_);
    window.exec();
}

void QtWindowOpener::ShowColors() {
    frmColors editor(colors_, puzzle_, dialogs_, colorFilePath_, parent_);
    editor.exec();
}

void QtWindowOpener::ShowCredits() {
    frmCredits window(parent_);
    window.exec();
}

} // namespace corvana
