#include "play/PlayWindow.h"

#include "corvana/Version.h"
#include "play/PlayWidgets.h"
#include "play/Zoom.h"
#include "ui/QtUtil.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace corvana {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The narrowest a control of `width` twips can come out in pixels at `zoom`, wherever it stands
// (the rounding of its edges repeats every 1500 twips at the latest).
int NarrowestPixels(int width, int zoom) {
    int narrowest = ZoomedPixels(width, zoom);
    for (int left = 1; left < 1500; ++left)
        narrowest = std::min(narrowest, ZoomedPixels(left + width, zoom) - ZoomedPixels(left, zoom));
    return narrowest;
}

// List boxes stand 240 twips apart.
constexpr int kBoxHeightTwips = 240;

// The largest font of the application's family, at most 12 px at 100 %, in which the longest
// caption of every list of this form fits its designed box width and one line fits a box's
// height, at the zoom level with the tick box and spacing of `style`.
QFont ChooseListFont(const FormConfig& config, int zoom, const CompactCheckStyle& style) {
    QFont font = QApplication::font();
    for (int px = ZoomedSize(12, zoom); px >= 6; --px) {
        font.setPixelSize(px);
        const QFontMetrics fm(font);
        if (fm.height() > NarrowestPixels(kBoxHeightTwips, zoom) - 1)
            continue;
        bool fits = true;
        for (int digits = kShortest; digits <= kLongest && fits; ++digits) {
            const int width = config.boxWidth[static_cast<std::size_t>(digits)];
            if (width <= 0)
                continue;
            // Measured as the box measures its caption for its size hint (which may add a pixel
            // for etched text), for every digit: at some font sizes a run of the digit that is
            // widest alone is not the widest run.
            int text = 0;
            for (char16_t d = u'0'; d <= u'9'; ++d)
                text = std::max(
                    text,
                    style.itemTextRect(fm, QRect(), Qt::TextShowMnemonic, false, QString(digits, QChar(d)))
                        .width());
            fits = style.Indicator() + style.Spacing() + text <= NarrowestPixels(width, zoom);
        }
        if (fits)
            return font;
    }
    return font;
}

// The largest font, at most 13 px at 100 %, in which one digit fits inside a cell's border and
// focus ring (see CellEdit::paintEvent: 1 px border, 2 px ring).
QFont ChooseCellFont(const FormConfig& config, int zoom) {
    const TwipRect cell = config.CellRect(0);
    const int innerWidth = NarrowestPixels(cell.width, zoom) - 6;
    const int innerHeight = NarrowestPixels(cell.height, zoom) - 4;
    QFont font = QApplication::font();
    for (int px = ZoomedSize(13, zoom); px >= 6; --px) {
        font.setPixelSize(px);
        const QFontMetrics fm(font);
        int widest = 0;
        for (char16_t d = u'0'; d <= u'9'; ++d)
            widest = std::max(widest, fm.horizontalAdvance(QChar(d)));
        if (widest <= innerWidth && fm.height() <= innerHeight)
            return font;
    }
    return font;
}

QPalette TextPalette(const QPalette& base, QPalette::ColorRole foreRole, QPalette::ColorRole backRole,
                     ColorValue fore, ColorValue back) {
    QPalette palette = base;
    // The same colours in every state: a locked cell of the solution view shows its digit in
    // the model's colour, not greyed out.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, foreRole, ToQColor(fore));
        palette.setColor(group, backRole, ToQColor(back));
    }
    return palette;
}

} // namespace

// Brings the window up to date before any message box, so the user sees the state the message
// speaks about (a refused AutoFill, an error while loading).
class PlayWindow::SyncingDialogs : public Dialogs {
public:
    SyncingDialogs(PlayWindow& window, Dialogs& inner) : window_(window), inner_(inner) {}
    Answer MessageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override {
        window_.Sync();
        return inner_.MessageBox(text, title, buttons, icon);
    }
    ColorValue PickColor(ColorValue initial) override { return inner_.PickColor(initial); }
    void SetBusy(bool busy) override { inner_.SetBusy(busy); }
    std::string ChooseSaveFile(const std::string& title, const std::string& suggested) override {
        window_.Sync();
        return inner_.ChooseSaveFile(title, suggested);
    }

private:
    PlayWindow& window_;
    Dialogs& inner_;
};

const QPalette& PlayWindow::Palette(bool cell, ColorValue fore, ColorValue back) {
    auto& cache = cell ? cellPalettes_ : controlPalettes_;
    const auto key = std::make_pair(fore, back);
    auto it = cache.find(key);
    if (it == cache.end()) {
        const QPalette made =
            cell ? TextPalette(QApplication::palette(), QPalette::Text, QPalette::Base, fore, back)
                 : TextPalette(QApplication::palette(), QPalette::WindowText, QPalette::Window, fore, back);
        it = cache.emplace(key, made).first;
    }
    return it->second;
}

