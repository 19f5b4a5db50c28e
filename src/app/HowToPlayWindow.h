#pragma once

// The help window: four pages of instructions beside an example grid and number list that
// change with the page. The example is a picture only: it never takes the focus, keys or clicks.
// What the window shows is HowToPlayModel's.

#include "app/HowToPlayModel.h"

#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace corvana {

// A page selector: an option button drawn as a toggle button whose caption wraps onto two
// lines, so that the long captions fit their designed width.
class PageButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent* event) override;
};

// "<< Previous" and "Next >>": Return or Enter presses the button that has the focus, as Space
// does. They are never the window's default button, so Return elsewhere presses nothing.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class HowToPlayWindow : public QDialog {
public:
    explicit HowToPlayWindow(bool& exitRequested, QWidget* parent = nullptr);

    HowToPlayModel& Model() { return model_; }
    // The point size chosen so that every text of the window is shown whole.
    double TextPointSize() const;

private:
    void Run(const std::function<void()>& handler);
    void ShowModel();
    bool EverythingFits() const;

    HowToPlayModel model_;
    std::vector<PageButton*> optSelection_;
    std::vector<QGroupBox*> fraHowToPlay_;
    std::vector<QLabel*> pageLabels_;
    std::vector<QLineEdit*> txtGrid_;
    std::array<QCheckBox*, 6> checks_{};
    std::vector<QLabel*> headings_;
    QPushButton* cmdBack_ = nullptr;
    QPushButton* cmdForward_ = nullptr;
    QAction* mnuBuffer_ = nullptr;
};

} // namespace corvana
