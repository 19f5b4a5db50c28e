#include "print/PuzzleBook.h"

#include "print/GridPainter.h"
#include "print/ListFlow.h"

#include "corvana/Version.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHashSeed>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QString>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace corvana {

namespace {

// The writer runs at 72 dpi, so one device unit is one point and a font's point size is its
// size on the page; every length below is in points.
constexpr int kDpi = 72;
constexpr qreal kMargin = 36;
constexpr qreal kHeaderGap = 12;
constexpr qreal kFooterGap = 10; // between the page body and the page number
constexpr qreal kListGap = 14;   // between the grid and the lists
constexpr qreal kColumnGap = 18; // between two list columns
constexpr qreal kQuadrantGap = 22;
// The type sizes of the lists; see PlanPuzzlePage.
constexpr qreal kBaseListSize = 10;
constexpr qreal kLargestListSize = 13;
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

std::vector<ListLine> Lines(const std::vector<Section>& sections, const ListStyle& st, qreal columnWidth) {
    std::vector<ListLine> lines;
    for (int si = 0; si < static_cast<int>(sections.size()); ++si) {
        const Section& sec = sections[At(si)];
        if (sec.groups.empty())
            continue;
        // The space before a line is dropped at the top of a column, the first line's included.
        if (!sec.title.isEmpty())
            lines.push_back({ListLine::Kind::Section, si, 0, 0, 0, st.sectionLine, st.line * 0.9});
        for (int gi = 0; gi < static_cast<int>(sec.groups.size()); ++gi) {
            const Group& g = sec.groups[At(gi)];
            const bool afterTitle = !lines.empty() && lines.back().kind == ListLine::Kind::Section;
            lines.push_back(
                {ListLine::Kind::Heading, si, gi, 0, 0, st.line, afterTitle ? 0 : st.line * 0.45});
            const int perRow = std::max(1, static_cast<int>(std::floor((columnWidth + st.gap) /
                                                                       (EntryWidth(st, g.digits) + st.gap))));
            for (int first = 0; first < g.count; first += perRow)
                lines.push_back(
                    {ListLine::Kind::Row, si, gi, first, std::min(perRow, g.count - first), st.line, 0});
        }
    }
    return lines;
}

struct PuzzleLayout {
    QRectF grid;
    QPointF lists; // top left of the first column
    qreal columnWidth = 0;
    ListStyle style;
    std::vector<ListLine> lines;
    std::vector<PlacedLine> placed;
};

struct Plan {
    qreal side = 0; // of the grid; 0 when the lists leave no room for one
    PuzzleLayout layout;
};

// The grid as large as fits in the upper part of `body` with the lists in `points` type, in
// columns below it. (Columns beside the grid never leave a larger one on a portrait page: the
// lists' lines are short and many, and a column as high as the page is narrowed by the grid.)
Plan PlanAtSize(const std::vector<Section>& sections, int width, const QRectF& body, QPaintDevice* device,
                qreal points) {
    Plan best;
    const ListStyle st = MakeListStyle(points, device);
    const qreal widest = WidestItem(sections, st, device);
    const qreal w = body.width(), h = body.height();
    const qreal largest = std::min(w, width * kMaxCell);
    const auto columnWidth = [&](int columns) { return (w - (columns - 1) * kColumnGap) / columns; };
    for (int columns = 1; columnWidth(columns) >= widest; ++columns) {
        const qreal cw = columnWidth(columns);
        auto lines = Lines(sections, st, cw);
        const auto height = ShortestColumns(lines, columns, h);
        if (!height)
            continue;
        // The grid centred above full-width columns.
        const qreal side = std::min(largest, h - kListGap - *height);
        if (side > best.side) {
            const QRectF grid(body.left() + (w - side) / 2, body.top(), side, side);
            auto placed = *FlowColumns(lines, *height, columns);
            best = {side,
                    {grid, QPointF(body.left(), grid.bottom() + kListGap), cw, st, std::move(lines),
                     std::move(placed)}};
        }
    }
    return best;
}

// The grid comes first: the lists are set in kBaseListSize type, and in larger type while that
// costs the grid next to nothing and keeps its cells at least kMinCell. (In kBaseListSize type
// every template's lists leave its cells that size on both papers.)
std::optional<PuzzleLayout> PlanPuzzlePage(const std::vector<Section>& sections, int width,
                                           const QRectF& body, QPaintDevice* device) {
    const qreal smallest = width * kMinCell;
    Plan plan = PlanAtSize(sections, width, body, device, kBaseListSize);
    const qreal base = plan.side;
    for (qreal points = kBaseListSize + kListStep; points <= kLargestListSize; points += kListStep) {
        Plan larger = PlanAtSize(sections, width, body, device, points);
        if (larger.side < base * 0.97 || larger.side < smallest)
            break;
        plan = std::move(larger);
    }
    if (plan.side <= 0)
        return std::nullopt;
    return std::move(plan.layout);
}

// ---- Drawing --------------------------------------------------------------------------------

// One character per cell, row by row: '#' a black square, '.' an empty one, else its digit.
std::string Cells(const PuzzleState& s, const std::vector<std::int16_t>& values) {
    std::string cells(s.GridPattern.size(), '.');
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells.at(i) = !s.GridPattern[i] ? '#' : values.at(i) < 0 ? '.' : static_cast<char>('0' + values[i]);
    return cells;
}

void DrawGrid(QPainter& p, const QRectF& square, int width, const std::string& cells) {
    GridLook look;
    look.font = Font(10);
    PaintGrid(p, square, width, cells, look);
}

// A page title on the left, a note on the right on the same baseline and a rule below; returns
// the top of the page body. A note too long for the room beside the title (a 20-digit seed and
// every remark at once) is set smaller rather than over the title: step by step, measured at each
// size, since a font's width does not shrink in proportion to its size.
qreal DrawHeader(QPainter& p, const QRectF& content, const QString& title, const QString& note) {
    const QFont big = Font(16, true);
    const QFontMetricsF bigM(big, p.device());
    const qreal room = content.width() - bigM.horizontalAdvance(title) - 12;
    QFont small = Font(10);
    for (qreal points = 10; QFontMetricsF(small, p.device()).horizontalAdvance(note) > room && points > 4;)
        small = Font(points *= 0.97);
    const QFontMetricsF smallM(small, p.device());
    const qreal baseline = content.top() + bigM.ascent();
    p.setFont(big);
    p.drawText(QPointF(content.left(), baseline), title);
    p.setFont(small);
    p.drawText(QPointF(content.right() - smallM.horizontalAdvance(note), baseline), note);
    const qreal rule = baseline + bigM.descent() + 3;
    p.setPen(QPen(Qt::black, 0.5));
    p.drawLine(QPointF(content.left(), rule), QPointF(content.right(), rule));
    return rule + kHeaderGap;
}

QFont FooterFont() {
    return Font(9);
}

// The page number centred at the foot of the page and `left` (may be empty) at its left; returns
// the bottom of the page body.
qreal DrawFooter(QPainter& p, const QRectF& content, int page, const QString& left) {
    const QFontMetricsF m(FooterFont(), p.device());
    const qreal baseline = content.bottom() - m.descent();
    p.setFont(FooterFont());
    const QString number = QString::number(page);
    p.drawText(QPointF(content.center().x() - m.horizontalAdvance(number) / 2, baseline), number);
    p.drawText(QPointF(content.left(), baseline), left);
    return content.bottom() - m.height() - kFooterGap;
}

QString PuzzleTitle(int number) {
    return QStringLiteral("Puzzle %1").arg(number);
}

QString PuzzleNote(const PuzzleState& s, const std::string& grade) {
    QString note = Text(s.PuzzleName) + QStringLiteral("  \u00b7  seed ") + QString::number(s.Seed);
    if (s.ReducedNumbers)
        note += QStringLiteral("  \u00b7  digits 0 to 5");
    if (s.Solutions != 1)
        note += QStringLiteral("  \u00b7  two solutions");
    if (!grade.empty())
        note += QStringLiteral("  \u00b7  ") + Text(grade);
    return note;
}

// The caption of the starting number in its list (the first of equal ones, as the play window
// ticks it), or none when the starting number is not shown.
std::optional<std::pair<int, int>> StarterEntry(const PuzzleState& s) {
    if (s.NoShowFirst)
        return std::nullopt;
    std::string digits;
    for (int cell = s.StarterFirstCell; cell <= s.StarterLastCell; ++cell)
        digits += static_cast<char>('0' + s.SolutionArray[At(cell)]);
    const int n = static_cast<int>(digits.size());
    if (n < kShortest || n > kLongest)
        return std::nullopt;
    const auto& captions = s.Captions[At(n)];
    const auto found = std::find(captions.begin(), captions.end(), digits);
    if (found == captions.end())
        return std::nullopt;
    return std::make_pair(n, static_cast<int>(found - captions.begin()));
}

// False when the puzzle's lists cannot be fitted on the page at all.
bool DrawPuzzlePage(QPainter& p, const QRectF& content, int number, int solutionPage, const PuzzleState& s,
                    const TemplateRecord& t, const std::string& grade) {
    const qreal bottom =
        DrawFooter(p, content, number + 1, QStringLiteral("Solution on page %1").arg(solutionPage));
    const QRectF body(
        QPointF(content.left(), DrawHeader(p, content, PuzzleTitle(number), PuzzleNote(s, grade))),
        QPointF(content.right(), bottom));
    const auto sections = Sections(s, t);
    const auto planned = PlanPuzzlePage(sections, t.Width(), body, p.device());
    if (!planned)
        return false;
    const PuzzleLayout& layout = *planned;
    DrawGrid(p, layout.grid, t.Width(), Cells(s, s.UserArray));

    // The starting number is ticked off in the first list (ACROSS on a Large puzzle).
    const auto starter = StarterEntry(s);
    const ListStyle& st = layout.style;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const ListLine& line = layout.lines[i];
        const qreal x = layout.lists.x() + layout.placed[i].column * (layout.columnWidth + kColumnGap);
        const qreal y = layout.lists.y() + layout.placed[i].y;
        const Section& sec = sections[At(line.section)];
        switch (line.kind) {
        case ListLine::Kind::Section:
            p.setFont(st.section);
            p.drawText(QPointF(x, y + st.sectionAscent), sec.title);
            break;
        case ListLine::Kind::Heading:
            p.setFont(st.heading);
            p.drawText(QPointF(x, y + st.ascent), GroupHeading(sec.groups[At(line.group)].digits));
            break;
        case ListLine::Kind::Row: {
            const Group& g = sec.groups[At(line.group)];
            if (layout.placed[i].repeatHeading) {
                p.setFont(st.heading);
                p.drawText(QPointF(x, y - st.line + st.ascent), GroupHeading(g.digits));
            }
            p.setFont(st.entry);
            for (int k = 0; k < line.count; ++k) {
                const qreal left = x + k * (EntryWidth(st, g.digits) + st.gap);
                p.drawText(QPointF(left, y + st.ascent), Text((*g.captions)[At(line.first + k)]));
                if (starter && line.section == 0 && starter->first == g.digits &&
                    starter->second == line.first + k) {
                    const qreal middle = y + st.ascent * 0.62;
                    p.setPen(QPen(Qt::black, std::max<qreal>(0.8, st.entry.pointSizeF() / 12)));
                    p.drawLine(QPointF(left - st.digit * 0.25, middle),
                               QPointF(left + EntryWidth(st, g.digits) + st.digit * 0.25, middle));
                }
            }
            break;
        }
        }
    }
    return true;
}

