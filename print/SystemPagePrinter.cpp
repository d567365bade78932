// Printing pages on the system's default printer through Qt Print Support.
#include "SystemPagePrinter.h"

#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>

SystemPagePrinter::SystemPagePrinter(QString jobName) : jobName_(std::move(jobName)) {}

bool SystemPagePrinter::printPage(const QImage &page, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return fail(QStringLiteral("There is no default printer. Nothing was printed."));
    QPrinter printer(info, QPrinter::HighResolution);
    // A QPrinter without a usable device quietly becomes a PDF writer with no file name;
    // then nothing would reach paper while the painting still "succeeded".
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat)
        return fail(QStringLiteral("The printer %1 cannot be used. Nothing was printed.")
                        .arg(info.printerName()));
    printer.setDocName(jobName_);
    printer.setCopyCount(1);
    if (!vorn::paintFittedPage(printer, page, info.printerName(), error))
        return false;
    if (printer.printerState() == QPrinter::Error)
        return fail(QStringLiteral("The printer %1 reported an error.").arg(info.printerName()));
    return true;
}
