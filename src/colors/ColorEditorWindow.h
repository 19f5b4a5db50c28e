#pragma once

// The colour editor window "Color Options". It holds no colour state of its own: it shows the
// ColorEditor model and passes clicks and menu commands to it.
//
// Use from the main window's "Colors" entry:
//     ColorEditorWindow editor(colors, exitRequested, dialogs, ColorFilePath(), this);
//     editor.exec();                                                      // modal
//     if (exitRequested) mnuExit_Click();
// `colors` is changed in place at once; `dialogs` provides the colour picker and the messages;
// `colorFilePath` is the colour file that Save, Restore Default Colors and Yes at the closing
// question write. Every way of closing (Return to Main, Exit, the title bar, Escape) goes
// through the closing question.

#include "colors/ColorEditor.h"

#include <QDialog>

#include <array>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;

namespace corvana {

class ColorEditorWindow : public QDialog {
public:
    ColorEditorWindow(ColorScheme& colors, bool& exitRequested, Dialogs& dialogs, std::string colorFilePath,
                      QWidget* parent = nullptr);

    ColorEditor& Model() { return model_; }

    // The controls by their given names and size class, for tests and accessibility checks
    // (std::out_of_range past the three frames).
    QWidget* SampleBox(ColorRow row, int index) const;
    QLabel* RowLabel(ColorRow row, int index) const;
    QGroupBox* Frame(int index) const;
    QLabel* Instructions() const { return lblInstructions_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    QAction* mnuDefault() const { return mnuDefault_; }
    QAction* mnuSave() const { return mnuSave_; }
    QAction* mnuReturn() const { return mnuReturn_; }
    QAction* mnuExit() const { return mnuExit_; }

    // Every close goes through the closing question; Cancel keeps the window open.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build();
    void ShowSamples();
    void Click(ColorRow row, int index);
    void CloseIfUnloaded();

    ColorEditor model_;
    bool activated_ = false;

    QMenuBar* menuBar_ = nullptr;
    QAction* mnuDefault_ = nullptr;
    QAction* mnuSave_ = nullptr;
    QAction* mnuReturn_ = nullptr;
    QAction* mnuExit_ = nullptr;
    std::array<QGroupBox*, 3> frames_{};
    std::array<std::array<QWidget*, 3>, 4> samples_{};
    std::array<std::array<QLabel*, 3>, 4> labels_{};
    QLabel* lblInstructions_ = nullptr;
};

} // namespace corvana
