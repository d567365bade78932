// Print and Print all: the print look of the main window, the date stamp and one job per page.
#include "app/Hlav.h"

#include "PagePrinter.h"
#include "SystemPagePrinter.h"
#include "host/Colors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QTabWidget>

namespace {

constexpr int kStampTicks = 200;   // the stamp stays about 11 s after printing

// Stamps the status label with the time of printing and turns the window to its print
// look: no gauge, no no-connection label, Printing set for UpdateDisplayStates and the timer.
void beginPrintLook(TFormHlav &form)
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    auto *stamp = form.ctl<QLabel>("LabelHlaseni");
    stamp->setText(form.Messages[vorn::Msg::DateTimeOfPrinting]
                   + locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("    ")
                   + locale.toString(now.time(), QLocale::LongFormat));
    vorn::ui::setBackground(stamp, vorn::ui::kWhite);
    stamp->show();
    form.ctl<QWidget>("LabelSpojeni")->hide();
    form.SetMessageCountdown(kStampTicks);
    form.ctl<QWidget>("CGauge")->hide();
    form.Printing = true;
}

// The normal look again; the stamp stays until the countdown runs out.
void endPrintLook(TFormHlav &form)
{
    form.Printing = false;
    form.UpdateDisplayStates();
    vorn::ui::setBackground(form.ctl<QWidget>("LabelHlaseni"), vorn::ui::buttonFace());
}

// Takes the focus out of the edit fields, so an edit in progress is committed now and no
// caret is printed.
void focusVerifyButton(TFormHlav &form)
{
    form.ctl<QWidget>("BitBtnVerify")->setFocus(Qt::OtherFocusReason);
}

bool printOnePage(TFormHlav &form, QString *error)
{
    if (!form.pagePrinter)
        form.pagePrinter = std::make_shared<SystemPagePrinter>();
    return form.pagePrinter->printPage(form.clientAreaImage(), error);
}

// Nothing was printed: a stamp saying otherwise would mislead, and the user must learn it.
void reportPrintFailure(TFormHlav &form, const QString &error)
{
    form.ctl<QWidget>("LabelHlaseni")->hide();
    form.MessageBox(error);
}

}  // namespace

QImage TFormHlav::clientAreaImage()
{
    // Controls just hidden or shown have only asked for a new layout; settle it first.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget *menu = menuWidget();
    const int top = menu && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
    const QRect client(0, top, width(), height() - top);
    QImage image(client.size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    render(&image, QPoint(0, 0), QRegion(client), QWidget::DrawChildren);
    return image;
}

void TFormHlav::SpeedButtonPrintClick()
{
    beginPrintLook(*this);
    focusVerifyButton(*this);
    UpdateDisplayStates();
    QString error;
    const bool printed = printOnePage(*this, &error);
    endPrintLook(*this);
    if (!printed)
        reportPrintFailure(*this, error);
}

void TFormHlav::MenuPrintAllClick()
{
    focusVerifyButton(*this);
    beginPrintLook(*this);
    auto *tabs = ctl<QTabWidget>("PageControl1");
    const int remembered = tabs->currentIndex();
    QString error;
    bool printed = true;
    // Pages in tab order; each printed alone, its tab the only one, so the picture names it.
    for (int page = 0; page < tabs->count() && printed; ++page) {
        // The page is shown before the others are hidden, so the tab bar never lacks a
        // current tab on the way.
        tabs->setTabVisible(page, true);
        tabs->setCurrentIndex(page);
        for (int other = 0; other < tabs->count(); ++other)
            if (other != page)
                tabs->setTabVisible(other, false);
        UpdateDisplayStates();
        printed = printOnePage(*this, &error);
    }
    for (int page = 0; page < tabs->count(); ++page)
        tabs->setTabVisible(page, true);
    tabs->setCurrentIndex(remembered);
    endPrintLook(*this);
    if (!printed)
        reportPrintFailure(*this, error);
}
