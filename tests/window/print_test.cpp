// Tests of Print and Print all: fit-to-page, the print look, the date stamp, one job per page,
// and a job that cannot start.
#include "host/Colors.h"
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "print/PagePrinter.h"
#include "print/PdfPagePrinter.h"
#include "print/SystemPagePrinter.h"
#include "support/PdfInspect.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPrinterInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

namespace {

// The window as it was at the moment one page went to the printer.
struct PrintedPage {
    QImage image;
    int currentTab = -1;
    QList<bool> tabVisible;
    bool printing = false;
    bool toolBarShown = false;
    bool statusBarShown = false;
    bool limiterSpinnerShown = false;
    bool rpmGaugeShown = false;
    bool noConnectionShown = false;
    bool stampShown = false;
    QColor stampBackground;
    QStringList wrongFace;   // shown button-face labels whose printed corner is another colour
    QString stamp;
    int tabsTop = 0;   // top edge of the page control in the picture
};

// Notes what the window looked like for each page, then hands the page on to PDF files as a
// printer would receive it.
class RecordingPrinter : public PagePrinter {
public:
    RecordingPrinter(TFormHlav *form, const QString &folder) : form_(form), pdf(folder) {}

    bool printPage(const QImage &image, QString *error) override
    {
        PrintedPage p;
        p.image = image;
        auto *tabs = form_->ctl<QTabWidget>("PageControl1");
        p.currentTab = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i)
            p.tabVisible << tabs->isTabVisible(i);
        p.printing = form_->Printing;
        p.toolBarShown = !form_->ctl<QWidget>("GroupBoxToolBar")->isHidden();
        p.statusBarShown = !form_->ctl<QWidget>("StatusBar1")->isHidden();
        p.limiterSpinnerShown = !form_->ctl<QWidget>("UpDownOmez2")->isHidden();
        p.rpmGaugeShown = !form_->ctl<QWidget>("CGaugeRpm")->isHidden();
        p.noConnectionShown = !form_->ctl<QWidget>("LabelSpojeni")->isHidden();
        auto *stamp = form_->ctl<QLabel>("LabelHlaseni");
        p.stampShown = !stamp->isHidden();
        p.stampBackground = vorn::ui::background(stamp);
        p.stamp = stamp->text();
        const int menuBottom = form_->menuWidget()->geometry().bottom() + 1;
        for (const char *name : {"LabelRpm", "LabelNapeti", "LabelBlocking1", "LabelAdvance1", "LabelMonPilotLight",
                                 "LabelClutchMon", "LabelMonSnimac1", "LabelMonSnimac2", "LabelTpsMon", "LabelTps1"}) {
            auto *label = form_->ctl<QWidget>(name);
            if (!label->isVisibleTo(form_))
                continue;
            const QPoint corner = label->mapTo(form_, QPoint(label->width() - 3, 3)) - QPoint(0, menuBottom);
            if (image.pixelColor(corner) != vorn::ui::buttonFace())
                p.wrongFace << name;
        }
        p.tabsTop = tabs->mapTo(form_, QPoint(0, 0)).y()
                    - (form_->menuWidget()->geometry().bottom() + 1);
        pages << p;
        return pdf.printPage(image, error);
    }

    QList<PrintedPage> pages;
    PdfPagePrinter pdf;

private:
    TFormHlav *form_;
};

bool allPixels(const QImage &image, const QRect &area, const QColor &colour)
{
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return !r.isEmpty();
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fitToPage_data();
    void fitToPage();
    void printShowsOpenPageOnWhiteWithCzechStamp();
    void printAllPrintsEachPageAloneInOrder();
    void printOfOpenPageMatchesThatPassOfPrintAll();
    void failedJobIsReportedAndNormalLookRestored_data();
    void failedJobIsReportedAndNormalLookRestored();

private:
    QTabWidget *tabs() const { return form_->ctl<QTabWidget>("PageControl1"); }
    // Where a child of the window lies in the printed picture (the client area).
    QRect inClientArea(const QString &name) const;
    void checkNormalLook();

    QTemporaryDir *dir_ = nullptr;
    ScriptedInteraction answers_;
    TFormHlav *form_ = nullptr;
    std::shared_ptr<RecordingPrinter> printer_;
    QStringList messages_;
    QList<bool> printingWhenMessaged_;
};

