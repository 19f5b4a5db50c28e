#include "colors/ColorEditorWindow.h"

#include "core/Twips.h"
#include "ui/QtUtil.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <utility>

namespace corvana {

namespace {

constexpr ColorValue kFormBackground = 0x400000; // dark blue
constexpr ColorValue kCaptionColor = kWhite;

// Designed positions, in twips.
constexpr int kFrameLeft[] = {120, 2760, 5400};
constexpr int kFrameTop = 120;
constexpr int kFrameWidth = 2532;
constexpr int kFrameHeight = 2535;
constexpr int kLabelLeft = 240;
constexpr int kLabelTop[] = {360, 900, 1440, 1920};
constexpr int kSampleLeft = 1560;
constexpr int kSampleTop[] = {240, 840, 1380, 1920};
constexpr int kSampleWidth = 492;
constexpr int kSampleHeight = 372;
constexpr TwipRect kInstructions = {120, 2760, 7815, 2415};
constexpr int kFormMargin = 120;

QRect ToPixels(const TwipRect& r) {
    return TwipsRect(r.left, r.top, r.width, r.height);
}

void SetColors(QWidget* w, ColorValue background, ColorValue text, bool fill) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ToQColor(background));
    p.setColor(QPalette::WindowText, ToQColor(text));
    w->setPalette(p);
    w->setAutoFillBackground(fill);
}

std::size_t At(ColorRow row) {
    return static_cast<std::size_t>(row);
}
std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

// Turns a widget into one that reports a left click (press and release inside it), as the
// colour samples and their row labels both do.
template <typename Base> class Clickable : public Base {
public:
    template <typename... Args>
    explicit Clickable(std::function<void()> onClick, Args&&... args)
        : Base(std::forward<Args>(args)...), onClick_(std::move(onClick)) {
        this->setCursor(Qt::PointingHandCursor);
    }

protected:
    void Click() { onClick_(); }
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = e->button() == Qt::LeftButton;
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool click =
            pressed_ && e->button() == Qt::LeftButton && this->rect().contains(e->position().toPoint());
        pressed_ = false;
        e->accept();
        if (click)
            onClick_();
    }

private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

using ClickLabel = Clickable<QLabel>;

// A picture box that shows one colour. It reacts to a click like the label of its row, and to
// Space or Enter when it has the keyboard focus, so every colour can be changed without a mouse.
class ColorSample : public Clickable<QFrame> {
public:
    ColorSample(std::function<void()> onClick, QWidget* parent)
        : Clickable<QFrame>(std::move(onClick), parent) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
        setAutoFillBackground(true);
        setFocusPolicy(Qt::StrongFocus);
    }

    void SetColor(ColorValue value) {
        QPalette p = palette();
        p.setColor(QPalette::Window, ToQColor(value));
        setPalette(p);
        update();
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            e->accept();
            Click();
            return;
        }
        QFrame::keyPressEvent(e);
    }
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        // A widget that takes the focus is repainted whenever it gains or loses it.
        if (!hasFocus())
            return;
        // A focus ring that shows on any sample colour: white and black dashes.
        QPainter painter(this);
        const QRect r = rect().adjusted(2, 2, -3, -3);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(r);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(r);
    }
};

const char* SampleName(ColorRow row) {
    static constexpr const char* kNames[] = {"picBG", "picPrimary", "picSecondary", "picChecked"};
    return kNames[At(row)];
}

const char* LabelName(ColorRow row) {
    static constexpr const char* kNames[] = {"lblBG", "lblPrimary", "lblSecondary", "lblChecked"};
    return kNames[At(row)];
}

} // namespace

ColorEditorWindow::ColorEditorWindow(ColorScheme& colors, bool& exitRequested, Dialogs& dialogs,
                                     std::string colorFilePath, QWidget* parent)
    : QDialog(parent), model_(colors, exitRequested, dialogs, std::move(colorFilePath)) {
    Build();
    model_.Form_Load();
    ShowSamples();
}

