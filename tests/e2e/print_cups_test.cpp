// End-to-end printing through a real CUPS scheduler onto a PDF print queue.
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "support/PdfInspect.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kSbinPaths = {"/usr/sbin", "/sbin", "/usr/bin", "/bin"};
const char kBackend[] = "/usr/lib/cups/backend/cups-pdf";
const char kPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char kPdfConf[] = "/etc/cups/cups-pdf.conf";

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return r;
}

bool schedulerRunning(const QString &lpstat)
{
    return run(lpstat, {"-r"}).output.contains("scheduler is running");
}

// The folder the PDF queue writes a user's files into: the "Out" line of its configuration,
// "/var/spool/cups-pdf/${USER}" when there is none.
QString pdfOutputFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(kPdfConf);
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &raw : conf.readAll().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (line.startsWith(QLatin1String("Out ")))
                out = line.mid(4).trimmed();
        }
    }
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    out.replace(QLatin1String("${HOME}"), QDir::homePath());
    out.replace(QLatin1String("${USER}"), user);
    return out;
}

QSet<QString> pdfFilesIn(const QString &folder)
{
    QSet<QString> files;
    for (const QFileInfo &f : QDir(folder).entryInfoList({"*.pdf"}, QDir::Files))
        files << f.absoluteFilePath();
    return files;
}

// A finished PDF ends with its end-of-file marker; the queue writes the file in steps.
bool complete(const QString &path)
{
    return pdfinspect::readFile(path).trimmed().endsWith("%%EOF");
}

}  // namespace

class PrintCupsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void printGivesOnePagePdfOnDefaultQueue();
    void printAllGivesFourOnePageJobs();

private:
    // Waits until the queue has written `count` new complete files; returns them.
    QStringList waitForNewPdfs(int count);

    QString lpadmin_;
    QString queue_;
    QProcess *ownScheduler_ = nullptr;
    QString outFolder_;
    QSet<QString> before_;
    QSizeF pageSize_;
    QTemporaryDir *dir_ = nullptr;
    ScriptedInteraction answers_;
    TFormHlav *form_ = nullptr;
    QStringList messages_;
};

void PrintCupsTest::initTestCase()
{
    const QString cupsd = QStandardPaths::findExecutable("cupsd", kSbinPaths);
    lpadmin_ = QStandardPaths::findExecutable("lpadmin", kSbinPaths);
    const QString lpstat = QStandardPaths::findExecutable("lpstat", kSbinPaths);
    if (cupsd.isEmpty() || lpadmin_.isEmpty() || lpstat.isEmpty())
        QSKIP("CUPS is not installed (packages cups and printer-driver-cups-pdf)");
    if (!QFileInfo::exists(kBackend) || !QFileInfo::exists(kPpd))
        QSKIP("the PDF print queue is not installed (package printer-driver-cups-pdf)");

    if (!schedulerRunning(lpstat)) {
        ownScheduler_ = new QProcess;
        ownScheduler_->setProcessChannelMode(QProcess::ForwardedChannels);
        ownScheduler_->start(cupsd, {"-f"});
        if (!ownScheduler_->waitForStarted())
            QSKIP("cupsd is installed but could not be started");
        for (int i = 0; i < 100 && !schedulerRunning(lpstat); ++i)
            QTest::qWait(100);
        if (!schedulerRunning(lpstat))
            QSKIP("cupsd was started but does not answer (it needs root to start)");
    }

    queue_ = QStringLiteral("vorn4-test-pdf-%1").arg(QCoreApplication::applicationPid());
    const Run added = run(lpadmin_, {"-p", queue_, "-E", "-v", "cups-pdf:/", "-P", kPpd});
    if (added.exitCode != 0)
        QSKIP(qPrintable("cannot add a print queue (lpadmin needs admin rights): " + added.output));
    // The default printer for this process only, so nothing else on the machine prints here.
    qputenv("PRINTER", queue_.toLocal8Bit());
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    QCOMPARE(defaultPrinter.printerName(), queue_);
    QPrinter probe(defaultPrinter, QPrinter::HighResolution);
    pageSize_ = probe.pageLayout().fullRectPoints().size();
    QVERIFY(!pageSize_.isEmpty());
    outFolder_ = pdfOutputFolder();
}

void PrintCupsTest::cleanupTestCase()
{
    if (!queue_.isEmpty())
        run(lpadmin_, {"-x", queue_});
    if (ownScheduler_) {
        ownScheduler_->terminate();
        if (!ownScheduler_->waitForFinished(10000))
            ownScheduler_->kill();
        ownScheduler_->waitForFinished();
        delete ownScheduler_;
    }
}

void PrintCupsTest::init()
{
    dir_ = new QTemporaryDir;
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_.answer = 0;
    answers_.onMessage = nullptr;
    form_ = new TFormHlav;
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    form_->Timer1->stop();
    messages_.clear();
    answers_.onMessage = [this](const QString &text) { messages_ << text; };
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    before_ = pdfFilesIn(outFolder_);
}

void PrintCupsTest::cleanup()
{
    for (const QString &file : pdfFilesIn(outFolder_) - before_)
        QFile::remove(file);
    form_->close();
    delete form_;
    form_ = nullptr;
    delete dir_;
}

QStringList PrintCupsTest::waitForNewPdfs(int count)
{
    QStringList done;
    auto finished = [&] {
        done.clear();
        for (const QString &file : pdfFilesIn(outFolder_) - before_)
            if (complete(file))
                done << file;
        return done.size() >= count;
    };
    // The queue renders each job through a PostScript interpreter; allow it plenty of time.
    for (int i = 0; i < 1200 && !finished(); ++i)
        QTest::qWait(100);
    return done;
}

void PrintCupsTest::printGivesOnePagePdfOnDefaultQueue()
{
    form_->ctl<QTabWidget>("PageControl1")->setCurrentIndex(1);
    form_->action("MenuPrint")->trigger();
    QCOMPARE(messages_, QStringList());

    const QStringList pdfs = waitForNewPdfs(1);
    QCOMPARE(pdfs.size(), 1);
    const QByteArray pdf = pdfinspect::readFile(pdfs.first());
    QCOMPARE(pdfinspect::pageCount(pdf), 1);
    const QList<QSizeF> boxes = pdfinspect::mediaBoxes(pdf);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(qAbs(boxes[0].width() - pageSize_.width()) < 1.5
                 && qAbs(boxes[0].height() - pageSize_.height()) < 1.5,
             qPrintable(QStringLiteral("page %1 x %2 pt, queue's paper %3 x %4 pt")
                            .arg(boxes[0].width()).arg(boxes[0].height())
                            .arg(pageSize_.width()).arg(pageSize_.height())));
}

void PrintCupsTest::printAllGivesFourOnePageJobs()
{
    form_->action("MenuPrintAll")->trigger();
    QCOMPARE(messages_, QStringList());

    const QStringList pdfs = waitForNewPdfs(4);
    QCOMPARE(pdfs.size(), 4);
    for (const QString &file : pdfs)
        QCOMPARE(pdfinspect::pageCount(pdfinspect::readFile(file)), 1);
}

QTEST_MAIN(PrintCupsTest)
#include "print_cups_test.moc"