PlayWindow::PlayWindow(const FormConfig& config, PuzzleState& puzzle, bool& exitRequested,
                       const ColorScheme& colors, Dialogs& dialogs, std::function<void()> showHelp,
                       QWidget* parent)
    : QMainWindow(parent), config_(config), showHelp_(std::move(showHelp)),
      dialogs_(std::make_unique<SyncingDialogs>(*this, dialogs)),
      model_(config, puzzle, exitRequested, colors, *dialogs_, *this) {
    setObjectName(QString::fromUtf8(config.name.data(), static_cast<int>(config.name.size())));
    compactStyle_ = new CompactCheckStyle;
    compactStyle_->setParent(this);
    ChooseFonts();

    BuildMenus();
    BuildFrames();
    BuildCells();
    BuildStatusBar();
    Layout();

    model_.Form_Load();
    Sync();

    // Naming 400 cells costs a tenth of opening the window, because every name change builds
    // the cell's accessible interface; so the names are given when a screen reader is there.
    if (QAccessible::isActive())
        NameCells();
    QAccessible::installActivationObserver(this);

    FitWindow();
}

void PlayWindow::ChooseFonts() {
    compactStyle_->SetZoom(zoom_);
    listFont_ = ChooseListFont(config_, zoom_, *compactStyle_);
    copyrightFont_ = QApplication::font();
    copyrightFont_.setPixelSize(ZoomedSize(13, zoom_)); // 9.75 pt at 96 dpi and 100 %
    cellFont_ = ChooseCellFont(config_, zoom_);
}

QRect PlayWindow::Rect(int left, int top, int width, int height) const {
    const int x = Px(left);
    const int y = Px(top);
    return QRect(x, y, Px(left + width) - x, Px(top + height) - y);
}

QSize PlayWindow::FitSize(int percent) const {
    return {ZoomedPixels(config_.work.width, percent) + 16,
            ZoomedPixels(config_.work.height, percent) + menuBar()->sizeHint().height() + 24};
}

void PlayWindow::FitWindow() {
    // Zoomed, never larger than the screen (beyond it the work area scrolls), nor smaller than
    // at 100 %, which is the window's size as designed whatever the screen.
    QSize size = FitSize(zoom_);
    if (const QScreen* s = screen(); s != nullptr && zoom_ > 100) {
        // The status bar comes on top of the fitted size, so its height is taken off the room.
        const QSize room = s->availableGeometry().size() - (frameGeometry().size() - this->size()) -
                           QSize(0, StatusBarHeight());
        size = size.boundedTo(room.expandedTo(FitSize(100)));
    }
    resize(size + QSize(0, StatusBarHeight()));
    PlaceWork();
}

void PlayWindow::SetZoom(int percent) {
    percent = ValidZoom(percent);
    if (percent == zoom_)
        return;
    ApplyZoom(percent);
    FitWindow();
    if (onZoom_)
        onZoom_(zoom_);
}

void PlayWindow::ApplyZoom(int percent) {
    zoom_ = percent;
    ChooseFonts();
    Layout();
    // Every label and box is placed again from the model at the new scale.
    for (LabelShown& shown : labelShown_)
        shown.place.Forget();
    for (BoxShown& shown : boxShown_)
        shown.place.Forget();
    Sync();
    fraWork_->update();
}

// Everything whose place or font follows from the twip tables and the zoom level; the lists
// and headings follow in Sync.
void PlayWindow::Layout() {
    fraWork_->setFont(listFont_);
    fraWork_->resize(Px(config_.work.width), Px(config_.work.height));
    const TwipRect& g = config_.userGrid;
    fraUserGrid_->setGeometry(Rect(g.left, g.top, g.width, g.height));
    for (int row = 0; row < config_.width; ++row) {
        const TwipRect first = config_.CellRect(row * config_.width);
        const QRect cell = Rect(first.left, first.top, first.width, first.height);
        QWidget* strip = rowStrips_[static_cast<std::size_t>(row)];
        strip->setGeometry(0, cell.top(), fraUserGrid_->width(), cell.height());
        strip->setFont(cellFont_);
    }
    for (QStaticText& digit : digits_)
        digit.prepare(QTransform(), cellFont_);
    for (CellEdit* edit : cells_) {
        const TwipRect r = config_.CellRect(edit->Cell());
        const QWidget* strip = edit->parentWidget();
        edit->setGeometry(Rect(r.left, r.top, r.width, r.height).translated(0, -strip->y()));
    }
}

PlayWindow::~PlayWindow() {
    QAccessible::removeActivationObserver(this);
}

void PlayWindow::accessibilityActiveChanged(bool active) {
    if (active)
        NameCells();
}

// A screen reader coming back after it went away names them again, to the same names.
void PlayWindow::NameCells() {
    for (CellEdit* cell : cells_) {
        const int i = cell->Cell();
        cell->setAccessibleName(
            QStringLiteral("Column %1 Row %2").arg(i % config_.width + 1).arg(i / config_.width + 1));
    }
}

const QStaticText* PlayWindow::DigitText(const QString& text) const {
    if (text.size() != 1 || text.at(0) < u'0' || text.at(0) > u'9')
        return nullptr;
    return &digits_[static_cast<std::size_t>(text.at(0).unicode() - u'0')];
}

