// Where printed pages go: one print job of one page per call, and the fit-to-page rule.
#pragma once

#include <QSize>
#include <QString>

class QImage;
class QPagedPaintDevice;

// A destination for pictures of the window. The program prints on the system's default
// printer (SystemPagePrinter); PdfPagePrinter writes each page to its own PDF file.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Prints the image as one job of one page, scaled to fit the page and placed at the
    // page's top-left corner. Returns false and says why in *error when nothing was printed.
    virtual bool printPage(const QImage &page, QString *error) = 0;
};

namespace vorn {

// The size of an image fitted to a page, keeping its proportions: it fills the page height
// unless that would make it wider than the page, and then it fills the page width. Integer
// multiply-then-divide, truncated, so the result never exceeds the page. An empty image or
// page gives an empty size.
QSize fitToPage(const QSize &image, const QSize &page);

// Paints the image fitted to the device's paintable area at its (0, 0) and ends the
// device's page. Shared by the printers; deviceName only serves the error text.
bool paintFittedPage(QPagedPaintDevice &device, const QImage &page, const QString &deviceName,
                     QString *error);

}  // namespace vorn