// What the solution pages need of a puzzle.
struct Kept {
    int number = 0;
    std::string name;
    int width = 0;
    std::string cells; // the solution, as Cells writes it
};

void DrawSolutionsPage(QPainter& p, const QRectF& content, int page, const std::vector<Kept>& kept,
                       std::size_t first) {
    const std::size_t last = std::min(first + 4, kept.size()) - 1;
    const QString note =
        first == last ? PuzzleTitle(kept[first].number)
                      : QStringLiteral("Puzzles %1 to %2").arg(kept[first].number).arg(kept[last].number);
    const qreal bottom = DrawFooter(p, content, page, QString());
    const QRectF body(QPointF(content.left(), DrawHeader(p, content, QStringLiteral("Solutions"), note)),
                      QPointF(content.right(), bottom));
    const QFont label = Font(11, true), name = Font(9);
    const QFontMetricsF labelM(label, p.device());
    // Both papers are portrait: a quadrant's width decides the side of its grid.
    const qreal side = (body.width() - kQuadrantGap) / 2;
    const qreal labelHeight = labelM.height() + 4;
    for (std::size_t k = first; k <= last; ++k) {
        const Kept& puzzle = kept[k];
        const std::size_t slot = k - first;
        // The label's top left; the second row follows the first closely rather than at half the page.
        const QPointF at(body.left() + static_cast<qreal>(slot % 2) * (side + kQuadrantGap),
                         body.top() +
                             static_cast<qreal>(slot / 2) * (labelHeight + side + kQuadrantGap * 1.5));
        const QRectF grid(at.x(), at.y() + labelHeight, side, side);
        const QString title = PuzzleTitle(puzzle.number);
        p.setFont(label);
        p.drawText(QPointF(at.x(), at.y() + labelM.ascent()), title);
        p.setFont(name);
        p.drawText(QPointF(at.x() + labelM.horizontalAdvance(title) + 8, at.y() + labelM.ascent()),
                   Text(puzzle.name));
        DrawGrid(p, grid, puzzle.width, puzzle.cells);
    }
}

