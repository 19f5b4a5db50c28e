#include "PuzzleBook.h"

#include "corvana/Version.h"
#include "puzzle/Templates.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvana {

namespace {

// The writer runs at 72 dpi, so one device unit is one point and a font's point size is its
// size on the page; every length below is in points.
constexpr int kDpi = 72;
constexpr qreal kMargin = 36;
constexpr qreal kHeaderGap = 12;
constexpr qreal kListGap = 14;   // between the grid and the lists
constexpr qreal kColumnGap = 18; // between two list columns
constexpr qreal kQuadrantGap = 22;
// The type sizes of the lists; see PlanPuzzlePage.
constexpr qreal kBaseListSize = 10;
constexpr qreal kLargestListSize = 13;
constexpr qreal kSmallestListSize = 7;
constexpr qreal kListStep = 0.5;
constexpr qreal kMinCell = 22;
// Cells larger than this make a Small grid crowd out its lists for no gain.
constexpr qreal kMaxCell = 46;
constexpr char kFamily[] = "DejaVu Sans";

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

QFont Font(qreal points, bool bold = false) {
    QFont f(QString::fromLatin1(kFamily));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// A QGuiApplication for the fonts, made here when the program has none and gone again when
// the book is written. Without a display the offscreen platform serves. Meanwhile Qt's notes
// about its own setup (no XDG_RUNTIME_DIR and the like) stay off the command line's stderr:
// the book reports its own failures, and only Qt's critical messages pass.
class GuiScope {
public:
    GuiScope() {
        if (QCoreApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        previous_ = qInstallMessageHandler(&Quiet);
        quieted_ = true;
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    ~GuiScope() {
        app_.reset();
        if (quieted_)
            qInstallMessageHandler(previous_);
    }
    GuiScope(const GuiScope&) = delete;
    GuiScope& operator=(const GuiScope&) = delete;

    bool Ready() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

private:
    static void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    }

    int argc_ = 1;
    char name_[12] = "corvana-gen";
    char* argv_[2] = {name_, nullptr};
    QtMessageHandler previous_ = nullptr;
    bool quieted_ = false;
    std::unique_ptr<QGuiApplication> app_;
};

// ---- The lists of one puzzle, flowed into columns --------------------------------------------

struct Group {
    int digits;
    const CaptionList* captions;
    int count;
};

struct Section {
    QString title; // empty for the one merged list of Small and Normal puzzles
    std::vector<Group> groups;
};

std::vector<Group> Groups(const ByDigits<NumberList>& numbers, const ByDigits<CaptionList>& captions) {
    std::vector<Group> groups;
    // The numbers give the list sizes; captions of unused lengths may be left from an earlier
    // puzzle.
    for (int n = kShortest; n <= kLongest; ++n) {
        const int count = static_cast<int>(std::min(numbers[At(n)].size(), captions[At(n)].size()));
        if (count > 0)
            groups.push_back({n, &captions[At(n)], count});
    }
    return groups;
}

std::vector<Section> Sections(const PuzzleState& s, const TemplateRecord& t) {
    if (!t.SeparateLists())
        return {{QString(), Groups(s.Numbers, s.Captions)}};
    return {{QStringLiteral("ACROSS"), Groups(s.Numbers, s.Captions)},
            {QStringLiteral("DOWN"), Groups(s.NumbersDown, s.CaptionsDown)}};
}

QString GroupHeading(int digits) {
    return QStringLiteral("%1 Digits").arg(digits);
}

struct ListStyle {
    QFont section, heading, entry;
    qreal line = 0;        // a heading or a row of numbers
    qreal sectionLine = 0; // ACROSS, DOWN
    qreal ascent = 0, sectionAscent = 0;
    qreal digit = 0; // every digit has this advance
    qreal gap = 0;   // between two numbers of one row
};

ListStyle MakeListStyle(qreal points, QPaintDevice* device) {
    ListStyle st;
    st.entry = Font(points);
    st.heading = Font(points, true);
    st.section = Font(points * 1.2, true);
    const QFontMetricsF entry(st.entry, device), section(st.section, device);
    st.line = entry.height() * 1.08;
    st.ascent = entry.ascent();
    st.sectionLine = section.height() * 1.1;
    st.sectionAscent = section.ascent();
    st.digit = entry.horizontalAdvance(QLatin1Char('0'));
    st.gap = st.digit * 1.3;
    return st;
}

qreal EntryWidth(const ListStyle& st, int digits) {
    return st.digit * digits;
}

// The narrowest column that shows every heading and at least one number per row.
qreal WidestItem(const std::vector<Section>& sections, const ListStyle& st, QPaintDevice* device) {
    const QFontMetricsF heading(st.heading, device), section(st.section, device);
    qreal widest = 0;
    for (const auto& sec : sections) {
        widest = std::max(widest, section.horizontalAdvance(sec.title));
        for (const auto& g : sec.groups)
            widest = std::max(
                {widest, heading.horizontalAdvance(GroupHeading(g.digits)), EntryWidth(st, g.digits)});
    }
    return widest;
}

struct Line {
    enum class Kind { Section, Heading, Row } kind;
    int section = 0, group = 0;
    int first = 0, count = 0; // the numbers of a row
    qreal height = 0;
    qreal spaceBefore = 0; // dropped at the top of a column
};

std::vector<Line> Lines(const std::vector<Section>& sections, const ListStyle& st, qreal columnWidth) {
    std::vector<Line> lines;
    for (int si = 0; si < static_cast<int>(sections.size()); ++si) {
        const Section& sec = sections[At(si)];
        if (sec.groups.empty())
            continue;
        if (!sec.title.isEmpty())
            lines.push_back(
                {Line::Kind::Section, si, 0, 0, 0, st.sectionLine, lines.empty() ? 0 : st.line * 0.9});
        for (int gi = 0; gi < static_cast<int>(sec.groups.size()); ++gi) {
            const Group& g = sec.groups[At(gi)];
            const bool afterTitle = !lines.empty() && lines.back().kind == Line::Kind::Section;
            lines.push_back({Line::Kind::Heading, si, gi, 0, 0, st.line,
                             lines.empty() || afterTitle ? 0 : st.line * 0.45});
            const int perRow = std::max(1, static_cast<int>(std::floor((columnWidth + st.gap) /
                                                                       (EntryWidth(st, g.digits) + st.gap))));
            for (int first = 0; first < g.count; first += perRow)
                lines.push_back(
                    {Line::Kind::Row, si, gi, first, std::min(perRow, g.count - first), st.line, 0});
        }
    }
    return lines;
}

struct Placed {
    int column = 0;
    qreal y = 0;
    bool repeatHeading = false; // a group goes on at the top of a column under its heading again
};

// Fills the columns from the left, each down to `height`. A group stays whole in one column when
// it fits in one; a taller one goes on in the next column under its heading again, and a
// heading or title never ends a column. None when the lines need more than `columns` columns.
std::optional<std::vector<Placed>> Flow(const std::vector<Line>& lines, qreal height, int columns) {
    constexpr qreal kSlack = 0.01;
    std::vector<Placed> placed(lines.size());
    const auto repeats = [&](std::size_t i, qreal top) {
        return top == 0 && lines[i].kind == Line::Kind::Row && lines[i].first > 0;
    };
    // Whether lines [i, end) fit when the first of them starts at `top`.
    const auto fits = [&](std::size_t i, std::size_t end, qreal top) {
        qreal y = top + (repeats(i, top) ? lines[i].height : 0);
        for (std::size_t j = i; j < end; ++j)
            y += (y > 0 ? lines[j].spaceBefore : 0) + lines[j].height;
        return y <= height + kSlack;
    };
    int column = 0;
    qreal y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A title or heading would rather share its column with its whole group, and must at
        // least with the first two rows of it.
        std::size_t whole = i + 1, least = i + 1;
        if (lines[i].kind != Line::Kind::Row) {
            const std::size_t heading = lines[i].kind == Line::Kind::Section ? i + 1 : i;
            whole = std::min(heading + 1, lines.size());
            while (whole < lines.size() && lines[whole].kind == Line::Kind::Row)
                ++whole;
            least = std::min(heading + 3, whole);
        }
        if (fits(i, whole, y)) {
        } else if (y > 0 && fits(i, whole, 0)) {
            if (++column >= columns)
                return std::nullopt;
            y = 0;
        } else if (!fits(i, least, y)) {
            if (y == 0 || ++column >= columns || !fits(i, least, 0))
                return std::nullopt;
            y = 0;
        }
        const bool repeat = repeats(i, y);
        if (repeat)
            y += lines[i].height;
        else if (y > 0)
            y += lines[i].spaceBefore;
        placed[i] = {column, y, repeat};
        y += lines[i].height;
    }
    return placed;
}

// The shortest columns that hold all the lines, at most `limit` high; none if `limit` is short.
std::optional<qreal> ShortestColumns(const std::vector<Line>& lines, int columns, qreal limit) {
    if (!Flow(lines, limit, columns))
        return std::nullopt;
    qreal low = 0, high = limit;
    while (high - low > 0.25) {
        const qreal mid = (low + high) / 2;
        (Flow(lines, mid, columns) ? high : low) = mid;
    }
    return high;
}

struct PuzzleLayout {
    QRectF grid;
    QPointF lists; // top left of the first column
    qreal columnWidth = 0;
    ListStyle style;
    std::vector<Line> lines;
    std::vector<Placed> placed;
};

struct Plan {
    qreal side = 0; // of the grid; 0 when the lists leave no room for one
    PuzzleLayout layout;
};

// The grid as large as fits in the upper part of `body` with the lists in `points` type, in
// columns either below it or beside it, whichever leaves the larger grid.
Plan PlanAtSize(const std::vector<Section>& sections, int width, const QRectF& body, QPaintDevice* device,
                qreal points) {
    Plan best;
    const ListStyle st = MakeListStyle(points, device);
    const qreal widest = WidestItem(sections, st, device);
    const qreal w = body.width(), h = body.height();
    const qreal largest = std::min(w, width * kMaxCell);
    const auto columnWidth = [&](qreal room, int columns) {
        return (room - (columns - 1) * kColumnGap) / columns;
    };
    const auto take = [&](qreal side, const QRectF& grid, QPointF lists, qreal cw, int columns,
                          std::vector<Line> lines, qreal height) {
        auto placed = *Flow(lines, height, columns);
        best = {side, {grid, lists, cw, st, std::move(lines), std::move(placed)}};
    };

    // Below: full-width columns under a centred grid.
    for (int columns = 1; columnWidth(w, columns) >= widest; ++columns) {
        const qreal cw = columnWidth(w, columns);
        auto lines = Lines(sections, st, cw);
        const auto height = ShortestColumns(lines, columns, h);
        if (!height)
            continue;
        const qreal side = std::min(largest, h - kListGap - *height);
        if (side > best.side) {
            const QRectF grid(body.left() + (w - side) / 2, body.top(), side, side);
            take(side, grid, QPointF(body.left(), grid.bottom() + kListGap), cw, columns, std::move(lines),
                 *height);
        }
    }

    // Beside: the grid at the top left, the columns to its right as high as the page.
    const auto besideColumns = [&](qreal side) -> int {
        const qreal room = w - side - kListGap;
        for (int columns = 1; columnWidth(room, columns) >= widest; ++columns)
            if (Flow(Lines(sections, st, columnWidth(room, columns)), h, columns))
                return columns;
        return 0;
    };
    qreal low = 0, high = std::min(largest, h);
    if (besideColumns(low) > 0) {
        while (high - low > 0.5) {
            const qreal mid = (low + high) / 2;
            (besideColumns(mid) > 0 ? low : high) = mid;
        }
        if (low > best.side) {
            const int columns = besideColumns(low);
            const qreal cw = columnWidth(w - low - kListGap, columns);
            auto lines = Lines(sections, st, cw);
            const qreal height = *ShortestColumns(lines, columns, h);
            take(low, QRectF(body.left(), body.top(), low, low),
                 QPointF(body.left() + low + kListGap, body.top()), cw, columns, std::move(lines), height);
        }
    }
    return best;
}

// The grid comes first: the lists are set in kBaseListSize type, in larger type while that
// costs the grid next to nothing, and in smaller type only while the cells would otherwise be
// smaller than kMinCell.
std::optional<PuzzleLayout> PlanPuzzlePage(const std::vector<Section>& sections, int width,
                                           const QRectF& body, QPaintDevice* device) {
    const qreal smallest = width * kMinCell;
    Plan plan = PlanAtSize(sections, width, body, device, kBaseListSize);
    if (plan.side >= smallest) {
        const qreal base = plan.side;
        for (qreal points = kBaseListSize + kListStep; points <= kLargestListSize; points += kListStep) {
            Plan larger = PlanAtSize(sections, width, body, device, points);
            if (larger.side < base * 0.97 || larger.side < smallest)
                break;
            plan = std::move(larger);
        }
    } else {
        for (qreal points = kBaseListSize - kListStep; points >= kSmallestListSize && plan.side < smallest;
             points -= kListStep)
            plan = PlanAtSize(sections, width, body, device, points);
    }
    if (plan.side <= 0)
        return std::nullopt;
    return std::move(plan.layout);
}

// ---- Drawing --------------------------------------------------------------------------------

// Black squares filled, the digits of `values` (-1 none) centred in their cells, thin lines.
void DrawGrid(QPainter& p, const QRectF& square, int width, const std::vector<bool>& white,
              const std::vector<std::int16_t>& values) {
    const auto edge = [&](qreal origin, int k) { return origin + square.width() * k / width; };
    p.setFont(Font(square.width() / width * 0.6));
    p.setPen(Qt::black);
    for (int row = 0; row < width; ++row)
        for (int col = 0; col < width; ++col) {
            const int cell = row * width + col;
            const QRectF r(QPointF(edge(square.left(), col), edge(square.top(), row)),
                           QPointF(edge(square.left(), col + 1), edge(square.top(), row + 1)));
            if (!white[At(cell)])
                p.fillRect(r, Qt::black);
            else if (values[At(cell)] >= 0)
                p.drawText(r, Qt::AlignCenter, QString::number(values[At(cell)]));
        }
    p.setPen(QPen(Qt::black, 0.5));
    for (int k = 1; k < width; ++k) {
        p.drawLine(QPointF(edge(square.left(), k), square.top()),
                   QPointF(edge(square.left(), k), square.bottom()));
        p.drawLine(QPointF(square.left(), edge(square.top(), k)),
                   QPointF(square.right(), edge(square.top(), k)));
    }
    p.setPen(QPen(Qt::black, 1.2));
    p.drawRect(square);
}

// A page title on the left, a note on the right on the same baseline and a rule below; returns
// the top of the page body.
qreal DrawHeader(QPainter& p, const QRectF& content, const QString& title, const QString& note) {
    const QFont big = Font(16, true), small = Font(10);
    const QFontMetricsF bigM(big, p.device()), smallM(small, p.device());
    const qreal baseline = content.top() + bigM.ascent();
    p.setPen(Qt::black);
    p.setFont(big);
    p.drawText(QPointF(content.left(), baseline), title);
    p.setFont(small);
    p.drawText(QPointF(content.right() - smallM.horizontalAdvance(note), baseline), note);
    const qreal rule = baseline + bigM.descent() + 3;
    p.setPen(QPen(Qt::black, 0.5));
    p.drawLine(QPointF(content.left(), rule), QPointF(content.right(), rule));
    return rule + kHeaderGap;
}

QString PuzzleTitle(int number) {
    return QStringLiteral("Puzzle %1").arg(number);
}

QString PuzzleNote(const PuzzleState& s) {
    QString note = Text(s.PuzzleName) + QStringLiteral("  \u00b7  seed ") + QString::number(s.Seed);
    if (s.ReducedNumbers)
        note += QStringLiteral("  \u00b7  digits 0 to 5");
    return note;
}

// False when the puzzle's lists cannot be fitted on the page at all.
bool DrawPuzzlePage(QPainter& p, const QRectF& content, const BookPuzzle& puzzle, const TemplateRecord& t) {
    const QRectF body(
        QPointF(content.left(), DrawHeader(p, content, PuzzleTitle(puzzle.number), PuzzleNote(puzzle.state))),
        content.bottomRight());
    const auto sections = Sections(puzzle.state, t);
    const auto planned = PlanPuzzlePage(sections, t.Width(), body, p.device());
    if (!planned)
        return false;
    const PuzzleLayout& layout = *planned;
    DrawGrid(p, layout.grid, t.Width(), puzzle.state.GridPattern, puzzle.state.UserArray);

    const ListStyle& st = layout.style;
    p.setPen(Qt::black);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const Line& line = layout.lines[i];
        const qreal x = layout.lists.x() + layout.placed[i].column * (layout.columnWidth + kColumnGap);
        const qreal y = layout.lists.y() + layout.placed[i].y;
        const Section& sec = sections[At(line.section)];
        switch (line.kind) {
        case Line::Kind::Section:
            p.setFont(st.section);
            p.drawText(QPointF(x, y + st.sectionAscent), sec.title);
            break;
        case Line::Kind::Heading:
            p.setFont(st.heading);
            p.drawText(QPointF(x, y + st.ascent), GroupHeading(sec.groups[At(line.group)].digits));
            break;
        case Line::Kind::Row: {
            const Group& g = sec.groups[At(line.group)];
            if (layout.placed[i].repeatHeading) {
                p.setFont(st.heading);
                p.drawText(QPointF(x, y - st.line + st.ascent), GroupHeading(g.digits));
            }
            p.setFont(st.entry);
            for (int k = 0; k < line.count; ++k)
                p.drawText(QPointF(x + k * (EntryWidth(st, g.digits) + st.gap), y + st.ascent),
                           Text((*g.captions)[At(line.first + k)]));
            break;
        }
        }
    }
    return true;
}

void DrawSolutionsPage(QPainter& p, const QRectF& content, const std::vector<BookPuzzle>& puzzles,
                       std::size_t first) {
    const std::size_t last = std::min(first + 4, puzzles.size()) - 1;
    const QString note =
        first == last
            ? PuzzleTitle(puzzles[first].number)
            : QStringLiteral("Puzzles %1 to %2").arg(puzzles[first].number).arg(puzzles[last].number);
    const QRectF body(QPointF(content.left(), DrawHeader(p, content, QStringLiteral("Solutions"), note)),
                      content.bottomRight());
    const QFont label = Font(11, true), name = Font(9);
    const QFontMetricsF labelM(label, p.device());
    const qreal qw = (body.width() - kQuadrantGap) / 2, qh = (body.height() - kQuadrantGap) / 2;
    const qreal labelHeight = labelM.height() + 4;
    const qreal side = std::min(qw, qh - labelHeight);
    for (std::size_t k = first; k <= last; ++k) {
        const BookPuzzle& puzzle = puzzles[k];
        const int width = FindTemplate(puzzle.state.PuzzleName)->Width();
        const std::size_t slot = k - first;
        // The second row follows the first closely rather than at half the page.
        const QRectF quadrant(body.left() + static_cast<qreal>(slot % 2) * (qw + kQuadrantGap),
                              body.top() +
                                  static_cast<qreal>(slot / 2) * (labelHeight + side + kQuadrantGap * 1.5),
                              qw, labelHeight + side);
        const QRectF grid(quadrant.left() + (qw - side) / 2, quadrant.top() + labelHeight, side, side);
        const QString title = PuzzleTitle(puzzle.number);
        p.setPen(Qt::black);
        p.setFont(label);
        p.drawText(QPointF(grid.left(), quadrant.top() + labelM.ascent()), title);
        p.setFont(name);
        p.drawText(
            QPointF(grid.left() + labelM.horizontalAdvance(title) + 8, quadrant.top() + labelM.ascent()),
            Text(puzzle.state.PuzzleName));
        DrawGrid(p, grid, width, puzzle.state.GridPattern, puzzle.state.SolutionArray);
    }
}

void DrawTitlePage(QPainter& p, const QRectF& content, const std::vector<BookPuzzle>& puzzles, int pages) {
    const int n = static_cast<int>(puzzles.size());
    const bool allUnique = std::all_of(puzzles.begin(), puzzles.end(),
                                       [](const BookPuzzle& b) { return b.state.Solutions == 1; });
    qreal y = content.top() + content.height() * 0.18;
    const auto paragraph = [&](const QFont& font, const QString& text, Qt::Alignment align, qreal after) {
        p.setFont(font);
        QRectF used;
        p.drawText(QRectF(content.left(), y, content.width(), content.bottom() - y),
                   int(align | Qt::AlignTop | Qt::TextWordWrap), text, &used);
        y = used.bottom() + after;
    };
    p.setPen(Qt::black);
    paragraph(Font(30, true), QStringLiteral("%1 Puzzle Book").arg(QString::fromLatin1(version::ProductName)),
              Qt::AlignHCenter, 10);
    paragraph(Font(13),
              (n == 1 ? QStringLiteral("1 number fill-in puzzle")
                      : QStringLiteral("%1 number fill-in puzzles").arg(n)) +
                  QStringLiteral(", with the solutions at the back"),
              Qt::AlignHCenter, 48);
    paragraph(Font(15, true), QStringLiteral("How to play"), Qt::AlignLeft, 8);
    QString rules = QStringLiteral(
        "Each puzzle is a square grid of white and black squares. Every run of white squares across "
        "or down holds one number, one digit to a square. All the numbers are listed with the grid, "
        "grouped by their number of digits; a number may begin with 0. Write each listed number into "
        "the grid once, so that where an across number crosses a down number they share the digit "
        "of that square. Large puzzles list their across and down numbers apart. The digits printed "
        "in a grid are given to start you off.");
    if (allUnique)
        rules += QStringLiteral(" Every puzzle has exactly one solution.");
    paragraph(Font(11.5), rules, Qt::AlignLeft, 14);
    QString contents;
    if (n > 0)
        contents = QStringLiteral("Puzzles: pages 2 to %1.  Solutions: pages %2 to %3.")
                       .arg(n + 1)
                       .arg(n + 2)
                       .arg(pages);
    paragraph(Font(11.5), contents, Qt::AlignLeft, 0);

    const QFont small = Font(8.5);
    p.setFont(small);
    p.drawText(QRectF(content.left(), content.bottom() - QFontMetricsF(small, p.device()).height(),
                      content.width(), QFontMetricsF(small, p.device()).height()),
               int(Qt::AlignHCenter | Qt::AlignBottom),
               QStringLiteral("Made with corvana-gen %1.%2.%3")
                   .arg(version::Major)
                   .arg(version::Minor)
                   .arg(version::Revision));
}

// ---- Checks and the file --------------------------------------------------------------------

std::optional<std::string> CheckPuzzle(const BookPuzzle& b) {
    const std::string which = "puzzle " + std::to_string(b.number);
    const TemplateRecord* t = FindTemplate(b.state.PuzzleName);
    if (t == nullptr)
        return which + " has no template named \"" + b.state.PuzzleName + "\"";
    const auto cells = At(t->Width() * t->Width());
    if (b.state.GridPattern.size() != cells || b.state.SolutionArray.size() != cells ||
        b.state.UserArray.size() != cells)
        return which + " (" + b.state.PuzzleName + ") is not a generated puzzle: its grids do not have " +
               std::to_string(cells) + " cells";
    return std::nullopt;
}

std::string Reason(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Writes `bytes` to a fresh temporary file beside `path` and renames it over `path`; every
// write is checked and the data is on disk before the rename, so a reader never sees half a
// book. On failure the temporary file is removed.
std::optional<std::string> WriteWhole(const std::string& path, const QByteArray& bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string cannot = "cannot write the puzzle book " + path;
    if (target.filename().empty() || target.filename() == "." || target.filename() == "..")
        return cannot + ": the name is a folder, not a file";
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Reason(cannot, errno);
    const auto fail = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return Reason(cannot, error);
    };
    const char* data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; a book is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail(errno);
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> WritePuzzleBook(const std::string& path, const std::vector<BookPuzzle>& puzzles,
                                           Paper paper, const std::function<void(int, int)>& progress) {
    for (const auto& b : puzzles)
        if (auto problem = CheckPuzzle(b))
            return problem;

    GuiScope gui;
    if (!gui.Ready())
        return std::string("the puzzle book needs a QGuiApplication, and this program runs without one");

    const int n = static_cast<int>(puzzles.size());
    const int total = 1 + n + (n + 3) / 4;
    int done = 0;
    const auto pageDone = [&] {
        if (progress)
            progress(++done, total);
    };

    // Qt's PDF writer does not report a failed write, so the book is made in memory and written
    // out by WriteWhole, which checks every byte.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            return std::string("cannot make the puzzle book in memory");
        QPdfWriter writer(&buffer);
        const QPageSize size(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
        writer.setResolution(kDpi);
        writer.setTitle(QStringLiteral("%1 Puzzle Book").arg(QString::fromLatin1(version::ProductName)));
        writer.setCreator(QStringLiteral("corvana-gen %1.%2.%3")
                              .arg(version::Major)
                              .arg(version::Minor)
                              .arg(version::Revision));
        const QSizeF points = size.size(QPageSize::Point);
        const QRectF content(kMargin, kMargin, points.width() - 2 * kMargin, points.height() - 2 * kMargin);

        QPainter painter;
        if (!painter.begin(&writer))
            return std::string("cannot start drawing the puzzle book");
        painter.setRenderHint(QPainter::Antialiasing);
        const auto nextPage = [&] {
            pageDone();
            return writer.newPage();
        };
        DrawTitlePage(painter, content, puzzles, total);
        for (const auto& b : puzzles) {
            if (!nextPage())
                return std::string("cannot add a page to the puzzle book");
            if (!DrawPuzzlePage(painter, content, b, *FindTemplate(b.state.PuzzleName)))
                return "puzzle " + std::to_string(b.number) + " has more numbers than fit on a page";
        }
        for (std::size_t first = 0; first < puzzles.size(); first += 4) {
            if (!nextPage())
                return std::string("cannot add a page to the puzzle book");
            DrawSolutionsPage(painter, content, puzzles, first);
        }
        if (!painter.end())
            return std::string("cannot finish drawing the puzzle book");
        pageDone();
    }
    return WriteWhole(path, bytes);
}

} // namespace corvana