namespace {

// One entry of the play window's menus, in menu order: a menu, a separator or a command.
struct MenuEntry {
    enum Kind { Menu, Separator, Command };
    Kind kind;
    const char* menu; // the objectName of the menu it goes in; "" for the menu bar
    const char* name; // its objectName
    QString caption;
    QList<QKeySequence> keys;
    std::function<void(bool)> run; // none: it only shows something (the buffer)
    const bool* checked = nullptr; // a checkable command: its state
    QAction** keep = nullptr;      // where the window keeps the action, to update it
    // What the model decides of it, brought in line by Sync.
    const std::string& (PlayForm::*captionFrom)() const = nullptr;
    bool (PlayForm::*enabledFrom)() const = nullptr;
    bool (PlayForm::*visibleFrom)() const = nullptr;
};

} // namespace

void PlayWindow::BuildMenus() {
    using Keys = QList<QKeySequence>;
    const auto handler = [this](void (PlayForm::*click)()) {
        return [this, click](bool) { Forward([this, click] { (model_.*click)(); }); };
    };
    const auto print = [this](PrintKind kind) {
        return [this, kind](bool) { Forward([this, kind] { model_.PrintPuzzle(kind); }); };
    };
    const auto zoom = [this](int (*step)(int)) { return [this, step](bool) { SetZoom(step(zoom_)); }; };
    const auto Ctrl = [](int key) { return Keys{QKeySequence(Qt::CTRL | key)}; };
    using E = MenuEntry;
    const Keys NoKeys;
    const MenuEntry entries[] = {
        {E::Menu, "", "mnuFile", QStringLiteral("&File"), NoKeys, nullptr},
        {E::Command, "mnuFile", "mnuNewPuzzle", QStringLiteral("&New Game"), Ctrl(Qt::Key_N),
         handler(&PlayForm::mnuNewPuzzle_Click)},
        {E::Command, "mnuFile", "mnuRestartGame", QStringLiteral("Restart Game"), NoKeys,
         handler(&PlayForm::RestartGame)},
        {E::Command, "mnuFile", "mnuShowStartingNumber", QStringLiteral("Show Starting Number"), NoKeys,
         handler(&PlayForm::mnuShowStartingNumber_Click), nullptr, nullptr, nullptr, nullptr,
         &PlayForm::ShowStartingNumberVisible},
        {E::Menu, "mnuFile", "mnuPrint", QStringLiteral("Print"), NoKeys, nullptr},
        {E::Command, "mnuPrint", "mnuPrintNew", QStringLiteral("Print Original"), NoKeys,
         print(PrintKind::Original)},
        {E::Command, "mnuPrint", "mnuPrintCurrent", QStringLiteral("Print Current"), NoKeys,
         print(PrintKind::Current)},
        {E::Command, "mnuPrint", "mnuPrintSolution", QStringLiteral("Print Solution"), NoKeys,
         print(PrintKind::Solution)},
        {E::Separator, "mnuFile", "mnuSpace", QString(), NoKeys, nullptr},
        {E::Command, "mnuFile", "mnuHelp", QStringLiteral("&Help"), Keys{QKeySequence(Qt::Key_F1)},
         handler(&PlayForm::mnuHelp_Click)},
        {E::Separator, "mnuFile", "mnuSpace2", QString(), NoKeys, nullptr},
        {E::Command, "mnuFile", "mnuReturnToMain",
         QString::fromUtf8(config_.returnCaption.data(), static_cast<int>(config_.returnCaption.size())),
         Ctrl(Qt::Key_R), handler(&PlayForm::mnuReturnToMain_Click)},
        {E::Command, "mnuFile", "mnuExit", QStringLiteral("E&xit"), Ctrl(Qt::Key_X),
         handler(&PlayForm::mnuExit_Click)},

        {E::Menu, "", "mnuEdit", QStringLiteral("&Edit"), NoKeys, nullptr},
        {E::Command, "mnuEdit", "mnuUndo", QStringLiteral("Undo"), Ctrl(Qt::Key_Z),
         handler(&PlayForm::mnuUndo_Click), nullptr, nullptr, &PlayForm::UndoCaption, &PlayForm::UndoEnabled},
        {E::Command, "mnuEdit", "mnuSolution", QStringLiteral("&Show Solution / User Grid"), Ctrl(Qt::Key_S),
         handler(&PlayForm::mnuSolution_Click)},
        {E::Command, "mnuEdit", "mnuHint", QStringLiteral("&Hint"), Ctrl(Qt::Key_H),
         handler(&PlayForm::mnuHint_Click)},
        {E::Command, "mnuEdit", "mnuCheck", QStringLiteral("&Check"), Ctrl(Qt::Key_K),
         handler(&PlayForm::mnuCheck_Click)},

        {E::Menu, "", "mnuView", QStringLiteral("&View"), NoKeys, nullptr},
        {E::Command, "mnuView", "mnuZoomIn", QStringLiteral("Zoom In"),
         Keys{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
              QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus)},
         zoom(&ZoomIn)},
        {E::Command, "mnuView", "mnuZoomOut", QStringLiteral("Zoom Out"),
         Keys{QKeySequence(Qt::CTRL | Qt::Key_Minus),
              QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus)},
         zoom(&ZoomOut)},
        {E::Command, "mnuView", "mnuActualSize", QStringLiteral("Actual Size"), Ctrl(Qt::Key_0),
         zoom([](int) { return 100; })},
        {E::Command, "mnuView", "mnuStatusBar", QStringLiteral("Status &Bar"), NoKeys,
         [this](bool shown) {
             SetStatusBarShown(shown);
             if (onStatusBar_)
                 onStatusBar_(statusShown_);
         },
         &statusShown_, &mnuStatusBar_},
        {E::Command, "mnuView", "mnuShowClock", QStringLiteral("Show &Clock"), NoKeys,
         [this](bool shown) {
             SetClockShown(shown);
             if (onClockShown_)
                 onClockShown_(clockShown_);
         },
         &clockShown_, &mnuShowClock_},

        // Only shows the buffer; choosing it does nothing.
        {E::Command, "", "mnuBuffer", QStringLiteral("Buffer = "), NoKeys, nullptr, nullptr, nullptr,
         &PlayForm::BufferCaption},
    };

    QMenuBar* bar = menuBar();
    std::map<std::string, QMenu*> menus;
    for (const MenuEntry& e : entries) {
        const auto in = menus.find(e.menu);
        QMenu* parent = in == menus.end() ? nullptr : in->second;
        const QString name = QString::fromLatin1(e.name);
        if (e.kind == MenuEntry::Menu) {
            QMenu* menu = parent ? parent->addMenu(e.caption) : bar->addMenu(e.caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menus[e.name] = menu;
            continue;
        }
        if (e.kind == MenuEntry::Separator) {
            parent->addSeparator()->setObjectName(name);
            continue;
        }
        QAction* action = parent ? parent->addAction(e.caption) : bar->addAction(e.caption);
        action->setObjectName(name);
        if (!e.keys.isEmpty())
            action->setShortcuts(e.keys);
        if (e.checked) {
            action->setCheckable(true);
            action->setChecked(*e.checked);
        }
        if (e.run)
            connect(action, &QAction::triggered, this, e.run);
        if (e.keep)
            *e.keep = action;
        if (e.captionFrom || e.enabledFrom || e.visibleFrom) {
            ModelMenu shown;
            shown.action = action;
            shown.caption = e.captionFrom;
            shown.enabled = e.enabledFrom;
            shown.visible = e.visibleFrom;
            modelMenus_.push_back(std::move(shown));
        }
    }
}

