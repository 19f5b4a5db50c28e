#pragma once

// Opens the main window's children for real: each is created anew, shown modally over the
// main window, and destroyed when it closes.

#include "app/MainMenu.h"

#include <string>

class QWidget;

namespace corvana {

class QtWindowOpener : public WindowOpener {
public:
    // Play windows keep their game in `store` (none: not kept) and count games in `records`
    // (none: not counted, and Best Times shows nothing).
    QtWindowOpener(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors, Dialogs& dialogs,
                   std::string colorFilePath, GameStore* store = nullptr, RecordsBook* records = nullptr);

    // The window the children are shown over.
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Play windows open at the zoom level and with the status bar shown or hidden as kept in this
    // settings file, and keep every change there (none: always 100 %, the status bar shown).
    void RememberZoomIn(std::string settingsFile) { zoomFile_ = std::move(settingsFile); }

    void ShowPlayForm(SizeClass size, const PlayRecord* resume) override;
    void ShowHowToPlay() override;
    void ShowColors() override;
    void ShowCredits() override;
    void ShowBestTimes() override;

private:
    // The zoom level kept in the settings file, 100 without one.
    int KeptZoom() const;

    PuzzleState& puzzle_;
    bool& exitRequested_;
    ColorScheme& colors_;
    Dialogs& dialogs_;
    std::string colorFilePath_;
    GameStore* store_;
    RecordsBook* records_;
    std::string zoomFile_;
    bool zoomFailureReported_ = false;
    QWidget* parent_ = nullptr;
};

} // namespace corvana
