// Printing pages on the system's default printer.
#pragma once

#include "PagePrinter.h"

// Each page is its own job on whatever printer is the system's default at that moment, so a
// default changed while the program runs is used from the next page on.
class SystemPagePrinter : public PagePrinter {
public:
    explicit SystemPagePrinter(QString jobName = QStringLiteral("VORN4"));
    bool printPage(const QImage &page, QString *error) override;

private:
    QString jobName_;
};
