#pragma once

// The Qt window of one open play form (frmSmallSize, frmNormal or frmLarge, by its FormConfig).
// It owns the PlayForm model, shows exactly what the model holds and passes the user's keys,
// clicks and menu commands to it. It keeps no game state: after every forwarded event it
// brings the widgets in line with the model, touching only what changed since last time.

#include "core/Shown.h"
#include "play/GameStore.h"
#include "play/PlayForm.h"
#include "play/PrintSupport.h"
#include "play/Zoom.h"

#include <QAccessible>
#include <QFont>
#include <QMainWindow>
#include <QPalette>
#include <QStaticText>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QEventLoop;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollArea;
class QStyle;
class QTimer;

namespace corvana {

class CellEdit;
class CompactCheckStyle;
class ListCheckBox;

class PlayWindow : public QMainWindow, public PlayHost, private QAccessible::ActivationObserver {
    Q_OBJECT

public:
    PlayWindow(const FormConfig& config, PuzzleState& puzzle, bool& exitRequested, const ColorScheme& colors,
               Dialogs& dialogs, std::function<void()> showHelp, QWidget* parent = nullptr);
    ~PlayWindow() override;

    // Shows the window application-modal and returns once it has been unloaded.
    void exec();

    // Brings the form back to a kept state of play (the puzzle is already in the shared state).
    void Resume(const PlayRecord& record);
    // From now on the game is written to `store` at once and after every change (none: not kept).
    void KeepGameIn(GameStore* store);

    PlayForm& Model() { return model_; }
    const PlayForm& Model() const { return model_; }

    // PlayHost.
    void ShowHelp() override;
    void Unload() override;
    void SetFocusCell(int cell) override;
    PrintResult PrintWindow() override;
    void KeepGame() override { GameChanged(false, true); }

    // Brings the widgets in line with the model. Cheap when little changed.
    void Sync();

    // The zoom of the work area in percent (one of kZoomSteps). The window grows and shrinks
    // with it; `onZoom` hears of every change the user makes, to remember it.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    void OnZoomChanged(std::function<void(int)> onZoom) { onZoom_ = std::move(onZoom); }

    // The status bar under the work area (View > Status Bar): the window grows by it and the
    // work area keeps its place. `onStatusBar` hears of every change the user makes.
    bool StatusBarShown() const { return statusShown_; }
    void SetStatusBarShown(bool shown);
    void OnStatusBarChanged(std::function<void(bool)> onStatusBar) { onStatusBar_ = std::move(onStatusBar); }
    // The clock at the status bar's right end: the time spent, ticking while the game runs
    // (View > Show Clock). `onClockShown` hears of every change the user makes.
    QLabel* ClockLabel() const { return lblClock_; }
    bool ClockShown() const { return clockShown_; }
    void SetClockShown(bool shown);
    void OnClockShownChanged(std::function<void(bool)> onClockShown) {
        onClockShown_ = std::move(onClockShown);
    }

    // Input from the cell and check-box widgets.
    void CellKeyDown(int cell, QKeyEvent* event);
    void CellKeyUp(int cell, QKeyEvent* event);
    void CellMouseDown(int cell);
    void BoxClicked(int id);

    // The compact font chosen for the number lists and headings of this form, and the cells'.
    const QFont& ListFont() const { return listFont_; }
    const QFont& CellFont() const { return cellFont_; }
    // The digit laid out once in the cells' font, for the cells to paint; nullptr for any other text.
    const QStaticText* DigitText(const QString& text) const;
    // True once the window has been closed (Return To Main, Exit or the title bar).
    bool Unloaded() const { return unloaded_; }

