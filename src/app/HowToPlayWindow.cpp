#include "app/HowToPlayWindow.h"

#include "ui/QtUtil.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvana {

namespace {
constexpr int kButtonPadding = 4;  // pixels between a page button's edge and its caption
constexpr int kClientWidth = 8052; // twips: the controls and a margin of 240 around them
constexpr int kClientHeight = 5892;
constexpr int kFrameWidth = 4212;
constexpr int kFrameHeight = 4812;
constexpr int kLabelLeft = 240;
constexpr int kLabelGap = 60; // twips kept free between a page's labels

// The example's frames are disabled, so it never reacts to keys or clicks; its controls keep
// the colours of an enabled control all the same.
void SetColors(QWidget* widget, QPalette::ColorRole role, ColorValue color) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, role, ToQColor(color));
    widget->setPalette(palette);
}
} // namespace

QSize PageButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const int available = std::max(1, width() - 2 * kButtonPadding);
    const QRect text =
        metrics.boundingRect(QRect(0, 0, available, 10000), Qt::AlignCenter | Qt::TextWordWrap, this->text());
    return QSize(text.width() + 2 * kButtonPadding, text.height() + 2 * kButtonPadding);
}

void PageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isChecked() ? (QStyle::State_On | QStyle::State_Sunken) : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    QFont font = this->font();
    font.setBold(isChecked());
    painter.setFont(font);
    painter.drawText(rect().adjusted(kButtonPadding, kButtonPadding, -kButtonPadding, -kButtonPadding),
                     Qt::AlignCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        click(); // the key event arrives accepted: not passing it on is enough
        return;
    }
    QPushButton::keyPressEvent(event);
}

HowToPlayWindow::HowToPlayWindow(bool& exitRequested, QWidget* parent)
    : QDialog(parent), model_(exitRequested) {
    setObjectName(QStringLiteral("frmHowToPlay"));
    setWindowTitle(QStringLiteral("How To Play"));

    auto* bar = new QMenuBar(this);
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    options->menuAction()->setObjectName(QStringLiteral("mnuOptions"));
    QAction* back = options->addAction(QStringLiteral("&Return"));
    back->setObjectName(QStringLiteral("mnuReturnToMain"));
    back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(back, &QAction::triggered, this, [this] { Run([this] { model_.mnuReturnToMain_Click(); }); });
    options->addSeparator()->setObjectName(QStringLiteral("mnuAbout"));
    QAction* exit = options->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exit, &QAction::triggered, this, [this] { Run([this] { model_.mnuExit_Click(); }); });
    mnuBuffer_ = bar->addAction(QStringLiteral("Buffer ="));
    mnuBuffer_->setObjectName(QStringLiteral("mnuBuffer"));

    auto* client = new QWidget(this);
    client->setFixedSize(TwipsRect(0, 0, kClientWidth, kClientHeight).size());
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, ToQColor(kHelpBackground));
    // White text in every colour group: the example's frames, which take no clicks, keep it.
    palette.setColor(QPalette::WindowText, Qt::white);
    client->setPalette(palette);
    client->setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const auto& pages = HelpPages();
    for (int k = 0; k < kHelpPages; ++k) {
        const HelpPage& page = pages[static_cast<std::size_t>(k)];
        auto* option = new PageButton(QString::fromStdString(page.selector), client);
        option->setObjectName(QStringLiteral("optSelection"));
        option->setProperty("Index", k);
        option->setGeometry(TwipsRect(page.selectorLeft, 120, page.selectorWidth, 492));
        // However the button comes to be selected (a click, the keyboard, a screen reader's
        // Toggle, which raises no click), its page is shown. Selecting the page's button from
        // the model below changes no page, so it runs nothing.
        connect(option, &QAbstractButton::toggled, this, [this, k](bool checked) {
            if (checked && model_.SelectedOption() != k)
                Run([this, k] { model_.optSelection_Click(k); });
        });
        optSelection_.push_back(option);
    }
    cmdBack_ = new CommandButton(QStringLiteral("<< Previous"), client);
    cmdBack_->setObjectName(QStringLiteral("cmdBack"));
    cmdBack_->setGeometry(TwipsRect(240, 120, 1212, 492));
    cmdBack_->setAutoDefault(false);
    connect(cmdBack_, &QPushButton::clicked, this, [this] { Run([this] { model_.cmdBack_Click(); }); });
    cmdForward_ = new CommandButton(QStringLiteral("Next >>"), client);
    cmdForward_->setObjectName(QStringLiteral("cmdForward"));
    cmdForward_->setGeometry(TwipsRect(6600, 120, 1212, 492));
    cmdForward_->setAutoDefault(false);
    connect(cmdForward_, &QPushButton::clicked, this, [this] { Run([this] { model_.cmdForward_Click(); }); });

    for (int k = 0; k < kHelpPages; ++k) {
        const HelpPage& page = pages[static_cast<std::size_t>(k)];
        auto* frame = new QGroupBox(QString::fromStdString(page.frameCaption), client);
        frame->setObjectName(QStringLiteral("fraHowToPlay"));
        frame->setProperty("Index", k);
        frame->setGeometry(TwipsRect(240, 840, kFrameWidth, kFrameHeight));
        for (std::size_t i = 0; i < page.labels.size(); ++i) {
            const HelpLabel& text = page.labels[i];
            // Each label has the room down to the next one, or to the frame's foot.
            const int bottom =
                i + 1 < page.labels.size() ? page.labels[i + 1].top - kLabelGap : kFrameHeight - 120;
            auto* label = new QLabel(QString::fromStdString(text.text), frame);
            label->setObjectName(QStringLiteral("lblPage%1Text%2").arg(k + 1).arg(i + 1));
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(
                TwipsRect(kLabelLeft, text.top, kFrameWidth - kLabelLeft - 120, bottom - text.top));
            pageLabels_.push_back(label);
        }
        fraHowToPlay_.push_back(frame);
    }

    auto* grid = new QGroupBox(QStringLiteral("User Grid"), client);
    grid->setObjectName(QStringLiteral("fraUserGrid"));
    grid->setGeometry(TwipsRect(4560, 840, 3252, 3372));
    grid->setEnabled(false);
    QFont cellFont = grid->font();
    cellFont.setPointSize(9);
    for (int i = 0; i < kHelpCells; ++i) {
        auto* cell = new QLineEdit(grid);
        cell->setObjectName(QStringLiteral("txtGrid"));
        cell->setProperty("Index", i);
        cell->setAccessibleName(
            QStringLiteral("Column %1 Row %2").arg(i % kHelpGridWidth + 1).arg(i / kHelpGridWidth + 1));
        cell->setGeometry(
            TwipsRect(120 + 300 * (i % kHelpGridWidth), 240 + 300 * (i / kHelpGridWidth), 252, 288));
        cell->setFrame(false);
        cell->setAlignment(Qt::AlignCenter);
        cell->setReadOnly(true);
        cell->setTextMargins(0, 0, 0, 0);
        cell->setFocusPolicy(Qt::NoFocus);
        cell->setFont(cellFont);
        txtGrid_.push_back(cell);
    }

    auto* list = new QGroupBox(client);
    list->setObjectName(QStringLiteral("Frame1"));
    list->setGeometry(TwipsRect(4560, 4200, 3252, 1452));
    list->setEnabled(false);
    SetColors(list, QPalette::Base, 0xFFFFFF);
    SetColors(list, QPalette::Text, 0x000000);
    auto* label5 = new QLabel(QStringLiteral("4 Digits:"), list);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->move(TwipsRect(120, 240, 1, 1).topLeft());
    auto* label6 = new QLabel(QStringLiteral("10 Digits"), list);
    label6->setObjectName(QStringLiteral("Label6"));
    label6->move(TwipsRect(1440, 240, 1, 1).topLeft());
    headings_ = {label5, label6};
    const auto& boxes = HelpExampleBoxes();
    for (std::size_t n = 0; n < boxes.size(); ++n) {
        const HelpExampleBox& box = boxes[n];
        auto* check = new QCheckBox(QString::fromStdString(box.caption), list);
        check->setObjectName(QString::fromStdString(box.name));
        check->setGeometry(TwipsRect(box.left, box.top, box.width, 240));
        check->setFocusPolicy(Qt::NoFocus);
        checks_[n] = check;
    }

    // One point size for the whole window: the largest at which every text is shown whole.
    for (double points : {9.0, 8.5, 8.0, 7.5, 7.0}) {
        QFont font = client->font();
        font.setPointSizeF(points);
        client->setFont(font);
        for (QLabel* heading : headings_)
            heading->adjustSize();
        if (EverythingFits())
            break;
    }
    // The style draws the grid's caption above its border line rather than across it, so the line
    // runs lower than the designed first row; the rows move down together to sit below it.
    const int below = std::max(0, grid->contentsRect().top() - txtGrid_.front()->y());
    for (QLineEdit* cell : txtGrid_)
        cell->move(cell->x(), cell->y() + below);

    model_.Form_Load();
    ShowModel();
}