void PlayWindow::BuildFrames() {
    // The client area scrolls when the work area, zoomed, is larger than the screen allows.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    // The keyboard focus stays with the cells, never with the scroll area around them.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidgetResizable(true);
    client_ = new QWidget;
    client_->setAutoFillBackground(true);
    scroll_->setWidget(client_);
    setCentralWidget(scroll_);

    fraWork_ = new FrameBox(client_);
    fraWork_->setObjectName(QStringLiteral("fraWork"));

    fraUserGrid_ = new FrameBox(fraWork_);
    fraUserGrid_->setObjectName(QStringLiteral("fraUserGrid"));

    // The cells of each row sit on a transparent strip that carries their font and standard
    // colours, so the frame's caption colour never leaks into them; one strip a row also keeps
    // the window's per-sibling overlap checks to a row instead of the whole grid.
    for (int row = 0; row < config_.width; ++row) {
        auto* strip = new QWidget(fraUserGrid_);
        strip->setPalette(Palette(true, kBlack, kWhite));
        rowStrips_.push_back(strip);
    }
    for (char16_t d = u'0'; d <= u'9'; ++d) {
        QStaticText& digit = digits_[static_cast<std::size_t>(d - u'0')];
        digit.setText(QString(QChar(d)));
        digit.setTextFormat(Qt::PlainText);
    }
}

void PlayWindow::BuildCells() {
    const int count = config_.CellCount();
    cells_.assign(static_cast<std::size_t>(count), nullptr);
    cellShown_.assign(static_cast<std::size_t>(count), CellShown{});
    // Created in tab order, so the focus chain needs no reordering: Tab walks the cells by
    // their tab index (backwards on the Large form).
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::sort(order.begin(), order.end(),
              [this](int a, int b) { return config_.TabIndex(a) < config_.TabIndex(b); });
    for (int cell : order) {
        QWidget* strip = rowStrips_[static_cast<std::size_t>(cell / config_.width)];
        auto* edit = new CellEdit(*this, cell, strip);
        edit->setObjectName(QStringLiteral("txtGrid"));
        edit->setProperty("index", cell);
        // A black square is no place for a digit: it never takes the focus (by Tab, a click or
        // an accessibility action) nor any text.
        const auto& pattern = model_.Puzzle().GridPattern;
        if (static_cast<std::size_t>(cell) < pattern.size() && !pattern[static_cast<std::size_t>(cell)]) {
            edit->setFocusPolicy(Qt::NoFocus);
            edit->setReadOnly(true);
            // An accessibility client sets the text past the read-only flag; it is taken back.
            connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
                if (!text.isEmpty())
                    edit->clear();
            });
        }
        cells_[static_cast<std::size_t>(cell)] = edit;
    }
}