    // Who asks for a printer; the program's QPrintDialog unless a test hands in its own.
    void SetPrinterChooser(PrinterChooser* chooser) {
        printerChooser_ = chooser ? chooser : &defaultChooser_;
    }
    // The picture of the window that went to the last printer, for tests.
    const QImage& LastPrintedImage() const { return lastPrinted_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Minimised, the game's clock is paused; shown again, it goes on.
    void changeEvent(QEvent* event) override;

private:
    class SyncingDialogs;

    // What a widget showed when it was last synchronised, so Sync skips what is unchanged;
    // each starts as the widget does when it is made.
    using Colors = std::pair<ColorValue, ColorValue>; // fore, back
    using Place = std::pair<int, int>;                // left, top in twips
    struct CellShown {
        Shown<std::string> text{std::string()};
        Shown<Colors> colors{Colors{kBlack, kWhite}};
        Shown<bool> enabled{true};
        Shown<bool> wrong{false};
    };
    struct BoxShown {
        Shown<std::string> name;
        Shown<int> index;
        Shown<int> digits;
        Shown<std::string> caption{std::string()};
        Shown<int> value{0};
        Shown<Colors> colors;
        Shown<bool> visible{false};
        Shown<Place> place;
    };
    struct LabelShown {
        Shown<std::string> caption{std::string()};
        Shown<Colors> colors;
        Shown<bool> visible{false};
        Shown<Place> place;
    };
    struct FrameShown {
        Shown<std::string> caption{std::string()};
        Shown<Colors> colors;
    };

    void ChooseFonts();
    void Layout();
    void ApplyZoom(int percent);
    // The window's size for the work area at a zoom level.
    QSize FitSize(int percent) const;
    void FitWindow();
    int Px(int twips) const { return ZoomedPixels(twips, zoom_); }
    QRect Rect(int left, int top, int width, int height) const;
    void BuildMenus();
    void BuildFrames();
    void BuildCells();
    void BuildStatusBar();
    void SyncStatusBar();
    // Shows the time spent and sets the timer for the next whole second while the time runs.
    void SyncClock();
    // The status bar's height while it is shown, else 0.
    int StatusBarHeight() const;
    void SyncFrame(QGroupBox* frame, FrameShown& shown, const FormFrame& model);
    void SyncCells();
    void SyncBoxes();
    void SyncLabels();
    void SyncMenus();
    void PlaceWork();
    // Places the credit line shown for printing where it fits whole.
    void FitCopyright();
    // Where fraWork goes in a window of that outer size.
    void PlaceWork(QSize outer);
    // The palette, shared by every widget with the same colours, of a cell (text on base) or of
    // another control (window text on window).
    const QPalette& Palette(bool cell, ColorValue fore, ColorValue back);
    void NameCells();
    void accessibilityActiveChanged(bool active) override;
    void Touch();
    static void AllowUpdates(QWidget* widget);
    void Forward(const std::function<void()>& handler);
    // Writes the game if it changed (`always`: also when only the time spent did); with `wait`,
    // returns once it is on the disk.
    void GameChanged(bool always = false, bool wait = false);

    const FormConfig& config_;
    std::function<void()> showHelp_;
    std::unique_ptr<SyncingDialogs> dialogs_;
    QtPrinterChooser defaultChooser_;
    PrinterChooser* printerChooser_ = &defaultChooser_;
    QImage lastPrinted_;
    PlayForm model_;
    std::unique_ptr<GameKeeper> keeper_;

    QFont listFont_;
    QFont copyrightFont_;
    QFont cellFont_;
    CompactCheckStyle* compactStyle_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* client_ = nullptr;
    QGroupBox* fraWork_ = nullptr;
    QGroupBox* fraUserGrid_ = nullptr;
    std::vector<QWidget*> rowStrips_;
    std::array<QStaticText, 10> digits_;
    std::vector<CellEdit*> cells_;
    std::vector<ListCheckBox*> boxes_;
    std::vector<QLabel*> labels_;
    QLabel* credit_ = nullptr; // lblCopyright, among labels_

    std::map<std::pair<ColorValue, ColorValue>, QPalette> cellPalettes_;
    std::map<std::pair<ColorValue, ColorValue>, QPalette> controlPalettes_;

    std::vector<CellShown> cellShown_;
    std::vector<BoxShown> boxShown_;
    std::vector<LabelShown> labelShown_;
    FrameShown workShown_;
    FrameShown userGridShown_;
    Shown<std::string> captionShown_{std::string()};
    Shown<ColorValue> formBackShown_;
    // A menu entry whose caption, enabled or visible state the model decides (none: fixed).
    struct ModelMenu {
        QAction* action = nullptr;
        const std::string& (PlayForm::*caption)() const = nullptr;
        bool (PlayForm::*enabled)() const = nullptr;
        bool (PlayForm::*visible)() const = nullptr;
        Shown<std::string> captionShown{std::string()};
        Shown<bool> enabledShown{true};
        Shown<bool> visibleShown{true};
    };
    std::vector<ModelMenu> modelMenus_;

    static constexpr int kBulkChanges = 24;
    int changes_ = 0;

    int zoom_ = 100;
    std::function<void(int)> onZoom_;

    bool statusShown_ = true;
    std::function<void(bool)> onStatusBar_;
    QAction* mnuStatusBar_ = nullptr;
    QLabel* lblPuzzle_ = nullptr;
    QLabel* lblGrade_ = nullptr;
    QLabel* lblMessage_ = nullptr;
    QLabel* lblClock_ = nullptr;
    bool clockShown_ = true;
    std::function<void(bool)> onClockShown_;
    QAction* mnuShowClock_ = nullptr;
    QTimer* clockTimer_ = nullptr;

    QEventLoop* loop_ = nullptr;
    bool unloaded_ = false;
    int parkedFocusCell_ = -1;
};

} // namespace corvana
