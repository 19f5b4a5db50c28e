#include "play/PrintSupport.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace corvana {

std::unique_ptr<QPrinter> QtPrinterChooser::ChoosePrinter(QWidget* parent) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

namespace {

// Why a PDF printer's output file cannot be written, or an empty text when it can.
QString OutputFileProblem(const QPrinter& printer) {
    const QString path = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat)
        return {};
    if (path.isEmpty())
        return QStringLiteral("No output file was chosen.");
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("%1 is a folder, not a file.").arg(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("The folder %1 does not exist.").arg(folder.absoluteFilePath());
    if (file.exists() ? !file.isWritable() : !folder.isWritable())
        return QStringLiteral("%1 cannot be written.").arg(path);
    return {};
}

} // namespace

PrintResult PrintImage(const QImage& image, QPrinter& printer) {
    const QString problem = OutputFileProblem(printer);
    if (!problem.isEmpty())
        return {PrintResult::Outcome::Failed, problem.toStdString()};
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        return {PrintResult::Outcome::Failed,
                QStringLiteral("The printer %1 could not start printing.").arg(where).toStdString()};
    }
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(page.x() + (page.width() - size.width()) / 2, page.y()), size), image);
    if (!painter.end())
        return {PrintResult::Outcome::Failed, "The page could not be finished."};
    return {PrintResult::Outcome::Printed, ""};
}

} // namespace corvana
