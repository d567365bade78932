// Save and Open of *.ign files and Help, Contents, driven through the main window.
#include "FileTestSupport.h"
#include "FilesWindow.h"
#include "files/IgnFile.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using filetest::get;
using filetest::put;
using fileswindow::Window;

namespace {

const QString kOpenFileError = QStringLiteral("Open file error!");
const QString kUnmatched = QStringLiteral("Unmatched version of *.ign file!");

QString fileLabel(Window &w)
{
    return w->ctl<QLabel>("LabelFile2")->text();
}

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void saveThenOpenRestoresTheImage();
    void dialogsAsShown();
    void cancelChangesNothing();
    void openFailures_data();
    void openFailures();
    void saveFailures_data();
    void saveFailures();
    void manual_data();
    void manual();
};

void FilesTest::saveThenOpenRestoresTheImage()
{
    QTemporaryDir config, files;
    Window w(config.path());
    w->Image.limiter2() = 150;
    w->Image.servoHyster() = 61;
    w->Image.advance(9, 3) = 44;
    w->Image.tps100() = 251;   // out of range: Save clamps before writing
    w->ShowParameters();

    w.answers << files.filePath("set1");   // typed without extension
    w->MenuSaveClick();
    const QString path = files.filePath("set1.ign");
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w->Image.tps100(), std::uint8_t(250));
    QCOMPARE(get(path), vorn::WriteParameterFile(w->Image));
    QCOMPARE(fileLabel(w), path);
    QCOMPARE(w->LastFilePath, path);
    QCOMPARE(w->OpenDialog1->selectedFiles().value(0), path);

    const vorn::ParameterImage saved = w->Image;
    w->Image.limiter2() = 100;
    w->Image.servoHyster() = 3;
    w->Image.advance(9, 3) = 10;
    w->ShowParameters();
    w->ctl<QLabel>("LabelFile2")->setText("other");
    w.answers << path;
    w->MenuOpenClick();
    QVERIFY(w.messages.isEmpty());
    QVERIFY(w->FileKeyFound);
    QCOMPARE(w->Image, saved);
    QCOMPARE(w->edit("Omez2")->text().remove(QRegularExpression("\\D")), QString("15000"));
    QCOMPARE(fileLabel(w), path);
    QCOMPARE(w->SaveDialog1->selectedFiles().value(0), path);
}

void FilesTest::dialogsAsShown()
{
    QTemporaryDir config;
    Window w(config.path());
    w->MenuOpenClick();
    w->MenuSaveClick();
    QCOMPARE(w.shownDialogs, QList<QFileDialog *>({w->ctl<QFileDialog>("OpenDialog1"),
                                                   w->ctl<QFileDialog>("SaveDialog1")}));
    QCOMPARE(w->OpenDialog1->nameFilters(), QStringList({"Ignition Parametrs(*.ign)", "All Files (*.*)"}));
    QCOMPARE(w->SaveDialog1->nameFilters(), QStringList({"Ignition Parametrs(*.ign)"}));
    QCOMPARE(w->OpenDialog1->defaultSuffix(), QString("ign"));
    QCOMPARE(w->SaveDialog1->defaultSuffix(), QString("ign"));
    QCOMPARE(w->SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!w->SaveDialog1->testOption(QFileDialog::DontConfirmOverwrite));
}

void FilesTest::cancelChangesNothing()
{
    QTemporaryDir config, files;
    Window w(config.path());
    const vorn::ParameterImage before = w->Image;
    w->ctl<QLabel>("LabelFile2")->setText("kept");
    w->ctl<QWidget>("LabelHlaseni")->show();
    w->ctl<QWidget>("CGauge")->show();

    w->MenuSaveClick();
    w->MenuOpenClick();
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w->Image, before);
    QCOMPARE(fileLabel(w), QString("kept"));
    QVERIFY(w->LastFilePath.isEmpty());
    QVERIFY(QDir(files.path()).isEmpty());
    // Open tidies the status line even when cancelled.
    QVERIFY(w->ctl<QWidget>("LabelHlaseni")->isHidden());
    QVERIFY(w->ctl<QWidget>("CGauge")->isHidden());
}

void FilesTest::openFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");   // "<none>": no such file; "<dir>": a folder
    QTest::addColumn<QString>("message");      // empty: opened

    QTest::newRow("missing file") << "gone.ign" << QByteArray("<none>") << kOpenFileError;
    QTest::newRow("a folder") << "folder.ign" << QByteArray("<dir>") << kOpenFileError;
    QTest::newRow("no key line") << "old.ign" << QByteArray("BIKE 7\r\nBASE_ADV 30") << kUnmatched;
    QTest::newRow("key of version 39") << "v39.ign" << QByteArray("ZEPHALON_KEY 39 BASE_ADV 30") << kUnmatched;
    QTest::newRow("too big to be one") << "big.ign"
                                       << "ZEPHALON_KEY 40 BASE_ADV 30 " + QByteArray(17 << 20, ' ') << kUnmatched;
    QTest::newRow("key line only") << "key.ign" << QByteArray("ZEPHALON_KEY   40 ") << QString();
}

void FilesTest::openFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir config, files;
    const QString path = files.filePath(name);
    if (content == "<dir>")
        QVERIFY(QDir().mkdir(path));
    else if (content != "<none>")
        put(path, content);

    Window w(config.path());
    const vorn::ParameterImage before = w->Image;
    w->ctl<QLabel>("LabelFile2")->setText("kept");
    w.answers << path;
    w->MenuOpenClick();
    QCOMPARE(w->Image, before);
    if (message.isEmpty()) {
        QVERIFY(w.messages.isEmpty());
        QCOMPARE(fileLabel(w), path);
        QCOMPARE(w->LastFilePath, path);
    } else {
        QCOMPARE(w.messages, QStringList{message});
        QCOMPARE(fileLabel(w), QString("kept"));
        QVERIFY(w->LastFilePath.isEmpty());
    }
}