void PrintTest::init()
{
    dir_ = new QTemporaryDir;
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    messages_.clear();
    printingWhenMessaged_.clear();
    answers_.onMessage = [this](const QString &text) {
        messages_ << text;
        printingWhenMessaged_ << (form_ && form_->Printing);
    };
    answers_.answer = 0;
    form_ = new TFormHlav;
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    form_->Timer1->stop();   // the tests tick it by hand
    messages_.clear();       // a port that failed to open is not this test's business
    printer_ = std::make_shared<RecordingPrinter>(form_, dir_->path());
    form_->pagePrinter = printer_;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void PrintTest::cleanup()
{
    form_->close();
    delete form_;
    form_ = nullptr;
    printer_.reset();
    delete dir_;
}

QRect PrintTest::inClientArea(const QString &name) const
{
    auto *w = form_->ctl<QWidget>(name);
    const int top = form_->menuWidget()->geometry().bottom() + 1;
    return QRect(w->mapTo(form_, QPoint(0, 0)) - QPoint(0, top), w->size());
}

void PrintTest::checkNormalLook()
{
    QVERIFY(!form_->Printing);
    for (int i = 0; i < tabs()->count(); ++i)
        QVERIFY2(tabs()->isTabVisible(i), qPrintable(QStringLiteral("tab %1 hidden").arg(i)));
    QVERIFY(!form_->ctl<QWidget>("GroupBoxToolBar")->isHidden());
    QVERIFY(!form_->ctl<QWidget>("StatusBar1")->isHidden());
    QVERIFY(!form_->ctl<QWidget>("UpDownOmez2")->isHidden());
    QCOMPARE(vorn::ui::background(form_->ctl<QWidget>("LabelHlaseni")), vorn::ui::buttonFace());
}

void PrintTest::fitToPage_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("fitted");
    // A4 at 600 dpi less the margins: 4760 x 6779 dots.
    QTest::newRow("tall image fills the page height") << QSize(500, 1000) << QSize(4760, 6779)
                                                      << QSize(3389, 6779);
    QTest::newRow("wide window fills the page width") << QSize(1012, 688) << QSize(4760, 6779)
                                                      << QSize(4760, 3236);
    QTest::newRow("same proportions fill the page") << QSize(100, 200) << QSize(300, 600)
                                                    << QSize(300, 600);
    QTest::newRow("width truncated, not rounded") << QSize(3, 7) << QSize(10, 10) << QSize(4, 10);
    QTest::newRow("height truncated, not rounded") << QSize(7, 3) << QSize(10, 10) << QSize(10, 4);
    QTest::newRow("large sizes do not overflow") << QSize(60000, 40000) << QSize(50000, 70000)
                                                 << QSize(50000, 33333);
    QTest::newRow("empty image") << QSize(0, 100) << QSize(4760, 6779) << QSize();
    QTest::newRow("empty page") << QSize(100, 100) << QSize(4760, 0) << QSize();
}

void PrintTest::fitToPage()
{
    QFETCH(QSize, image);
    QFETCH(QSize, page);
    QFETCH(QSize, fitted);
    QCOMPARE(vorn::fitToPage(image, page), fitted);
}

void PrintTest::printShowsOpenPageOnWhiteWithCzechStamp()
{
    form_->LanguageIndex = 3;
    form_->ApplyMessages();
    tabs()->setCurrentIndex(1);
    const QRect toolBar = inClientArea("GroupBoxToolBar");
    const QDateTime before = QDateTime::currentDateTime();
    form_->action("MenuPrint")->trigger();
    const QDateTime after = QDateTime::currentDateTime();

    QCOMPARE(printer_->pages.size(), 1);
    const PrintedPage &page = printer_->pages.first();
    QCOMPARE(page.currentTab, 1);
    QCOMPARE(page.tabVisible, QList<bool>({true, true, true, true}));
    QVERIFY(page.printing);
    QVERIFY(!page.toolBarShown);
    QVERIFY(!page.statusBarShown);
    QVERIFY(!page.limiterSpinnerShown);
    QVERIFY(!page.rpmGaugeShown);
    QVERIFY(!page.noConnectionShown);
    QVERIFY(page.stampShown);
    QCOMPARE(page.stampBackground, vorn::ui::kWhite);
    QVERIFY2(page.wrongFace.isEmpty(), qPrintable(page.wrongFace.join(" ")));

    // The picture is the window below the menu bar, white above the pages where the
    // toolbar was, and white at the bottom where the status bar was.
    const int menuHeight = form_->menuWidget()->geometry().bottom() + 1;
    QCOMPARE(page.image.size(), QSize(form_->width(), form_->height() - menuHeight));
    QVERIFY(allPixels(page.image, QRect(toolBar.left(), 0, toolBar.width(), page.tabsTop),
                      vorn::ui::kWhite));
    QVERIFY(allPixels(page.image, QRect(0, page.image.height() - 3, page.image.width(), 3),
                      vorn::ui::kWhite));

    // "Datum a čas tisku:  " + short date + four spaces + long time, in the system's formats.
    const QString lead = QStringLiteral("Datum a čas tisku:  ");
    QVERIFY2(page.stamp.startsWith(lead), qPrintable(page.stamp));
    const QStringList parts = page.stamp.mid(lead.size()).split(QStringLiteral("    "));
    QCOMPARE(parts.size(), 2);
    const QLocale locale = QLocale::system();
    QStringList dates, times;
    for (QDateTime t = before.addMSecs(-1000); t <= after; t = t.addMSecs(500)) {
        dates << locale.toString(t.date(), QLocale::ShortFormat);
        times << locale.toString(t.time(), QLocale::LongFormat);
    }
    QVERIFY2(dates.contains(parts[0]), qPrintable(parts[0]));
    QVERIFY2(times.contains(parts[1]), qPrintable(parts[1]));

    checkNormalLook();
    QCOMPARE(tabs()->currentIndex(), 1);
    QVERIFY(!form_->ctl<QWidget>("LabelHlaseni")->isHidden());
    QCOMPARE(form_->ctl<QLabel>("LabelHlaseni")->text(), page.stamp);
    QVERIFY(messages_.isEmpty());

    QCOMPARE(printer_->pdf.files().size(), 1);
    const QByteArray pdf = pdfinspect::readFile(printer_->pdf.files().first());
    QCOMPARE(pdfinspect::pageCount(pdf), 1);
}