// A template whose grid reads the same mirrored across its main diagonal, with one list for
// across and down: without a digit given, both readings fit.
bool Mirrors(const TemplateRecord& t) {
    if (t.SeparateLists())
        return false;
    for (std::size_t r = 0; r < t.picture.size(); ++r)
        for (std::size_t c = 0; c < t.picture.size(); ++c)
            if (t.picture[r][c] != t.picture[c][r])
                return false;
    return true;
}

QString RulesText(const BookSettings& book) {
    QString rules = QStringLiteral(
        "Each puzzle is a square grid of white and black squares. Every run of white squares across "
        "or down holds one number, one digit to a square. All the numbers are listed with the grid, "
        "grouped by their number of digits; a number may begin with 0. Write each listed number into "
        "the grid once, so that where an across number crosses a down number they share the digit "
        "of that square. Large puzzles list their across and down numbers apart.");
    if (book.starterShown)
        rules += QStringLiteral(" The digits printed in a grid are the starting number, given to start you "
                                "off; it is struck off in its list.");
    else
        rules += QStringLiteral(" No digit is given: the first number to place is yours to find.");
    if (!book.checked && !book.unique)
        return rules;
    const auto mirrors = std::count_if(book.templates.begin(), book.templates.end(),
                                       [](const TemplateRecord* t) { return Mirrors(*t); });
    if (book.starterShown || book.unique || mirrors == 0)
        rules += book.count == 1 ? QStringLiteral(" The puzzle has exactly one solution.")
                                 : QStringLiteral(" Every puzzle has exactly one solution.");
    else if (mirrors == static_cast<std::ptrdiff_t>(book.templates.size()))
        rules += QStringLiteral(" Every grid here reads the same mirrored across its diagonal from top left "
                                "to bottom right, so two solutions fit, each the mirror image of the "
                                "other: either is right.");
    else
        rules +=
            QStringLiteral(" Every puzzle has exactly one solution, except on a grid that reads the same "
                           "mirrored across its diagonal from top left to bottom right: there two "
                           "solutions fit, each the mirror image of the other, and either is right.");
    return rules;
}