void FilesTest::saveFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("disk full during the write") << "limit";
    QTest::newRow("full file system") << "tmpfs";
    QTest::newRow("read-only folder") << "readonly";
    QTest::newRow("folder does not exist") << "nofolder";
}

void FilesTest::saveFailures()
{
    QFETCH(QString, kind);
    QTemporaryDir config, files;
    filetest::TinyFullFileSystem tmpfs;
    QString folder = files.path();
    if (kind == "tmpfs") {
        if (!tmpfs.mounted())
            QSKIP(tmpfs.reason().constData());
        folder = tmpfs.path();
    }
    if (kind == "readonly" && geteuid() == 0)
        QSKIP("root writes into read-only folders, so permissions cannot make this fail");
    const QString path = kind == "nofolder" ? folder + "/missing/old.ign" : folder + "/old.ign";
    const QByteArray old = "ZEPHALON_KEY   40 \r\nBASE_ADV 1";
    if (kind != "nofolder")
        put(path, old);

    Window w(config.path());
    w->ctl<QLabel>("LabelFile2")->setText("kept");
    w.answers << path;
    if (kind == "tmpfs") {
        QVERIFY(tmpfs.fill());
        w->MenuSaveClick();
    } else if (kind == "readonly") {
        chmod(QFile::encodeName(folder).constData(), 0555);
        w->MenuSaveClick();
        chmod(QFile::encodeName(folder).constData(), 0755);
    } else if (kind == "limit") {
        filetest::FileSizeLimit limit(200);
        QVERIFY(limit.active());
        w->MenuSaveClick();
    } else {
        w->MenuSaveClick();
    }
    QCOMPARE(w.messages, QStringList{kOpenFileError});
    QCOMPARE(get(path), kind == "nofolder" ? QByteArray("<missing>") : old);
    QCOMPARE(fileLabel(w), QString("kept"));
    QVERIFY(w->LastFilePath.isEmpty());
}

namespace {

// The three places Help, Contents looks, as the running program sees them.
QString manualFolder(const QString &place, const QString &cwd)
{
    const QString program = QCoreApplication::applicationDirPath();
    if (place == "cwd")
        return cwd;
    if (place == "installed")
        return QDir::cleanPath(program + "/../share/vorn4/manual");
    return program;
}

// Manuals put outside the test's own temporary folder are removed again.
struct PlacedFiles {
    QStringList paths;
    ~PlacedFiles()
    {
        for (const QString &path : paths)
            QFile::remove(path);
    }
};

}  // namespace

void FilesTest::manual_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("places");   // where a manual of that language lies
    QTest::addColumn<bool>("viewerWorks");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("opened");       // the place whose file is opened; empty: failure
    const QString en = "manual_lumenor_vorn_4_en.pdf";
    QTest::newRow("English, current directory") << 0 << QStringList{"cwd"} << true << en << "cwd";
    QTest::newRow("Czech, installed folder") << 3 << QStringList{"installed"} << true
                                             << "manual_lumenor_vorn_4_cz.pdf" << "installed";
    QTest::newRow("German, beside the program") << 1 << QStringList{"program"} << true
                                                << "manual_lumenor_vorn_4_de.pdf" << "program";
    QTest::newRow("current directory first") << 0 << QStringList{"program", "installed", "cwd"} << true << en
                                             << "cwd";
    QTest::newRow("installed before beside") << 0 << QStringList{"program", "installed"} << true << en
                                             << "installed";
    QTest::newRow("other language only") << 2 << QStringList{"cwd", "installed", "program"} << true << en
                                         << QString();
    QTest::newRow("missing everywhere") << 0 << QStringList{} << true << en << QString();
    QTest::newRow("no viewer") << 2 << QStringList{"installed"} << false << "manual_lumenor_vorn_4_fr.pdf"
                               << QString();
}

void FilesTest::manual()
{
    QFETCH(int, language);
    QFETCH(QStringList, places);
    QFETCH(bool, viewerWorks);
    QFETCH(QString, name);
    QFETCH(QString, opened);
    QTemporaryDir config, cwd;
    PlacedFiles placed;
    for (const QString &place : places) {
        const QString folder = manualFolder(place, cwd.path());
        QVERIFY(QDir().mkpath(folder));
        placed.paths << QDir(folder).filePath(name);
        put(placed.paths.last(), "%PDF-1.4\n");
    }
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(cwd.path()));

    Window w(config.path());
    w.viewerWorks = viewerWorks;
    w->LanguageIndex = static_cast<std::uint8_t>(language);
    w->ApplyMessages();
    w->MenuContensClick();
    QDir::setCurrent(previous);

    const bool tried = !opened.isEmpty() || !viewerWorks;
    const QString expectedPath = QDir(manualFolder(opened.isEmpty() ? places.value(0) : opened, cwd.path()))
                                     .filePath(name);
    QCOMPARE(w.openedDocuments, tried ? QStringList{expectedPath} : QStringList());
    QCOMPARE(w.messages, opened.isEmpty() ? QStringList{w->Messages[vorn::Msg::ManualError]} : QStringList());
    if (opened.isEmpty())
        QVERIFY(w.messages.value(0).contains(QString("_%1.pdf").arg(QStringList{"en", "de", "fr", "cz"}[language])));
}

QTEST_MAIN(FilesTest)
#include "files_test.moc"