void PlayWindow::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(false);
    // The seed, options and grade on one row (and room for a clock at its end), the last
    // hint's or check's answer below them across the whole width, on up to two lines: a
    // hint's reason runs longer than the Small window is wide.
    auto* panel = new QWidget(bar);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(2, 1, 2, 1);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(1);
    // Plain labels: a screen reader reads each one's text as its name.
    auto label = [panel](const char* name, const char* description) {
        auto* l = new QLabel(panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        l->setAccessibleDescription(QString::fromLatin1(description));
        return l;
    };
    lblPuzzle_ = label("lblPuzzle", "The puzzle's seed and options");
    lblGrade_ = label("lblGrade", "How hard the puzzle is");
    lblClock_ = label("lblClock", "The time spent on this puzzle");
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("tmrClock"));
    clockTimer_->setSingleShot(true);
    connect(clockTimer_, &QTimer::timeout, this, [this] { SyncClock(); });
    lblMessage_ = label("lblMessage", "The answer of the last Hint or Check");
    lblMessage_->setWordWrap(true);
    lblMessage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // However long the answer, it never widens the window; a longer one is a hover away.
    lblMessage_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    lblMessage_->setFixedHeight(2 * lblMessage_->fontMetrics().lineSpacing() + 2);
    grid->addWidget(lblPuzzle_, 0, 0);
    grid->addWidget(lblGrade_, 0, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(lblClock_, 0, 3);
    grid->addWidget(lblMessage_, 1, 0, 1, 4);
    bar->addWidget(panel, 1);
}

int PlayWindow::StatusBarHeight() const {
    QStatusBar* bar = statusBar();
    return statusShown_ ? bar->sizeHint().height() : 0;
}

void PlayWindow::SetStatusBarShown(bool shown) {
    if (mnuStatusBar_->isChecked() != shown)
        mnuStatusBar_->setChecked(shown);
    if (shown == statusShown_)
        return;
    // The window grows or shrinks by the bar; the work area stays where it is.
    const int height = statusBar()->sizeHint().height();
    statusShown_ = shown;
    statusBar()->setVisible(shown);
    resize(width(), this->height() + (shown ? height : -height));
    PlaceWork();
    SyncClock();
}

void PlayWindow::SetClockShown(bool shown) {
    if (mnuShowClock_->isChecked() != shown)
        mnuShowClock_->setChecked(shown);
    clockShown_ = shown;
    lblClock_->setVisible(shown);
    SyncClock();
}

void PlayWindow::SyncClock() {
    if (!clockShown_) {
        clockTimer_->stop();
        return;
    }
    const double spent = model_.TimeSpent();
    const auto seconds = static_cast<std::int64_t>(std::floor(spent));
    const QString text = Q(ClockText(seconds));
    if (lblClock_->text() != text) {
        lblClock_->setText(text);
        // Read out in words: "1:05" says little to a listener.
        lblClock_->setAccessibleName(Q("Time spent: " + SpentText(seconds)));
    }
    // A clock nobody can see needs no ticks; the time is the model's all the same.
    if (model_.ClockRunning() && statusShown_ && !isMinimized()) {
        const double toNext = std::floor(spent) + 1 - spent;
        clockTimer_->start(std::clamp(static_cast<int>(std::ceil(toNext * 1000)) + 1, 1, 1001));
    } else {
        clockTimer_->stop();
    }
}

void PlayWindow::SyncStatusBar() {
    const QString puzzle = Q(model_.PuzzleText());
    if (lblPuzzle_->text() != puzzle)
        lblPuzzle_->setText(puzzle);
    const QString grade = Q(model_.GradeText());
    if (lblGrade_->text() != grade)
        lblGrade_->setText(grade);
    const QString message = Q(model_.StatusText());
    if (lblMessage_->text() != message) {
        lblMessage_->setText(message);
        // A long explanation is cut off at the window's edge; the whole of it is a hover away.
        lblMessage_->setToolTip(message);
    }
    SyncClock();
}

void PlayWindow::Sync() {
    if (captionShown_.Update(model_.Caption()))
        setWindowTitle(Q(model_.Caption()));
    if (formBackShown_.Update(model_.FormBackColor()))
        client_->setPalette(Palette(false, kBlack, model_.FormBackColor()));
    changes_ = 0;
    SyncFrame(fraWork_, workShown_, model_.WorkFrame());
    SyncFrame(fraUserGrid_, userGridShown_, model_.UserGridFrame());
    SyncCells();
    SyncLabels();
    SyncBoxes();
    SyncMenus();
    SyncStatusBar();
    if (changes_ >= kBulkChanges) {
        // Lift the block without Qt's usual update() of every single descendant (which would
        // bring back the hundreds of rectangles), then repaint fraWork as a whole.
        AllowUpdates(fraWork_);
        fraWork_->update();
    }
}

