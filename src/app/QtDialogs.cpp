#include "app/QtDialogs.h"

#include "ui/QtUtil.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace corvana {

namespace {

QWidget* DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QMessageBox::Icon ToQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// While a dialog is up the user must see the normal pointer over it, even when the program is
// busy behind it; the busy pointer comes back when the dialog closes.
class NormalPointer {
public:
    explicit NormalPointer(bool busy) : busy_(busy) {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    ~NormalPointer() {
        if (busy_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    bool busy_;
};

} // namespace

QtDialogs::~QtDialogs() {
    if (busy_)
        QApplication::restoreOverrideCursor();
}

Answer QtDialogs::MessageBox(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    NormalPointer pointer(busy_);
    QMessageBox box(DialogParent());
    box.setWindowTitle(QString::fromStdString(title));
    // Texts are shown as written: never as rich text, and a CR LF is one line break.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setIcon(ToQtIcon(icon));

    // Escape answers No, or Cancel where there is one: Qt makes that button the escape button.
    QMessageBox::StandardButton first = QMessageBox::Ok;
    Answer dismissed = Answer::Ok; // the answer when the box is closed without a button
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        first = QMessageBox::Yes;
        dismissed = Answer::No;
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        first = QMessageBox::Yes;
        dismissed = Answer::Cancel;
        break;
    }
    // As on the desktop the program was made for, Enter chooses the first button.
    box.setDefaultButton(first);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return dismissed;
    switch (box.standardButton(clicked)) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return dismissed;
    }
}

ColorValue QtDialogs::PickColor(ColorValue initial) {
    NormalPointer pointer(busy_);
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), DialogParent());
    return chosen.isValid() ? ToColorValue(chosen) : initial;
}

std::string QtDialogs::ChooseSaveFile(const std::string& title, const std::string& suggested) {
    NormalPointer pointer(busy_);
    // The platform's own dialog asks before replacing a file.
    return QFileDialog::getSaveFileName(DialogParent(), QString::fromStdString(title),
                                        QString::fromStdString(suggested),
                                        QStringLiteral("CSV files (*.csv);;All files (*)"))
        .toStdString();
}

void QtDialogs::SetBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace corvana
