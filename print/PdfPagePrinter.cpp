// Printing pages into PDF files, one file per page.
#include "PdfPagePrinter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>

namespace {
constexpr int kResolution = 300;   // dots per inch
constexpr qreal kMarginMm = 5.0;
}

PdfPagePrinter::PdfPagePrinter(QString folder, QString baseName)
    : folder_(std::move(folder)), baseName_(std::move(baseName))
{
}

bool PdfPagePrinter::printPage(const QImage &page, QString *error)
{
    const QString path =
        QDir(folder_).filePath(QStringLiteral("%1-%2.pdf").arg(baseName_).arg(files_.size() + 1));
    {
        QPdfWriter writer(path);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("VORN4"));
        if (!vorn::paintFittedPage(writer, page, path, error)) {
            QFile::remove(path);
            return false;
        }
    }
    files_ << path;
    return true;
}