// Each changed widget asks for its own repaint, and the window merges every such rectangle
// into its dirty region one by one, which takes longer than painting the whole form once when
// hundreds of widgets change (the solution toggle changes 400 cells). So once a few dozen have
// changed, updates are blocked for the rest of the sync and fraWork is repainted whole.
void PlayWindow::AllowUpdates(QWidget* widget) {
    widget->setAttribute(Qt::WA_UpdatesDisabled, false);
    for (QObject* child : widget->children())
        if (child->isWidgetType())
            AllowUpdates(static_cast<QWidget*>(child));
}

void PlayWindow::Touch() {
    if (++changes_ == kBulkChanges)
        fraWork_->setUpdatesEnabled(false);
}

void PlayWindow::SyncFrame(QGroupBox* frame, FrameShown& shown, const FormFrame& model) {
    if (shown.caption.Update(model.caption))
        frame->setTitle(Q(model.caption));
    if (shown.colors.Update({model.fore, model.back}))
        frame->setPalette(Palette(false, model.fore, model.back));
}

void PlayWindow::SyncCells() {
    const auto& cells = model_.Cells();
    const std::size_t count = std::min(cells.size(), cells_.size());

    // A focused cell about to be locked would hand the focus to its neighbour, which is locked
    // next, and so on through the grid; park the focus on the form instead and bring it back
    // when the cells are unlocked.
    QWidget* focus = QApplication::focusWidget();
    for (std::size_t i = 0; i < count; ++i) {
        if (cells_[i] == focus && cellShown_[i].enabled.Is(true) && !cells[i].enabled) {
            parkedFocusCell_ = static_cast<int>(i);
            client_->setFocus(Qt::OtherFocusReason);
            break;
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        const GridCell& m = cells.at(i);
        CellShown& s = cellShown_[i];
        CellEdit* w = cells_[i];
        if (s.text.Update(m.text)) {
            Touch();
            w->setText(Q(m.text));
            w->setCursorPosition(0);
        }
        if (s.colors.Update({m.fore, m.back})) {
            Touch();
            w->setPalette(Palette(true, m.fore, m.back));
        }
        if (s.enabled.Update(m.enabled)) {
            Touch();
            w->setEnabled(m.enabled);
        }
        if (s.wrong.Update(m.wrong)) {
            Touch();
            w->SetMarked(m.wrong);
        }
    }

    if (parkedFocusCell_ >= 0 && static_cast<std::size_t>(parkedFocusCell_) < count &&
        cellShown_[static_cast<std::size_t>(parkedFocusCell_)].enabled.Is(true)) {
        if (QApplication::focusWidget() == client_)
            cells_[static_cast<std::size_t>(parkedFocusCell_)]->setFocus(Qt::OtherFocusReason);
        parkedFocusCell_ = -1;
    }
}

void PlayWindow::SyncLabels() {
    const auto& labels = model_.Labels();
    while (labels_.size() < labels.size()) {
        const FormLabel& m = labels[labels_.size()];
        auto* label = new FormLabelWidget(fraWork_);
        label->setObjectName(Q(m.name));
        label->setTextFormat(Qt::PlainText);
        if (m.role == LabelRole::Copyright) {
            // Shown only on paper; FitCopyright gives it its font then.
            label->setAlignment(Qt::AlignCenter);
            credit_ = label;
        } else if (m.role == LabelRole::Across || m.role == LabelRole::Down) {
            // Only the weight is the label's own: size and family follow fraWork's list font,
            // at every zoom.
            QFont bold;
            bold.setBold(true);
            label->setFont(bold);
        }
        label->hide();
        labels_.push_back(label);
        labelShown_.emplace_back();
    }
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        QLabel* w = labels_[i];
        LabelShown& s = labelShown_[i];
        if (i >= labels.size()) {
            if (s.visible.Update(false))
                w->hide();
            continue;
        }
        const FormLabel& m = labels[i];
        const bool copyright = m.role == LabelRole::Copyright;
        // A heading's caption is known when it is first placed and never changes; the credit line's
        // comes before a print, which fits the line to its row anyway.
        if (s.caption.Update(m.caption))
            w->setText(Q(m.caption));
        if (s.place.Update({m.left, m.top})) {
            if (copyright)
                w->setGeometry(Rect(m.left, m.top, config_.copyright.width, config_.copyright.height));
            else
                // A heading designed at the very top of fraWork (the Large form's ACROSS) would
                // cover the frame's border line; it sits just below it instead.
                w->setGeometry(
                    QRect(QPoint(Px(m.left), std::max(Px(m.top), FrameBox::kBorderWidth)), w->sizeHint()));
        }
        if (s.colors.Update({m.fore, m.back})) {
            Touch();
            w->setPalette(Palette(false, m.fore, m.back));
        }
        if (s.visible.Update(m.visible))
            w->setVisible(m.visible);
    }
}

