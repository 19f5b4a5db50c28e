#include "app/BestTimesWindow.h"

#include "app/BestTimes.h"

#include <QApplication>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace corvana {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidget* AddTable(QWidget* parent, QVBoxLayout* layout, const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setTextFormat(Qt::PlainText);
    // Zoomed on a small screen a caption wraps rather than widen the window past the screen.
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromUtf8(name));
    // The caption names the table for a screen reader, which then reads each cell with its header.
    table->setAccessibleName(label->text().remove(QLatin1Char('&')));
    label->setBuddy(table);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table for the next control; the arrows move within it.
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(label);
    layout->addWidget(table, 1);
    return table;
}

QPushButton* AddButton(QWidget* parent, QHBoxLayout* row, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

BestTimesWindow::BestTimesWindow(RecordsBook& book, Dialogs& dialogs, int zoom, QWidget* parent)
    : QDialog(parent), book_(book), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmBestTimes"));
    setWindowTitle(QString::fromUtf8(kBestTimesTitle));
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * std::clamp(zoom, 100, 300) / 100.0);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    empty_ = new QLabel(QString::fromUtf8(kNoRecordsText), this);
    empty_->setObjectName(QStringLiteral("lblNoRecords"));
    empty_->setWordWrap(true);
    layout->addWidget(empty_);
    best_ = AddTable(this, layout, "tblBestTimes", "&Best times of games solved without help");
    statistics_ = AddTable(this, layout, "tblStatistics", "&Games per puzzle");

    auto* buttons = new QHBoxLayout;
    QPushButton* reset = AddButton(this, buttons, "cmdReset", "&Reset");
    QPushButton* exportButton = AddButton(this, buttons, "cmdExport", "&Export...");
    buttons->addStretch(1);
    QPushButton* close = AddButton(this, buttons, "cmdClose", "Close");
    close->setDefault(true);
    layout->addLayout(buttons);

    connect(reset, &QPushButton::clicked, this, [this] {
        if (cmdReset_Click(book_, dialogs_))
            Refresh();
    });
    connect(exportButton, &QPushButton::clicked, this, [this] { cmdExport_Click(book_, dialogs_); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    Refresh();
    // Wide enough for every column whole, as far as the screen allows; the tables scroll beyond.
    int wanted = 0;
    for (QTableWidget* table : {best_, statistics_}) {
        // Measured unstretched: the last column would otherwise take whatever room there is. The
        // columns size themselves to their contents (their resize mode) when the length is asked.
        table->horizontalHeader()->setStretchLastSection(false);
        wanted = std::max(wanted, 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width() +
                                      table->horizontalHeader()->length());
        table->horizontalHeader()->setStretchLastSection(true); // then it takes the room left
    }
    const QMargins margins = layout->contentsMargins();
    wanted += margins.left() + margins.right();
    const QScreen* screen = QApplication::primaryScreen();
    const int room = screen != nullptr ? screen->availableGeometry().width() * 9 / 10 : wanted;
    resize(std::min(wanted, room), sizeHint().height() + fontMetrics().height() * 8);
}

void BestTimesWindow::Refresh() {
    const Records& records = book_.Data();
    Fill(*best_, BestTimesTable(records));
    Fill(*statistics_, StatisticsTable(records));
    empty_->setVisible(records.Empty());
}

// Every row is as wide as the headers, so setting each item replaces all that was shown.
void BestTimesWindow::Fill(QTableWidget& widget, const TextTable& table) {
    widget.setColumnCount(static_cast<int>(table.headers.size()));
    QStringList headers;
    for (const std::string& header : table.headers)
        headers << Q(header);
    widget.setHorizontalHeaderLabels(headers);
    widget.setRowCount(static_cast<int>(table.rows.size()));
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (std::size_t c = 0; c < table.rows[r].size(); ++c)
            widget.setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(Q(table.rows[r][c])));
}

} // namespace corvana