QString ContentsText(int count, int pages) {
    if (count == 1)
        return QStringLiteral("Puzzle: page 2.  Solution: page 3.");
    const QString solutions = pages == count + 2
                                  ? QStringLiteral("Solutions: page %1.").arg(pages)
                                  : QStringLiteral("Solutions: pages %1 to %2.").arg(count + 2).arg(pages);
    return QStringLiteral("Puzzles: pages 2 to %1.  ").arg(count + 1) + solutions;
}

QString BookTitle(const BookSettings& book) {
    return book.title.empty()
               ? QStringLiteral("%1 Puzzle Book").arg(QString::fromLatin1(version::ProductName))
               : Text(book.title);
}

QString MadeWith() {
    return QStringLiteral("corvana-gen %1.%2.%3")
        .arg(version::Major)
        .arg(version::Minor)
        .arg(version::Revision);
}

void DrawTitlePage(QPainter& p, const QRectF& content, const BookSettings& book, int pages) {
    const int n = book.count;
    qreal y = content.top() + content.height() * 0.18;
    const auto paragraph = [&](const QFont& font, const QString& text, Qt::Alignment align, qreal after) {
        p.setFont(font);
        QRectF used;
        p.drawText(QRectF(content.left(), y, content.width(), content.bottom() - y),
                   int(align | Qt::AlignTop | Qt::TextWordWrap), text, &used);
        y = used.bottom() + after;
    };
    paragraph(Font(30, true), BookTitle(book), Qt::AlignHCenter, 10);
    if (!book.author.empty())
        paragraph(Font(15), QStringLiteral("by ") + Text(book.author), Qt::AlignHCenter, 10);
    paragraph(Font(13),
              (n == 1 ? QStringLiteral("1 number fill-in puzzle")
                      : QStringLiteral("%1 number fill-in puzzles").arg(n)) +
                  (n == 1 ? QStringLiteral(", with its solution at the back")
                          : QStringLiteral(", with the solutions at the back")),
              Qt::AlignHCenter, 48);
    paragraph(Font(15, true), QStringLiteral("How to play"), Qt::AlignLeft, 8);
    paragraph(Font(11.5), RulesText(book), Qt::AlignLeft, 14);
    if (n > 0)
        paragraph(Font(11.5), ContentsText(n, pages), Qt::AlignLeft, 0);

    const QFont small = Font(8.5);
    const qreal line = QFontMetricsF(small, p.device()).height();
    p.setFont(small);
    QString foot = QStringLiteral("Made with ") + MadeWith();
    if (!book.copyright.empty())
        foot = Text(book.copyright) + QLatin1Char('\n') + foot;
    const qreal lines = book.copyright.empty() ? 1 : 2;
    p.drawText(QRectF(content.left(), content.bottom() - lines * line, content.width(), lines * line),
               int(Qt::AlignHCenter | Qt::AlignBottom), foot);
}

