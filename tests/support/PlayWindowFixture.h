#pragma once

#include "FakeDialogs.h"
#include "play/PlayWindow.h"
#include "puzzle/Templates.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace corvana::test {

// A generated puzzle of the named template in a real play window, shown and active unless told
// otherwise, with its cells found by their index.
struct OpenWindow {
    explicit OpenWindow(const std::string& name, const ColorScheme& scheme, bool show = true)
        : colors(scheme) {
        puzzle.PuzzleName = name;
        EXPECT_TRUE(GeneratePuzzle(puzzle, dialogs, 5));
        window = std::make_unique<PlayWindow>(FormFor(FindTemplate(name)->size), puzzle, colors, dialogs,
                                              [this] { ++helpShown; });
        if (show) {
            window->show();
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
    }

    PlayForm& Model() { return window->Model(); }
    const FormConfig& Config() { return window->Model().Config(); }
    QLineEdit* Cell(int index) const {
        for (QLineEdit* cell : window->findChildren<QLineEdit*>(QStringLiteral("txtGrid")))
            if (cell->property("index").toInt() == index)
                return cell;
        return nullptr;
    }
    static std::size_t At(int i) { return static_cast<std::size_t>(i); }

    ColorScheme colors;
    PuzzleState puzzle;
    FakeDialogs dialogs;
    int helpShown = 0;
    std::unique_ptr<PlayWindow> window;
};

} // namespace corvana::test
