// The INI settings file: look-ups, whole-number values and saves that keep foreign content.
#include "files/ProfileIni.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using vorn::ProfileIni;

namespace {

QString writeTemp(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath("vorn4.ini");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write the test file");
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class ProfileIniTest : public QObject {
    Q_OBJECT
private slots:
    void readString_data();
    void readString();
    void readInt_data();
    void readInt();
    void newFileHasOnlyTheWrittenKeysInOrder();
    void saveKeepsForeignContentAndLineEnds();
    void newKeyGoesAfterLastKeyOfItsSection();
    void lineBreaksInValuesCannotInjectKeys();
    void saveCreatesTheFolder();
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
    QTest::newRow("spaces around trimmed, inside kept") << ports << "FORM_HLAV" << "IniDir"
                                                        << "/home/a b/c.ign";
    QTest::newRow("names ignore case") << ports << "ports" << "com3" << "/dev/ttyUSB0";
    QTest::newRow("key of another section") << ports << "PORTS" << "File" << "<none>";
    QTest::newRow("missing section") << ports << "OTHER" << "COM3" << "<none>";
    QTest::newRow("missing file content") << QByteArray() << "PORTS" << "COM3" << "<none>";
    QTest::newRow("literal arrow key") << QByteArray("[FORM_HLAV]\nPageControl1->ActivePageIndex=2\n")
                                       << "FORM_HLAV" << "PageControl1->ActivePageIndex" << "2";
    QTest::newRow("first duplicate wins") << QByteArray("[A]\nk=1\n[a]\nk=2\n[A]\nK=3\n")
                                          << "A" << "k" << "1";
    QTest::newRow("comment is no key") << QByteArray("[A]\n;k=1\n#k=2\n") << "A" << ";k" << "<none>";
    QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A" << "k" << "<none>";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[A]\nk=v") << "A" << "k" << "v";
    QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A" << "k" << "";
    QTest::newRow("value with equals") << QByteArray("[A]\nk=a=b\n") << "A" << "k" << "a=b";
    QTest::newRow("utf-8 value") << QByteArray("[A]\nk=/home/p\xC5\x99\xC3\xAD/x.ign\n") << "A" << "k"
                                 << QString::fromUtf8("/home/p\xC5\x99\xC3\xAD/x.ign");
}

void ProfileIniTest::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const ProfileIni ini(writeTemp(dir, file));
    QCOMPARE(ini.readString(section, key, "<none>"), expected);
}

void ProfileIniTest::readInt_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("257") << 257;
    QTest::newRow("negative, spaces") << QByteArray("  -3 ") << -3;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("text") << QByteArray("abc") << -99;
    QTest::newRow("digits then text") << QByteArray("12abc") << -99;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("sign only") << QByteArray("-") << -99;
    QTest::newRow("inner space") << QByteArray("1 2") << -99;
    QTest::newRow("beyond 64 bits") << QByteArray("99999999999999999999") << -99;
    QTest::newRow("beyond 32 bits keeps low bits") << QByteArray("4294967297") << 1;
}

void ProfileIniTest::readInt()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const ProfileIni ini(writeTemp(dir, "[S]\r\nK=" + value + "\r\n"));
    QCOMPARE(ini.readInt("S", "K", -99), expected);
    QCOMPARE(ini.readInt("S", "Missing", -99), -99);
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
    QCOMPARE(readAll(ini.path()), QByteArray("[FORM_HLAV]\r\nTop=5\r\nLeft=-20\r\nFile=C:\\data\\x.dat\r\n"
                                             "PageControl1->ActivePageIndex=1\r\n"));
    const ProfileIni again(ini.path());
    QCOMPARE(again.readString("FORM_HLAV", "File"), QString("C:\\data\\x.dat"));
}

void ProfileIniTest::saveKeepsForeignContentAndLineEnds()
{
    QTemporaryDir dir;
    const QByteArray before = "; written by hand\n[PORTS]\nCOM1=/dev/ttyUSB3\n\n"
                              "[form_hlav]\nleft = 12\n; keep me\nColour=blue\n\n[Other]\nx=\xFF\xFE\n";
    const QString path = writeTemp(dir, before);
    ProfileIni ini(path);
    ini.writeInt("FORM_HLAV", "Left", 40);
    ini.writeInt("FORM_HLAV", "Top", 50);
    QVERIFY(ini.save());
    QCOMPARE(readAll(path), QByteArray("; written by hand\n[PORTS]\nCOM1=/dev/ttyUSB3\n\n"
                                       "[form_hlav]\nLeft=40\n; keep me\nColour=blue\nTop=50\n\n"
                                       "[Other]\nx=\xFF\xFE\n"));
}

void ProfileIniTest::newKeyGoesAfterLastKeyOfItsSection()
{
    QTemporaryDir dir;
    const QString path = writeTemp(dir, "[A]\r\na=1");   // no line break at the end
    ProfileIni ini(path);
    ini.writeString("A", "b", "2");
    ini.writeString("B", "c", "3");
    QVERIFY(ini.save());
    QCOMPARE(readAll(path), QByteArray("[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n"));
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

void ProfileIniTest::saveCreatesTheFolder()
{
    QTemporaryDir dir;
    ProfileIni ini(dir.filePath("deeper/still/vorn4.ini"));
    ini.writeInt("S", "K", 1);
    QVERIFY(ini.save());
    QCOMPARE(readAll(ini.path()), QByteArray("[S]\r\nK=1\r\n"));
}

QTEST_GUILESS_MAIN(ProfileIniTest)
#include "profileini_test.moc"