// ---- The file -------------------------------------------------------------------------------

// "D:YYYYMMDDHHmmSSZ", the PDF form of a UTC time.
QByteArray PdfDate(std::int64_t seconds) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    return QByteArrayLiteral("D:") + at.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + 'Z';
}

// Hands the PDF writer's bytes to the sink, with the creation date Qt stamps in the document
// information (the clock's) replaced by the book's own, so that the same book gives the same
// bytes. Qt writes that information first and counts its own offsets, so the date keeps its
// length: a longer local-time form is padded with spaces after the closing parenthesis.
class PdfStream : public QIODevice {
public:
    PdfStream(PuzzleBook::Sink sink, QByteArray date) : sink_(std::move(sink)), date_(std::move(date)) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool Failed() const { return failed_; }
    // Whatever is still held back goes out; false when anything could not be written.
    bool Flush() {
        if (!head_.isEmpty())
            Pass(head_.constData(), head_.size());
        head_.clear();
        dated_ = true;
        return !failed_;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (dated_) {
            Pass(data, size);
        } else {
            head_.append(data, size);
            Stamp();
        }
        return failed_ ? -1 : size;
    }

private:
    void Pass(const char* data, qint64 size) {
        if (!failed_ && size > 0 && !sink_(data, static_cast<std::size_t>(size)))
            failed_ = true;
    }
    void Stamp() {
        static const QByteArray key = QByteArrayLiteral("/CreationDate (");
        const auto at = head_.indexOf(key);
        const auto close = at < 0 ? -1 : head_.indexOf(')', at + key.size());
        if (close < 0) {
            if (head_.size() > 65536) // no date where Qt puts it: leave the bytes as they are
                Flush();
            return;
        }
        const auto start = at + key.size();
        const auto length = close - start;
        if (length >= date_.size()) {
            QByteArray stamped = date_ + ')' + QByteArray(length - date_.size(), ' ');
            head_.replace(start, length + 1, stamped);
        }
        Flush();
    }

    PuzzleBook::Sink sink_;
    QByteArray date_;
    QByteArray head_;
    bool dated_ = false;
    bool failed_ = false;
};

} // namespace

struct PuzzleBook::Impl {
    BookSettings settings;
    int pages = 0;
    int done = 0;
    bool dead = false;
    std::unique_ptr<GuiScope> gui;
    std::unique_ptr<PdfStream> stream;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    QRectF content;
    std::vector<Kept> kept;

    std::optional<std::string> Fail(std::string why) {
        dead = true;
        if (painter.isActive())
            painter.end();
        return why;
    }
    void PageDone() {
        ++done;
        if (settings.progress)
            settings.progress(done, pages);
    }
    bool NextPage() {
        PageDone();
        return writer->newPage() && !stream->Failed();
    }
    std::optional<std::string> WriteFailed() { return Fail("cannot write the puzzle book"); }
};

PuzzleBook::PuzzleBook(BookSettings settings) : d_(std::make_unique<Impl>()) {
    d_->settings = std::move(settings);
    const int n = std::max(0, d_->settings.count);
    d_->pages = 1 + n + (n + 3) / 4;
}

