#pragma once

// Printing a play window: the printer choice (the dialog seam's Qt side) and putting the
// window's picture on the page.

#include "play/PlayForm.h"

#include <QImage>

#include <memory>

class QPrinter;
class QWidget;

namespace corvana {

// Asks the user for a printer. The program shows QPrintDialog; tests hand back a PDF printer
// writing to a temporary file, or nothing for a cancel.
class PrinterChooser {
public:
    virtual ~PrinterChooser() = default;
    // nullptr when the user cancelled.
    virtual std::unique_ptr<QPrinter> ChoosePrinter(QWidget* parent) = 0;
};

class QtPrinterChooser : public PrinterChooser {
public:
    std::unique_ptr<QPrinter> ChoosePrinter(QWidget* parent) override;
};

// Prints `image` on `printer`, scaled to fit the printable page without distortion.
// A printer that cannot start (no printer, an output file that cannot be written) is a Failed
// result with a description the user can act on. A file is written whole or not at all: a
// write that fails (a full disk) is a Failed result too, and leaves no file behind.
PrintResult PrintImage(const QImage& image, QPrinter& printer);

} // namespace corvana
