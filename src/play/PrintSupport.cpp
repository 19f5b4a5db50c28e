#include "play/PrintSupport.h"

#include "files/FileAccess.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <cstring>

namespace corvana {

std::unique_ptr<QPrinter> QtPrinterChooser::ChoosePrinter(QWidget* parent) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

namespace {

// A printer that writes a file (a PDF printer, or any printer told to print to a file).
bool PrintsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

// Why a printer's output file cannot be written, or an empty text when it can. The file is
// written beside its target first, so the folder must be writable too.
QString OutputFileProblem(const QPrinter& printer) {
    const QString path = printer.outputFileName();
    if (path.isEmpty())
        return QStringLiteral("No output file was chosen.");
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("%1 is a folder, not a file.").arg(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("The folder %1 does not exist.").arg(folder.absoluteFilePath());
    if ((file.exists() && !file.isWritable()) || !folder.isWritable())
        return QStringLiteral("%1 cannot be written.").arg(path);
    return {};
}

// Puts the image at the top of the painter's page, centred and as large as fits.
void DrawPage(QPainter& painter, const QImage& image) {
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(page.x() + (page.width() - size.width()) / 2, page.y()), size), image);
}

PrintResult Failed(const QString& why) {
    return {PrintResult::Outcome::Failed, why.toStdString()};
}

// Qt's PDF engine reports no failed write: on a full disk it leaves a cut-off file that no reader
// opens, and says nothing. So the page is made in memory with the printer's page settings and
// written like every other file the program writes (WriteFileAtomically's way): under a fresh
// name beside the target, taking its place only when every byte is on the disk. On any failure
// nothing is left, and a file that was there before stays as it was. A link named as the output
// leads to the file written; anything but a regular file there is refused.
PrintResult PrintToFile(const QImage& image, const QPrinter& printer) {
    const QString path = printer.outputFileName();
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setPageLayout(printer.pageLayout());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        QPainter painter;
        if (!painter.begin(&writer))
            return Failed(QStringLiteral("The page for %1 could not be started.").arg(path));
        DrawPage(painter, image);
        if (!painter.end())
            return Failed(QStringLiteral("The page for %1 could not be finished.").arg(path));
    }

    std::string file;
    std::string error;
    AtomicFileWriter out;
    if (!OutputFile(path.toStdString(), file, error) || !out.Open(file, FileMode::Usual, error))
        return Failed(QStringLiteral("%1 cannot be written: %2").arg(path, QString::fromStdString(error)));
    out.Write(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    if (!out.Commit(error)) {
        // A write or the flush that fails (no space left, a size limit) tells why in the system's words.
        if (out.WriteError() != 0)
            error = std::strerror(out.WriteError());
        return {PrintResult::Outcome::Failed,
                QStringLiteral("%1 could not be written whole: %2")
                    .arg(path, QString::fromLocal8Bit(error.c_str()))
                    .toStdString(),
                out.ErrorNumber()};
    }
    return {PrintResult::Outcome::Printed, ""};
}

} // namespace

PrintResult PrintImage(const QImage& image, QPrinter& printer) {
    if (PrintsToFile(printer)) {
        const QString problem = OutputFileProblem(printer);
        return problem.isEmpty() ? PrintToFile(image, printer) : Failed(problem);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return Failed(QStringLiteral("The printer %1 could not start printing.").arg(printer.printerName()));
    DrawPage(painter, image);
    if (!painter.end())
        return Failed(QStringLiteral("The page could not be finished."));
    return {PrintResult::Outcome::Printed, ""};
}

} // namespace corvana