void PlayWindow::SyncBoxes() {
    const auto& boxes = model_.Boxes();
    while (boxes_.size() < boxes.size()) {
        const int id = static_cast<int>(boxes_.size());
        auto* box = new ListCheckBox(fraWork_);
        box->setStyle(compactStyle_);
        box->hide();
        connect(box, &QAbstractButton::clicked, this, [this, id] { BoxClicked(id); });
        boxes_.push_back(box);
        boxShown_.emplace_back();
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        ListCheckBox* w = boxes_[i];
        BoxShown& s = boxShown_[i];
        if (i >= boxes.size()) {
            if (s.visible.Update(false))
                w->hide();
            continue;
        }
        const ListBox& m = boxes[i];
        if (s.index.Differs(m.index) || s.digits.Differs(m.digits) || !s.name.Known()) {
            const std::string name = m.Name();
            if (s.name.Update(name))
                w->setObjectName(Q(name));
            if (s.index.Update(m.index))
                w->setProperty("index", m.index);
            if (s.digits.Update(m.digits))
                s.place.Forget(); // the width goes with the digit count
        }
        if (s.caption.Update(m.caption)) {
            Touch();
            w->setText(Q(m.caption));
        }
        if (s.value.Update(m.value)) {
            Touch();
            w->setChecked(m.value != 0);
        }
        if (s.place.Update({m.left, m.top})) {
            const int digits = std::clamp(m.digits, 0, kLongest);
            w->setGeometry(
                Rect(m.left, m.top, config_.boxWidth[static_cast<std::size_t>(digits)], kBoxHeightTwips));
        }
        if (s.colors.Update({m.fore, m.back})) {
            Touch();
            w->setPalette(Palette(false, m.fore, m.back));
        }
        if (s.visible.Update(m.visible))
            w->setVisible(m.visible);
    }
}

void PlayWindow::SyncMenus() {
    for (ModelMenu& m : modelMenus_) {
        if (m.caption && m.captionShown.Update((model_.*m.caption)()))
            m.action->setText(Q((model_.*m.caption)()));
        if (m.enabled && m.enabledShown.Update((model_.*m.enabled)()))
            m.action->setEnabled((model_.*m.enabled)());
        if (m.visible && m.visibleShown.Update((model_.*m.visible)()))
            m.action->setVisible((model_.*m.visible)());
    }
}

void PlayWindow::Forward(const std::function<void()>& handler) {
    handler();
    Sync();
    GameChanged();
}

void PlayWindow::Resume(const PlayRecord& record) {
    model_.RestorePlay(record);
    Sync();
}

void PlayWindow::KeepGameIn(GameStore* store) {
    keeper_ = store != nullptr ? std::make_unique<GameKeeper>(model_, model_.Puzzle(), *store) : nullptr;
    GameChanged(true);
}

void PlayWindow::GameChanged(bool always, bool wait) {
    if (!keeper_)
        return;
    std::string message = keeper_->Changed(always);
    if (wait && message.empty())
        message = keeper_->Flush();
    if (!message.empty())
        dialogs_->MessageBox(message, version::Title, Buttons::Ok, Icon::Exclamation);
}

void PlayWindow::CellKeyDown(int cell, QKeyEvent* event) {
    const int pressed = VirtualKeyCode(*event);
    int code = pressed;
    int shift = ShiftState(event->modifiers());
    model_.txtGrid_KeyDown(cell, code, shift);
    if (code != 0) {
        const QString text = event->text();
        if (text.size() == 1 && text.at(0).unicode() < 128) {
            int ascii = text.at(0).unicode();
            model_.txtGrid_KeyPress(cell, ascii); // the model refuses it: no key types into a cell
        }
    }
    Sync();
    event->setAccepted(IsValidGridKey(pressed));
    GameChanged();
}

void PlayWindow::CellKeyUp(int cell, QKeyEvent* event) {
    if (event->isAutoRepeat())
        return; // taken, as it arrives: a held key is let go once
    const int pressed = VirtualKeyCode(*event);
    int code = pressed;
    int shift = ShiftState(event->modifiers());
    // Letting a key go changes nothing the window shows, so there is nothing to bring up to date.
    model_.txtGrid_KeyUp(cell, code, shift);
    event->setAccepted(IsValidGridKey(pressed));
}

void PlayWindow::CellMouseDown(int cell) {
    Forward([this, cell] { model_.txtGrid_MouseDown(cell); });
}

void PlayWindow::BoxClicked(int id) {
    Forward([this, id] { model_.BoxClick(id); });
}

void PlayWindow::ShowHelp() {
    Sync();
    if (showHelp_)
        showHelp_();
}

void PlayWindow::Unload() {
    close();
}

void PlayWindow::SetFocusCell(int cell) {
    if (cell < 0 || static_cast<std::size_t>(cell) >= cells_.size())
        return;
    CellEdit* edit = cells_[static_cast<std::size_t>(cell)];
    if (edit->focusPolicy() == Qt::NoFocus)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    // Zoomed beyond the screen, the arrow keys bring the cell they move to into view.
    scroll_->ensureWidgetVisible(edit);
}

