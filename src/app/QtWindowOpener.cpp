#include "app/QtWindowOpener.h"

#include "app/BestTimesWindow.h"
#include "app/CreditsWindow.h"
#include "app/HowToPlayWindow.h"
#include "colors/ColorEditorWindow.h"
#include "play/PlayWindow.h"

#include <QSettings>

namespace corvana {

QtWindowOpener::QtWindowOpener(PuzzleState& puzzle, ColorScheme& colors, Dialogs& dialogs,
                               std::string colorFilePath, GameStore* store, RecordsBook* records)
    : puzzle_(puzzle), colors_(colors), dialogs_(dialogs), colorFilePath_(std::move(colorFilePath)),
      store_(store), records_(records) {}

int QtWindowOpener::KeptZoom() const {
    if (zoomFile_.empty())
        return 100;
    return QSettings(QString::fromStdString(zoomFile_), QSettings::IniFormat)
        .value(QStringLiteral("zoom"), 100)
        .toInt();
}

void QtWindowOpener::ShowPlayForm(SizeClass size, const PlayRecord* resume) {
    // Help on the play form opens over the play form; Exit there ends the play form in turn.
    PlayWindow window(
        FormFor(size), puzzle_, colors_, dialogs_, [this] { ShowHowToPlay(); }, parent_);
    if (!zoomFile_.empty()) {
        const QString file = QString::fromStdString(zoomFile_);
        window.SetZoom(KeptZoom());
        window.OnZoomChanged([this, file](int percent) {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("zoom"), percent);
            settings.sync();
            if (settings.status() == QSettings::NoError || zoomFailureReported_)
                return;
            zoomFailureReported_ = true;
            dialogs_.MessageBox("The zoom level could not be saved to " + zoomFile_ + ".", kMessageTitle,
                                Buttons::Ok, Icon::Exclamation);
        });
        // Shown unless the user has hidden it; kept beside the zoom.
        window.SetStatusBarShown(
            QSettings(file, QSettings::IniFormat).value(QStringLiteral("statusBar"), true).toBool());
        window.OnStatusBarChanged([this, file](bool shown) {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("statusBar"), shown);
            settings.sync();
            if (settings.status() == QSettings::NoError || zoomFailureReported_)
                return;
            zoomFailureReported_ = true;
            dialogs_.MessageBox("The status bar setting could not be saved to " + zoomFile_ + ".",
                                kMessageTitle, Buttons::Ok, Icon::Exclamation);
        });
    }
    if (resume != nullptr)
        window.Resume(*resume);
    window.KeepGameIn(store_);
    window.Model().SetRecords(records_);
    QWidget* const mainWindow = parent_;
    parent_ = &window;
    window.exec();
    parent_ = mainWindow;
}

void QtWindowOpener::ShowHowToPlay() {
    HowToPlayWindow window(puzzle_, parent_);
    window.exec();
}

void QtWindowOpener::ShowColors() {
    ColorEditorWindow editor(colors_, puzzle_, dialogs_, colorFilePath_, parent_);
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