double HowToPlayWindow::TextPointSize() const {
    return pageLabels_.front()->font().pointSizeF();
}

bool HowToPlayWindow::EverythingFits() const {
    for (const QLabel* label : pageLabels_) {
        if (!ShowsWholeText(*label))
            return false;
    }
    for (const PageButton* option : optSelection_) {
        if (!ShowsWholeText(*option))
            return false;
    }
    for (const QPushButton* button : {cmdBack_, cmdForward_}) {
        if (button->sizeHint().width() > button->width())
            return false;
    }
    // The check boxes stand closer together than their preferred height; only their width counts.
    for (const QCheckBox* check : checks_) {
        if (check->sizeHint().width() > check->width())
            return false;
    }
    return true;
}

void HowToPlayWindow::Run(const std::function<void()>& handler) {
    if (model_.Closed())
        return;
    handler();
    ShowModel();
    if (model_.Closed())
        accept();
}

void HowToPlayWindow::ShowModel() {
    for (int k = 0; k < kHelpPages; ++k) {
        fraHowToPlay_[static_cast<std::size_t>(k)]->setVisible(model_.PageVisible(k));
        optSelection_[static_cast<std::size_t>(k)]->setChecked(model_.SelectedOption() == k);
    }
    for (int i = 0; i < kHelpCells; ++i) {
        const HelpCell& cell = model_.Cell(i);
        QLineEdit* box = txtGrid_[static_cast<std::size_t>(i)];
        box->setText(QString::fromStdString(cell.text));
        SetColors(box, QPalette::Text, cell.fore);
        SetColors(box, QPalette::Base, cell.back);
    }
    for (int n = 1; n <= 6; ++n) {
        const HelpCheck& state = model_.Check(n);
        QCheckBox* check = checks_[static_cast<std::size_t>(n - 1)];
        check->setChecked(state.ticked);
        SetColors(check, QPalette::WindowText, state.fore);
    }
    mnuBuffer_->setText(QString::fromStdString(model_.BufferCaption()));
    cmdBack_->setEnabled(model_.BackEnabled());
    cmdForward_->setEnabled(model_.ForwardEnabled());
}

} // namespace corvana
