// The fit-to-page rule and the painting shared by every page printer.
#include "PagePrinter.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace vorn {

QSize fitToPage(const QSize &image, const QSize &page)
{
    if (image.width() <= 0 || image.height() <= 0 || page.width() <= 0 || page.height() <= 0)
        return {};
    // 64-bit products: a printer page is several thousand dots a side.
    const qint64 widthAtPageHeight = qint64(image.width()) * page.height() / image.height();
    if (widthAtPageHeight < page.width())
        return {int(widthAtPageHeight), page.height()};
    return {page.width(), int(qint64(image.height()) * page.width() / image.width())};
}

bool paintFittedPage(QPagedPaintDevice &device, const QImage &page, const QString &deviceName,
                     QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QSize size = fitToPage(page.size(), QSize(device.width(), device.height()));
    if (size.isEmpty())
        return fail(QStringLiteral("There is nothing to print on %1.").arg(deviceName));
    QPainter painter;
    if (!painter.begin(&device))
        return fail(QStringLiteral("The print job could not be started on %1.").arg(deviceName));
    painter.drawImage(QRect(QPoint(0, 0), size), page);
    if (!painter.end())
        return fail(QStringLiteral("The print job on %1 could not be finished.").arg(deviceName));
    return true;
}

}  // namespace vorn