void PrintTest::printAllPrintsEachPageAloneInOrder()
{
    tabs()->setCurrentIndex(3);
    form_->action("MenuPrintAll")->trigger();

    QCOMPARE(printer_->pages.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const PrintedPage &page = printer_->pages[i];
        QCOMPARE(page.currentTab, i);
        QList<bool> onlyThis(4, false);
        onlyThis[i] = true;
        QCOMPARE(page.tabVisible, onlyThis);
        QVERIFY(page.printing);
        QVERIFY(!page.toolBarShown);
        QVERIFY(page.stampShown);
    }
    // Each picture shows a different page.
    const QRect pageArea = inClientArea("TabSheetRuzne");
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            QVERIFY2(printer_->pages[i].image.copy(pageArea)
                         != printer_->pages[j].image.copy(pageArea),
                     qPrintable(QStringLiteral("pages %1 and %2 look the same").arg(i).arg(j)));

    checkNormalLook();
    QCOMPARE(tabs()->currentIndex(), 3);
    QVERIFY(messages_.isEmpty());

    QCOMPARE(printer_->pdf.files().size(), 4);
    for (const QString &file : printer_->pdf.files()) {
        const QByteArray pdf = pdfinspect::readFile(file);
        QCOMPARE(pdfinspect::pageCount(pdf), 1);
        const QList<QSizeF> boxes = pdfinspect::mediaBoxes(pdf);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(qAbs(boxes[0].width() - 595) < 1 && qAbs(boxes[0].height() - 842) < 1,
                 "the page is not A4 portrait");
    }

    // The stamp stays for the message countdown, then the timer takes it away.
    QCOMPARE(form_->MessageCountdown(), 200);
    auto *stamp = form_->ctl<QWidget>("LabelHlaseni");
    for (int tick = 0; tick < 100; ++tick)
        form_->Timer1Timer();
    QVERIFY(!stamp->isHidden());
    for (int tick = 100; tick < 201; ++tick)
        form_->Timer1Timer();
    QVERIFY(stamp->isHidden());
}

void PrintTest::printOfOpenPageMatchesThatPassOfPrintAll()
{
    tabs()->setCurrentIndex(1);
    form_->SpeedButtonPrintClick();
    form_->MenuPrintAllClick();
    QCOMPARE(printer_->pages.size(), 5);
    const QList<PrintedPage> passes = printer_->pages.mid(1);
    const QRect pageArea = inClientArea("TabSheetBike");
    const QImage printed = printer_->pages[0].image.copy(pageArea);
    QCOMPARE(printed, passes[1].image.copy(pageArea));
    QVERIFY(printed != passes[0].image.copy(pageArea));
}

void PrintTest::failedJobIsReportedAndNormalLookRestored_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("systemPrinter");
    QTest::newRow("print, PDF file cannot be written") << false << false;
    QTest::newRow("print all, PDF file cannot be written") << true << false;
    QTest::newRow("print, no default printer") << false << true;
    QTest::newRow("print all, no default printer") << true << true;
}

void PrintTest::failedJobIsReportedAndNormalLookRestored()
{
    QFETCH(bool, all);
    QFETCH(bool, systemPrinter);
    QTemporaryFile notAFolder;
    QVERIFY(notAFolder.open());
    if (systemPrinter) {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; the test would print on it");
        form_->pagePrinter = std::make_shared<SystemPagePrinter>();
    } else {
        // A folder inside a plain file can be created by no one, root included.
        form_->pagePrinter = std::make_shared<PdfPagePrinter>(notAFolder.fileName() + "/pages");
    }
    tabs()->setCurrentIndex(3);

    if (all)
        form_->MenuPrintAllClick();
    else
        form_->SpeedButtonPrintClick();

    QCOMPARE(messages_.size(), 1);   // Print all stops at the first job that fails
    QVERIFY(!messages_.first().isEmpty());
    QCOMPARE(printingWhenMessaged_.first(), false);   // the box stands over the normal look
    checkNormalLook();
    QCOMPARE(tabs()->currentIndex(), 3);
    QVERIFY(form_->ctl<QWidget>("LabelHlaseni")->isHidden());   // no stamp for a missing print
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