void ColorEditorWindow::Build() {
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QString::fromUtf8(colortexts::kCaption));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The menu bar keeps the platform's colours; the client area below it is dark blue.
    menuBar_ = new QMenuBar(this);
    QMenu* options = menuBar_->addMenu(QString::fromUtf8(colortexts::kOptionsMenu));
    options->setObjectName(QStringLiteral("mnuOptions"));
    auto addItem = [&](const char* name, const char* caption, Qt::Key key, std::function<void()> handler) {
        QAction* a = options->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcut(QKeySequence(Qt::CTRL | key));
        connect(a, &QAction::triggered, this, std::move(handler));
        return a;
    };
    mnuDefault_ = addItem("mnuDefault", colortexts::kDefaultMenu, Qt::Key_Z, [this] {
        model_.mnuDefault_Click();
        ShowSamples();
    });
    mnuSave_ = addItem("mnuSave", colortexts::kSaveMenu, Qt::Key_S, [this] { model_.mnuSave_Click(); });
    options->addSeparator()->setObjectName(QStringLiteral("mnuLine"));
    mnuReturn_ = addItem("mnuReturn", colortexts::kReturnMenu, Qt::Key_R, [this] {
        model_.mnuReturn_Click();
        CloseIfUnloaded();
    });
    mnuExit_ = addItem("mnuExit", colortexts::kExitMenu, Qt::Key_X, [this] {
        model_.mnuExit_Click();
        CloseIfUnloaded();
    });
    layout->setMenuBar(menuBar_);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    SetColors(client, kFormBackground, kCaptionColor, true);
    layout->addWidget(client);

    for (int k = 0; k < 3; ++k) {
        auto* frame = new QGroupBox(QString::fromUtf8(colortexts::kFrameCaptions[k]), client);
        frame->setObjectName(QStringLiteral("fra%1").arg(k == 0 ? "Small" : k == 1 ? "Normal" : "Large"));
        frame->setGeometry(ToPixels({kFrameLeft[k], kFrameTop, kFrameWidth, kFrameHeight}));
        SetColors(frame, kFormBackground, kCaptionColor, true);
        frames_[At(k)] = frame;
        // The style draws the caption above the border line rather than across it, so the line
        // runs lower than the designed rows expect; they all move down just enough for the top
        // sample box to sit clear of it, keeping their spacing (there is room at the foot).
        const int below = std::max(0, frame->contentsRect().top() - TwipsToPixels(kSampleTop[0]));

        for (const ColorRow row : kColorRows) {
            const int r = static_cast<int>(row);
            const QString rowCaption = QString::fromUtf8(colortexts::kRowCaptions[r]);

            auto* label = new ClickLabel([this, row, k] { Click(row, k); }, rowCaption, frame);
            label->setObjectName(QString::fromUtf8(LabelName(row)));
            const int labelRight = kSampleLeft - 60;
            const int labelHeight = kSampleHeight;
            QRect lr = ToPixels({kLabelLeft, kLabelTop[r], labelRight - kLabelLeft, labelHeight})
                           .translated(0, below);
            // Grow the label to its text if the font asks for it, never into the sample box.
            lr.setHeight(std::max(lr.height(), label->sizeHint().height()));
            label->setGeometry(lr);
            labels_[At(row)][At(k)] = label;

            auto* sample = new ColorSample([this, row, k] { Click(row, k); }, frame);
            sample->setObjectName(QString::fromUtf8(SampleName(row)));
            sample->setGeometry(
                ToPixels({kSampleLeft, kSampleTop[r], kSampleWidth, kSampleHeight}).translated(0, below));
            sample->setToolTip(QString::fromUtf8(colortexts::kSampleToolTip));
            sample->setAccessibleName(QString::fromUtf8(colortexts::kFrameCaptions[k]) + QLatin1Char(' ') +
                                      rowCaption);
            sample->setAccessibleDescription(QString::fromUtf8(colortexts::kSampleToolTip));
            samples_[At(row)][At(k)] = sample;
            label->setBuddy(sample);
        }
    }

    lblInstructions_ = new QLabel(client);
    lblInstructions_->setObjectName(QStringLiteral("lblInstructions"));
    // The label shows line breaks as LF; CR would show as a stray mark in some fonts.
    lblInstructions_->setText(
        QString::fromStdString(InstructionsText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    lblInstructions_->setTextFormat(Qt::PlainText);
    lblInstructions_->setWordWrap(true);
    lblInstructions_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetColors(lblInstructions_, kFormBackground, kCaptionColor, true);
    QRect ir = ToPixels(kInstructions);
    // The designed box was made for a smaller font; give the text all the height it needs.
    ir.setHeight(std::max(ir.height(), lblInstructions_->heightForWidth(ir.width())));
    lblInstructions_->setGeometry(ir);

    const int clientWidth = TwipsToPixels(kInstructions.left + kInstructions.width + kFormMargin);
    const int clientHeight = ir.bottom() + 1 + TwipsToPixels(kFormMargin);
    client->setFixedSize(clientWidth, clientHeight);
    // Tab follows the order the sample boxes were made in: frame by frame, row by row (the
    // labels take no focus).
}

void ColorEditorWindow::ShowSamples() {
    for (const ColorRow row : kColorRows)
        for (int k = 0; k < 3; ++k)
            static_cast<ColorSample*>(samples_[At(row)][At(k)])->SetColor(model_.Sample(row, k));
}

void ColorEditorWindow::Click(ColorRow row, int index) {
    model_.ClickRow(row, index);
    ShowSamples();
}

void ColorEditorWindow::CloseIfUnloaded() {
    if (model_.Unloaded())
        QDialog::reject();
}

void ColorEditorWindow::reject() {
    if (model_.Unload())
        QDialog::reject();
}

void ColorEditorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        model_.Form_Activate();
    }
}

QWidget* ColorEditorWindow::SampleBox(ColorRow row, int index) const {
    return samples_.at(At(row)).at(At(index));
}

QLabel* ColorEditorWindow::RowLabel(ColorRow row, int index) const {
    return labels_.at(At(row)).at(At(index));
}

QGroupBox* ColorEditorWindow::Frame(int index) const {
    return frames_.at(At(index));
}

} // namespace corvana