// The credit line is one line below the grid and the lists, as designed; but in this font a long
// puzzle name runs past its designed width, and on a few templates a list reaches down into its
// row. So before each print it takes the free stretch of its row around its designed centre,
// clear of every control there and inside fraWork's border, as wide as the text needs, and the
// largest font up to the designed 9.75 pt in which the whole line fits that stretch.
void PlayWindow::FitCopyright() {
    if (credit_ == nullptr || credit_->isHidden())
        return;
    constexpr int kBorder = 4; // fraWork's etched lines and a little air
    constexpr int kGap = 6;    // between the line and a control beside it
    const TwipRect& d = config_.copyright;
    const QRect designed = Rect(d.left, d.top, d.width, d.height);
    const int centre = designed.center().x();

    // The free stretches of the row, from left to right; the one around the centre, else the
    // widest.
    std::vector<std::pair<int, int>> taken;
    for (QObject* child : fraWork_->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w == nullptr || w == credit_ || w->isHidden())
            continue;
        const QRect r = w->geometry();
        if (r.bottom() >= designed.top() && r.top() <= designed.bottom())
            taken.emplace_back(r.left() - kGap, r.right() + 1 + kGap);
    }
    std::sort(taken.begin(), taken.end());
    std::pair<int, int> best{0, 0};
    int from = kBorder;
    const int end = fraWork_->width() - kBorder;
    taken.emplace_back(end, end);
    for (const auto& [left, right] : taken) {
        const std::pair<int, int> stretch{from, std::min(left, end)};
        const bool aroundCentre = stretch.first <= centre && centre < stretch.second;
        if (aroundCentre || stretch.second - stretch.first > best.second - best.first) {
            best = stretch;
            if (aroundCentre)
                break;
        }
        from = std::max(from, right);
    }

    const int room = best.second - best.first;
    QFont font = copyrightFont_;
    for (int px = copyrightFont_.pixelSize(); px >= 8; --px) {
        font.setPixelSize(px);
        credit_->setFont(font);
        if (credit_->sizeHint().width() <= room)
            break;
    }
    const int width = std::min(room, std::max(designed.width(), credit_->sizeHint().width()));
    const int left = std::clamp(centre - width / 2, best.first, best.second - width);
    credit_->setGeometry(left, designed.top(), width, designed.height());
}

PrintResult PlayWindow::PrintWindow() {
    // The model has put the window into its print state; show it before it is photographed.
    Sync();
    FitCopyright();
    std::unique_ptr<QPrinter> printer = printerChooser_->ChoosePrinter(this);
    if (!printer)
        return {PrintResult::Outcome::Cancelled, {}};
    // The dialog may have repainted the window underneath; the picture is of the client area
    // (everything but the title and the menu bar), as the model left it.
    Sync();
    // The focus frame of a cell is the screen's business, not the paper's.
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && client_->isAncestorOf(focused))
        focused->clearFocus();
    // Paper shows the work area at 100 %, whatever the screen's zoom: the client area of the
    // window at 100 % and the size it opens with, photographed from the zoomed window.
    const int zoom = zoom_;
    if (zoom == 100) {
        lastPrinted_ = client_->grab().toImage();
    } else {
        ApplyZoom(100);
        FitCopyright();
        const QSize outer = FitSize(100) + (frameGeometry().size() - size());
        PlaceWork(outer);
        const int clientHeight = FitSize(100).height() - menuBar()->sizeHint().height();
        lastPrinted_ = client_->grab(QRect(0, 0, FitSize(100).width(), clientHeight)).toImage();
        ApplyZoom(zoom);
        PlaceWork();
    }
    if (focused)
        focused->setFocus();
    return PrintImage(lastPrinted_, *printer);
}

void PlayWindow::exec() {
    if (unloaded_)
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    loop_ = &loop;
    if (!unloaded_)
        loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
}

void PlayWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceWork();
}

// A close is never refused (a close event comes accepted): the game is kept at every change, so
// nothing needs asking.
void PlayWindow::closeEvent(QCloseEvent*) {
    unloaded_ = true;
    // The time spent changes without any input; the last of it is kept as the window goes.
    GameChanged(true, true);
    if (loop_)
        loop_->quit();
}

void PlayWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        model_.PauseClock();
        // The time so far is kept, in case the window is never shown again.
        GameChanged(true);
    } else {
        model_.ResumeClock();
    }
    SyncClock();
}

void PlayWindow::PlaceWork() {
    // The status bar is added below the work area, not centred around.
    PlaceWork(frameGeometry().size() - QSize(0, StatusBarHeight()));
}

void PlayWindow::PlaceWork(QSize outer) {
    if (!fraWork_)
        return;
    // The model centres fraWork from the window's outer size, in twips.
    const TwipPoint at =
        model_.Form_Resize(UnzoomedTwips(outer.width(), zoom_), UnzoomedTwips(outer.height(), zoom_));
    fraWork_->move(std::max(0, Px(at.left)), std::max(0, Px(at.top)));
    // Scroll bars only where fraWork itself does not fit: the window's own borders, which the
    // centring allows for, never bring them.
    client_->setMinimumSize(fraWork_->size());
}

} // namespace corvana
