// The INI settings file: look-ups, whole-number values and saves that keep foreign content.
#include "FileTestSupport.h"
#include "files/ProfileIni.h"

#include <QtTest>

using filetest::get;
using filetest::put;
using vorn::ProfileIni;

class ProfileIniTest : public QObject {
    Q_OBJECT
private slots:
    void readString_data();
    void readString();
    void readInt_data();
    void readInt();
    void newFileHasOnlyTheWrittenKeysInOrder();
    void saveKeepsForeignContentAndLineEnds();
    void lineBreaksInValuesCannotInjectKeys();
};

void ProfileIniTest::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray ports = "; serial devices\r\n[PORTS]\r\nCOM3=/dev/ttyUSB0\r\n\r\n"
                             "[FORM_HLAV]\r\nFile=C:\\data\\x.dat\r\nIniDir =  /home/a b/c.ign  \r\n";
    QTest::newRow("port device") << ports << "PORTS" << "COM3" << "/dev/ttyUSB0";
    QTest::newRow("backslashes verbatim") << ports << "FORM_HLAV" << "File" << "C:\\data\\x.dat";
    QTest::newRow("outer spaces trimmed") << ports << "FORM_HLAV" << "IniDir" << "/home/a b/c.ign";
    QTest::newRow("names ignore case") << ports << "ports" << "com3" << "/dev/ttyUSB0";
    QTest::newRow("key of another section") << ports << "PORTS" << "File" << "<none>";
    QTest::newRow("no file") << QByteArray("<none>") << "PORTS" << "COM3" << "<none>";
    QTest::newRow("literal arrow key") << QByteArray("[FORM_HLAV]\nPageControl1->ActivePageIndex=2\n")
                                       << "FORM_HLAV" << "PageControl1->ActivePageIndex" << "2";
    QTest::newRow("first duplicate wins") << QByteArray("[A]\nk=1\n[a]\nk=2\n[A]\nK=3\n") << "A" << "k" << "1";
    QTest::newRow("comment is no key") << QByteArray("[A]\n;k=1\n") << "A" << ";k" << "<none>";
    QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A" << "k" << "<none>";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[A]\nk=v") << "A" << "k" << "v";
    QTest::newRow("mark that begins a value") << QByteArray("[A]\nk=\xEF\xBB\xBFv") << "A" << "k"
                                              << QString(QChar(0xFEFF)) + QLatin1Char('v');
}

void ProfileIniTest::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (file != "<none>")
        put(dir.filePath("vorn4.ini"), file);
    const ProfileIni ini(dir.filePath("vorn4.ini"));
    QCOMPARE(ini.readString(section, key, "<none>"), expected);
}

void ProfileIniTest::readInt_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("257") << 257;
    QTest::newRow("signs and spaces") << QByteArray("  -3 ") << -3;
    QTest::newRow("text") << QByteArray("abc") << -99;
    QTest::newRow("digits then text") << QByteArray("12abc") << -99;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("beyond 64 bits") << QByteArray("99999999999999999999") << -99;
    QTest::newRow("beyond 32 bits keeps low bits") << QByteArray("4294967297") << 1;
}

void ProfileIniTest::readInt()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QTemporaryDir dir;
    put(dir.filePath("s.ini"), "[S]\r\nK=" + value + "\r\n");
    const ProfileIni ini(dir.filePath("s.ini"));
    QCOMPARE(ini.readInt("S", "K", -99), expected);
}

void ProfileIniTest::newFileHasOnlyTheWrittenKeysInOrder()
{
    QTemporaryDir dir;
    ProfileIni ini(dir.filePath("vorn4.ini"));
    ini.writeInt("FORM_HLAV", "Top", 5);
    ini.writeInt("FORM_HLAV", "Left", -20);
    ini.writeString("FORM_HLAV", "File", "C:\\data\\x.dat");
    ini.writeInt("FORM_HLAV", "PageControl1->ActivePageIndex", 1);
    QVERIFY(ini.save());
    QCOMPARE(get(ini.path()), QByteArray("[FORM_HLAV]\r\nTop=5\r\nLeft=-20\r\nFile=C:\\data\\x.dat\r\n"
                                         "PageControl1->ActivePageIndex=1\r\n"));
}

void ProfileIniTest::saveKeepsForeignContentAndLineEnds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vorn4.ini");
    put(path, "; by hand\n[PORTS]\nCOM1=/dev/ttyUSB3\n\n[form_hlav]\nleft = 12\n; keep\nColour=blue\n\n"
              "[Other]\nx=\xFF\xFE");   // not UTF-8, no line break at the end
    ProfileIni ini(path);
    ini.writeInt("FORM_HLAV", "Left", 40);
    ini.writeInt("FORM_HLAV", "Top", 50);
    ini.writeInt("New", "k", 1);
    QVERIFY(ini.save());
    QCOMPARE(get(path), QByteArray("; by hand\n[PORTS]\nCOM1=/dev/ttyUSB3\n\n[form_hlav]\nLeft=40\n; keep\n"
                                   "Colour=blue\nTop=50\n\n[Other]\nx=\xFF\xFE\n[New]\nk=1\n"));
}

void ProfileIniTest::lineBreaksInValuesCannotInjectKeys()
{
    QTemporaryDir dir;
    ProfileIni ini(dir.filePath("x.ini"));
    ini.writeString("FORM_HLAV", "File", "/tmp/a\n[PORTS]\r\nCOM1=/dev/evil");
    QVERIFY(ini.save());
    const ProfileIni again(ini.path());
    QVERIFY(!again.contains("PORTS", "COM1"));
    QCOMPARE(again.readString("FORM_HLAV", "File"), QString("/tmp/a [PORTS]  COM1=/dev/evil"));
}

QTEST_GUILESS_MAIN(ProfileIniTest)
#include "profileini_test.moc"
