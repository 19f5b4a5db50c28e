#pragma once

// The Best Times window: the best times of every kind of puzzle solved so far and the games of
// each template, as two tables a screen reader reads with their headers; Reset and Export... act
// through the dialog seam (BestTimes.h), so nothing here blocks a test.

#include "play/Records.h"
#include "seam/Dialogs.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace corvana {

struct TextTable;

class BestTimesWindow : public QDialog {
public:
    // `zoom` (percent) scales the text as the play windows' zoom level does.
    BestTimesWindow(RecordsBook& book, Dialogs& dialogs, int zoom = 100, QWidget* parent = nullptr);

    // Shows the records as they are now.
    void Refresh();

private:
    static void Fill(QTableWidget& widget, const TextTable& table);

    RecordsBook& book_;
    Dialogs& dialogs_;
    QTableWidget* best_ = nullptr;
    QTableWidget* statistics_ = nullptr;
    QLabel* empty_ = nullptr;
};

} // namespace corvana
