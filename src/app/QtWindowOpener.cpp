#include "app/QtWindowOpener.h"

#include "app/BestTimesWindow.h"
#include "app/CreditsWindow.h"
#include "app/HowToPlayWindow.h"
#include "colors/ColorEditorWindow.h"
#include "files/SettingsFile.h"
#include "play/PlayWindow.h"
#include "play/Zoom.h"

#include <cstdlib>

namespace corvana {

QtWindowOpener::QtWindowOpener(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors,
                               Dialogs& dialogs, std::string colorFilePath, GameStore* store,
                               RecordsBook* records)
    : puzzle_(puzzle), exitRequested_(exitRequested), colors_(colors), dialogs_(dialogs),
      colorFilePath_(std::move(colorFilePath)), store_(store), records_(records) {}

int QtWindowOpener::KeptZoom() const {
    if (zoomFile_.empty())
        return 100;
    const Settings settings = ReadSettingsFile(zoomFile_);
    const auto zoom = settings.find("zoom");
    return zoom == settings.end() ? 100 : ValidZoom(std::atoi(zoom->second.c_str()));
}

void QtWindowOpener::ShowPlayForm(SizeClass size, const PlayRecord* resume) {
    // Help on the play form opens over the play form; Exit there ends the play form in turn.
    PlayWindow window(
        FormFor(size), puzzle_, exitRequested_, colors_, dialogs_, [this] { ShowHowToPlay(); }, parent_);
    if (!zoomFile_.empty()) {
        window.SetZoom(KeptZoom());
        window.OnZoomChanged([this](int percent) {
            std::string error;
            if (WriteSetting(zoomFile_, "zoom", std::to_string(percent), error) || zoomFailureReported_)
                return;
            zoomFailureReported_ = true;
            dialogs_.MessageBox("The zoom level could not be saved to " + zoomFile_ + ".", kMessageTitle,
                                Buttons::Ok, Icon::Exclamation);
        });
        // The status bar and the clock are shown unless the user has hidden them; kept beside
        // the zoom.
        const Settings settings = ReadSettingsFile(zoomFile_);
        const auto kept = [&settings](const char* key) {
            const auto found = settings.find(key);
            return found == settings.end() || found->second != "false";
        };
        const auto keep = [this](const char* key, const std::string& what) {
            return [this, key, what](bool shown) {
                std::string error;
                if (WriteSetting(zoomFile_, key, shown ? "true" : "false", error) || zoomFailureReported_)
                    return;
                zoomFailureReported_ = true;
                dialogs_.MessageBox("The " + what + " setting could not be saved to " + zoomFile_ + ".",
                                    kMessageTitle, Buttons::Ok, Icon::Exclamation);
            };
        };
        window.SetStatusBarShown(kept("statusBar"));
        window.OnStatusBarChanged(keep("statusBar", "status bar"));
        window.SetClockShown(kept("clock"));
        window.OnClockShownChanged(keep("clock", "clock"));
    }
    if (resume != nullptr)
        window.Resume(*resume);
    window.KeepGameIn(store_);
    window.Model().SetRecords(records_);
    QWidget* const mainWindow = parent_;
    parent_ = &window;
    window.exec();
    parent_ = mainWindow;
    // A failed write of the records from this game is told before the main window goes on.
    if (records_ != nullptr)
        records_->Flush();
}

void QtWindowOpener::ShowHowToPlay() {
    HowToPlayWindow window(exitRequested_, parent_);
    window.exec();
}

void QtWindowOpener::ShowColors() {
    ColorEditorWindow editor(colors_, exitRequested_, dialogs_, colorFilePath_, parent_);
    editor.exec();
}

void QtWindowOpener::ShowBestTimes() {
    // Without a records book there is nothing to show; an empty one stands in.
    RecordsBook none(std::string(), dialogs_);
    BestTimesWindow window(records_ != nullptr ? *records_ : none, dialogs_, ValidZoom(KeptZoom()), parent_);
    window.exec();
}

void QtWindowOpener::ShowCredits() {
    CreditsWindow window(parent_);
    window.exec();
}

} // namespace corvana