// An unfinished book's painter ends before its writer goes: it is declared after it.
PuzzleBook::~PuzzleBook() = default;

int PuzzleBook::Pages() const {
    return d_->pages;
}

std::optional<std::string> PuzzleBook::Begin(Sink sink) {
    Impl& d = *d_;
    d.gui = std::make_unique<GuiScope>();
    if (!d.gui->Ready())
        return d.Fail("the puzzle book needs a QGuiApplication, and this program runs without one");
    // Qt keeps the book's fonts in a hash; a fixed seed gives them the same order in every run.
    QHashSeed::setDeterministicGlobalSeed();
    d.stream = std::make_unique<PdfStream>(std::move(sink), PdfDate(d.settings.date));
    d.writer = std::make_unique<QPdfWriter>(d.stream.get());
    const QPageSize size(d.settings.paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter);
    d.writer->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
    d.writer->setResolution(kDpi);
    d.writer->setTitle(BookTitle(d.settings));
    d.writer->setCreator(MadeWith());
    const QSizeF points = size.size(QPageSize::Point);
    d.content = QRectF(kMargin, kMargin, points.width() - 2 * kMargin, points.height() - 2 * kMargin);
    // Qt stamps the clock's local time in the document when drawing begins; in UTC that stamp has
    // the length of the book's own date on every machine, so PdfStream needs no padding.
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "UTC0");
    ::tzset();
    const bool began = d.painter.begin(d.writer.get());
    if (hadZone)
        qputenv("TZ", zone);
    else
        qunsetenv("TZ");
    ::tzset();
    if (!began)
        return d.Fail("cannot start drawing the puzzle book");
    d.painter.setRenderHint(QPainter::Antialiasing);
    DrawTitlePage(d.painter, d.content, d.settings, d.pages);
    if (d.stream->Failed())
        return d.WriteFailed();
    return std::nullopt;
}

std::optional<std::string> PuzzleBook::Add(const PuzzleState& puzzle, const std::string& grade) {
    Impl& d = *d_;
    const int number = static_cast<int>(d.kept.size()) + 1;
    const std::string which = "puzzle " + std::to_string(number);
    if (d.dead || !d.painter.isActive() || number > d.settings.count)
        return d.Fail(which + " does not belong in this book");
    const TemplateRecord* t = FindTemplate(puzzle.PuzzleName);
    if (t == nullptr)
        return d.Fail(which + " has no template named \"" + puzzle.PuzzleName + "\"");
    const auto cells = At(t->Width() * t->Width());
    if (puzzle.GridPattern.size() != cells || puzzle.SolutionArray.size() != cells ||
        puzzle.UserArray.size() != cells)
        return d.Fail(which + " (" + puzzle.PuzzleName +
                      ") is not a generated puzzle: its grids do not have " + std::to_string(cells) +
                      " cells");
    if (!d.NextPage())
        return d.WriteFailed();
    const int solutionPage = 1 + d.settings.count + 1 + (number - 1) / 4;
    if (!DrawPuzzlePage(d.painter, d.content, number, solutionPage, puzzle, *t, grade))
        return d.Fail(which + " has more numbers than fit on a page");
    d.kept.push_back({number, puzzle.PuzzleName, t->Width(), Cells(puzzle, puzzle.SolutionArray)});
    return std::nullopt;
}

std::optional<std::string> PuzzleBook::Finish() {
    Impl& d = *d_;
    if (d.dead || !d.painter.isActive())
        return d.Fail("the puzzle book was not begun");
    if (static_cast<int>(d.kept.size()) != d.settings.count)
        return d.Fail("the puzzle book has " + std::to_string(d.kept.size()) + " of its " +
                      std::to_string(d.settings.count) + " puzzles");
    int page = d.settings.count + 2;
    for (std::size_t first = 0; first < d.kept.size(); first += 4, ++page) {
        if (!d.NextPage())
            return d.WriteFailed();
        DrawSolutionsPage(d.painter, d.content, page, d.kept, first);
    }
    if (!d.painter.end())
        return d.Fail("cannot finish drawing the puzzle book");
    d.PageDone();
    if (!d.stream->Flush())
        return d.WriteFailed();
    d.dead = true;
    return std::nullopt;
}

} // namespace corvana
