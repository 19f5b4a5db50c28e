#pragma once

// The printable puzzle book: a title page with the rules, one puzzle to a page, then the
// solutions four to a page, as one PDF. Pages are drawn as the puzzles arrive, and only what the
// solution pages need is kept, so a book of any length takes the same memory. Drawn with Qt's
// PDF writer, so only built with the GUI on; CORVANA_GEN_PDF is defined where it is available.

#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

enum class Paper { A4, Letter };

// Everything about the book that is known before its first page.
struct BookSettings {
    Paper paper = Paper::A4;
    int count = 0;                                // puzzles in the book
    std::vector<const TemplateRecord*> templates; // the templates its puzzles are made from
    bool starterShown = true;                     // the starting numbers are printed in the grids
    bool checked = true;                          // every build was checked for one solution
    bool unique = false; // every puzzle is known to have one solution as given out, mirrored grid or not
    // What a puzzle maker puts on the title page; an empty field takes the program's own.
    std::string title, author, copyright;
    // The creation date in the file, in seconds since 1970 (UTC); the same settings and puzzles
    // then give the same bytes.
    std::int64_t date = 0;
    // Hears (pages done, pages total) after each page; may be empty.
    std::function<void(int, int)> progress;
};

// A book being written: Begin, then Add for puzzles 1 to count in order, then Finish. Text needs
// a QGuiApplication; when there is none, one lives as long as the book on the `offscreen`
// platform (unless QT_QPA_PLATFORM names another), so no display is needed. Use it from the main
// thread. Every failure is one line saying what went wrong; after one, the book is dead.
class PuzzleBook {
public:
    // Takes the bytes of the PDF in order; false when they could not be written.
    using Sink = std::function<bool(const char*, std::size_t)>;

    explicit PuzzleBook(BookSettings settings);
    ~PuzzleBook();
    PuzzleBook(const PuzzleBook&) = delete;
    PuzzleBook& operator=(const PuzzleBook&) = delete;

    // 1 + count + ceil(count / 4).
    int Pages() const;

    std::optional<std::string> Begin(Sink sink);
    // A generated puzzle, as GeneratePuzzle left it; `grade` (may be empty) goes in its header.
    std::optional<std::string> Add(const PuzzleState& puzzle, const std::string& grade = {});
    std::optional<std::string> Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace corvana
