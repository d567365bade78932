// Printing pages into PDF files, one file per page.
#pragma once

#include "PagePrinter.h"

#include <QStringList>

// Writes page n (counting from 1) to "<folder>/<baseName>-<n>.pdf" on an A4 sheet with the
// margins of a typical printer, so the result looks like a printed page.
class PdfPagePrinter : public PagePrinter {
public:
    explicit PdfPagePrinter(QString folder, QString baseName = QStringLiteral("page"));
    bool printPage(const QImage &page, QString *error) override;
    // The files written so far, in order.
    const QStringList &files() const { return files_; }

private:
    QString folder_;
    QString baseName_;
    QStringList files_;
};
