// Settings and image dump between runs: what start-up applies and what closing writes.
#include "FileTestSupport.h"
#include "FilesWindow.h"
#include "files/ImageDump.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

using filetest::get;
using filetest::put;
using fileswindow::Window;

namespace {

int page(Window &w)
{
    return w->ctl<QTabWidget>("PageControl1")->currentIndex();
}

QPoint centred(Window &w)
{
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    return {(s.width() - w->width()) / 2, (s.height() - w->height()) / 2};
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void settingsApplied_data();
    void settingsApplied();
    void closeWritesANewFile();
    void closeKeepsForeignContent();
    void everythingSurvivesARestart();
    void unreadableFileIsNotReplaced_data();
    void unreadableFileIsNotReplaced();
    void failedWritesAtCloseKeepOldFiles_data();
    void failedWritesAtCloseKeepOldFiles();
};

void SettingsTest::settingsApplied_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QPoint>("position");   // INT_MIN: centred
    QTest::addColumn<int>("comPort");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("file");

    const QPoint centre(INT_MIN, INT_MIN);
    QTest::newRow("first run: no file") << QByteArray() << centre << 1 << 0 << 1 << "";   // Bike page
    QTest::newRow("all keys, position off the screen")
        << QByteArray("[FORM_HLAV]\r\nLeft=-3000\r\nTop=9000\r\nComPort=3\r\nLanguage=2\r\n"
                      "File=C:\\data\\x.ign\r\nIniDir=/tmp/last.ign\r\nPageControl1->ActivePageIndex=3\r\n")
        << QPoint(-3000, 9000) << 3 << 2 << 3 << "C:\\data\\x.ign";
    QTest::newRow("ComPort 259 keeps its low 8 bits")
        << QByteArray("[FORM_HLAV]\nComPort=259\n") << centre << 3 << 0 << 1 << "";
    QTest::newRow("ComPort 12 and Language 9 are clamped")
        << QByteArray("[FORM_HLAV]\nComPort=12\nLanguage=9\n") << centre << 1 << 0 << 1 << "";
    QTest::newRow("not numbers give the defaults")
        << QByteArray("[FORM_HLAV]\nLeft=abc\nTop=12px\nComPort=four\nLanguage=\n"
                      "PageControl1->ActivePageIndex=x\n")
        << centre << 1 << 0 << 1 << "";
    QTest::newRow("page outside the tabs is ignored")
        << QByteArray("[FORM_HLAV]\nPageControl1->ActivePageIndex=7\n") << centre << 1 << 0 << 1 << "";
    QTest::newRow("names in other case")
        << QByteArray("[form_hlav]\ncomport=4\nLANGUAGE=3\nfile=/a b/c.ign\n") << centre << 4 << 3 << 1 << "/a b/c.ign";
}

void SettingsTest::settingsApplied()
{
    QFETCH(QByteArray, ini);
    QFETCH(QPoint, position);
    QFETCH(int, comPort);
    QFETCH(int, language);
    QFETCH(int, page);
    QFETCH(QString, file);
    QTemporaryDir config;
    if (!ini.isEmpty())
        put(config.filePath("vorn4.ini"), ini);
    Window w(config.path());
    QCOMPARE(w->pos(), position.x() == INT_MIN ? centred(w) : position);
    QCOMPARE(int(w->ComPort), comPort);
    QCOMPARE(int(w->LanguageIndex), language);
    QCOMPARE(::page(w), page);
    QCOMPARE(w->ctl<QLabel>("LabelFile2")->text(), file);
    if (ini.contains("IniDir")) {
        QCOMPARE(w->LastFilePath, QString("/tmp/last.ign"));
        w->createFileDialogs();
        QCOMPARE(w->OpenDialog1->selectedFiles().value(0), QString("/tmp/last.ign"));
        QCOMPARE(w->SaveDialog1->selectedFiles().value(0), QString("/tmp/last.ign"));
    } else {
        QVERIFY(w->LastFilePath.isEmpty());
    }
}

void SettingsTest::closeWritesANewFile()
{
    QTemporaryDir config;
    Window w(config.path());
    w->move(33, -44);
    w->ctl<QTabWidget>("PageControl1")->setCurrentIndex(2);
    w->action("MenuExit")->trigger();
    QVERIFY(!w->isVisible());
    QCOMPARE(get(config.filePath("vorn4.ini")),
             QByteArray("[FORM_HLAV]\r\nLeft=33\r\nTop=-44\r\nComPort=1\r\nLanguage=0\r\nFile=\r\nIniDir=\r\n"
                        "PageControl1->ActivePageIndex=2\r\n"));
    QCOMPARE(get(config.filePath("_vorn4.ini")), vorn::WriteImageDump(w->Image));
}

