#include "app/CreditsWindow.h"

#include "app/Credits.h"
#include "app/Pictures.h"
#include "ui/QtUtil.h"

#include <QLabel>

namespace corvana {

namespace {
constexpr ColorValue kBackground = 0x00400000; // dark blue
constexpr double kTextPoints = 9.75;

QLabel* AddLabel(QWidget* parent, const char* name, const std::string& text, QRect geometry,
                 double points = kTextPoints) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}
} // namespace

CreditsWindow::CreditsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCredits"));
    setWindowTitle(QStringLiteral("Corvana Credits"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(kBackground));
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(TwipsRect(0, 0, 6285, 4290).size());

    // Form_Load: the texts of the version record.
    const CreditsTexts texts = Credits();
    AddLabel(this, "Label1", texts.title, TwipsRect(960, 240, 3852, 372), 12);
    AddLabel(this, "Label2", texts.version, TwipsRect(960, 600, 3852, 252));
    QLabel* description = AddLabel(this, "Label7", texts.description, TwipsRect(960, 1080, 3972, 732));
    QLabel* legal = AddLabel(this, "Label8", texts.legal, TwipsRect(960, 1800, 3492, 372));
    AddLabel(this, "Label3", texts.createdBy, TwipsRect(960, 2400, 1692, 252));
    AddLabel(this, "Label4", texts.author, TwipsRect(3120, 2400, 2292, 252));
    AddLabel(this, "Label5", texts.invitation, TwipsRect(240, 3120, 5775, 255));
    QLabel* site = AddLabel(this, "Label6", texts.site, TwipsRect(240, 3480, 5775, 255));
    QLabel* help = AddLabel(this, "Label9", texts.siteHelp, TwipsRect(240, 3840, 5775, 255));
    for (QLabel* address : {site, help}) {
        // The addresses can be selected and copied.
        address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    // Every text is shown whole whatever the font: the two longer ones wrap and may use the
    // empty room below them down to the next line of text; any text still too long for its
    // place gets a slightly smaller font.
    description->setWordWrap(true);
    legal->setWordWrap(true);
    for (QLabel* label : findChildren<QLabel*>()) {
        const int roomBelow = label == description ? TwipsRect(0, 1800, 1, 1).top() - 2
                              : label == legal     ? TwipsRect(0, 2400, 1, 1).top() - 2
                                                   : -1;
        FitLabel(*label, roomBelow);
    }

    auto* line = new QWidget(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(TwipsRect(240, 2880, 6000 - 240, 15));
    QPalette white = line->palette();
    white.setColor(QPalette::Window, Qt::white);
    line->setPalette(white);
    line->setAutoFillBackground(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setGeometry(TwipsRect(240, 240, 480, 480));
    icon->setPixmap(ProgramIconPixmap(32, devicePixelRatioF()));
    icon->setAccessibleName(QStringLiteral("Corvana"));
}

} // namespace corvana