void SettingsTest::closeKeepsForeignContent()
{
    QTemporaryDir config;
    const QString path = config.filePath("vorn4.ini");
    put(path, "; my serial adapters\n[PORTS]\nCOM2=/dev/ttyUSB0\n\n[FORM_HLAV]\nextra = keep\ncomport=2\n\n[Zed]\nq=1\n");
    Window w(config.path());
    QCOMPARE(w->ComPort, std::uint8_t(2));
    w->move(1, 2);
    w->close();
    QCOMPARE(get(path), QByteArray("; my serial adapters\n[PORTS]\nCOM2=/dev/ttyUSB0\n\n[FORM_HLAV]\nextra = keep\n"
                                   "ComPort=2\nLeft=1\nTop=2\nLanguage=0\nFile=\nIniDir=\n"
                                   "PageControl1->ActivePageIndex=1\n\n[Zed]\nq=1\n"));
}

void SettingsTest::everythingSurvivesARestart()
{
    QTemporaryDir config, files;
    vorn::ParameterImage image;
    {
        Window first(config.path());
        first->Image[7] = 77;                // block 0: no control, travels through the dump
        first->Image.limiter2() = 123;
        first->ShowParameters();
        first.answers << files.filePath("kept.ign");
        first->MenuSaveClick();
        first->LanguageIndex = 2;
        first->ComPort = 6;
        first->ctl<QTabWidget>("PageControl1")->setCurrentIndex(3);
        first->move(-10, 20);
        first->close();
        image = first->Image;
    }
    Window second(config.path());
    QCOMPARE(second->Image, image);
    QCOMPARE(second->Image[7], std::uint8_t(77));
    QCOMPARE(second->LanguageIndex, std::uint8_t(2));
    QCOMPARE(second->ComPort, std::uint8_t(6));
    QCOMPARE(page(second), 3);
    QCOMPARE(second->pos(), QPoint(-10, 20));
    QCOMPARE(second->LastFilePath, files.filePath("kept.ign"));
    QCOMPARE(second->ctl<QLabel>("LabelFile2")->text(), files.filePath("kept.ign"));
}

void SettingsTest::unreadableFileIsNotReplaced_data()
{
    QTest::addColumn<QByteArray>("content");   // "<dir>": vorn4.ini is a folder
    QTest::newRow("a folder") << QByteArray("<dir>");
    QTest::newRow("over 1 MiB") << "[PORTS]\r\nCOM2=/dev/ttyUSB0\r\n" + QByteArray(1 << 20, ';');
}

void SettingsTest::unreadableFileIsNotReplaced()
{
    QFETCH(QByteArray, content);
    QTemporaryDir config;
    const QString path = config.filePath("vorn4.ini");
    if (content == "<dir>")
        QVERIFY(QDir().mkdir(path));
    else
        put(path, content);
    Window w(config.path());
    QCOMPARE(w->ComPort, std::uint8_t(1));   // nothing read from it
    w->ComPort = 4;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be read whole.*vorn4\\.ini\\.new"));
    w->close();
    if (content == "<dir>")
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(get(path), content);
    const QByteArray beside = get(path + ".new");
    QVERIFY2(beside.startsWith("[FORM_HLAV]\r\nLeft=") && beside.contains("\r\nComPort=4\r\n"), beside.constData());
    QCOMPARE(get(config.filePath("_vorn4.ini")), vorn::WriteImageDump(w->Image));
}

void SettingsTest::failedWritesAtCloseKeepOldFiles_data()
{
    QTest::addColumn<bool>("fullFileSystem");   // else a size limit that breaks the writes
    QTest::newRow("writes fail half-way") << false;
    QTest::newRow("full file system") << true;
}

void SettingsTest::failedWritesAtCloseKeepOldFiles()
{
    QFETCH(bool, fullFileSystem);
    filetest::TinyFullFileSystem tmpfs;
    QTemporaryDir plain;
    if (fullFileSystem && !tmpfs.mounted())
        QSKIP(tmpfs.reason().constData());
    const QString dir = fullFileSystem ? tmpfs.path() : plain.path();
    const QByteArray oldIni = "[FORM_HLAV]\r\nComPort=5\r\n" + QByteArray("; padding\r\n").repeated(20);
    const QByteArray oldDump = QByteArray("    9 ").repeated(300);
    put(dir + "/vorn4.ini", oldIni);
    put(dir + "/_vorn4.ini", oldDump);

    Window w(dir);
    QCOMPARE(w->ComPort, std::uint8_t(5));
    w->ComPort = 7;
    // Nobody is left to see a box at close; the failure goes to the terminal.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not save the settings"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not save the parameter image"));
    if (fullFileSystem) {
        QVERIFY(tmpfs.fill());
        w->close();
    } else {
        filetest::FileSizeLimit limit(64);
        QVERIFY(limit.active());
        w->close();
    }
    QCOMPARE(get(dir + "/vorn4.ini"), oldIni);
    QCOMPARE(get(dir + "/_vorn4.ini"), oldDump);
}

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
