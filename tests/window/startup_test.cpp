// Tests of the start-up sequence: command-line language, settings language, test-mode marker.
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "link/Port.h"
#include "files/TestMarker.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandLineLanguage_data();
    void commandLineLanguage();
    void markerWords_data();
    void markerWords();
    void markerFileTurnsTestModeOn();

private:
    void writeFile(const QString &name, const QByteArray &content);
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
};

void StartupTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    // No real serial device is touched: every COM port fails to open.
    testPortOpener = [](const QString &, QString *error) -> std::unique_ptr<vorn::PortIo> {
        if (error)
            *error = QStringLiteral("no port in tests");
        return nullptr;
    };
}

void StartupTest::cleanup()
{
    dir_.reset();
}

void StartupTest::writeFile(const QString &name, const QByteArray &content)
{
    QFile f(dir_->filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void StartupTest::commandLineLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("storedLanguage");
    QTest::addColumn<int>("language");
    QTest::newRow("none keeps stored") << QStringList{} << 2 << 2;
    QTest::newRow("DEUTSCH beats stored 3") << QStringList{"DEUTSCH"} << 3 << 1;
    QTest::newRow("CESKY") << QStringList{"CESKY"} << 0 << 3;
    QTest::newRow("FRANCE") << QStringList{"FRANCE"} << 0 << 2;
    QTest::newRow("ENGLISH") << QStringList{"ENGLISH"} << 3 << 0;
    QTest::newRow("lower case ignored") << QStringList{"deutsch"} << 3 << 3;
    QTest::newRow("appended text ignored") << QStringList{"DEUTSCHX"} << 2 << 2;
    QTest::newRow("second argument ignored") << QStringList{"x", "CESKY"} << 1 << 1;
    QTest::newRow("stored 7 becomes English") << QStringList{} << 7 << 0;
}

void StartupTest::commandLineLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, storedLanguage);
    QFETCH(int, language);
    writeFile("vorn4.ini", QStringLiteral("[FORM_HLAV]\r\nLanguage=%1\r\n").arg(storedLanguage).toLatin1());
    TFormHlav form;
    form.setUserInteraction(&answers_);
    form.setPortOpener(testPortOpener);
    form.FormCreate(arguments);
    QCOMPARE(int(form.LanguageIndex), language);
}

void StartupTest::markerWords_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("unlocks");
    QTest::newRow("alone") << QByteArray("DIAG_UNLOCK") << true;
    QTest::newRow("among words and lines") << QByteArray("one two\n\tDIAG_UNLOCK\r\nthree") << true;
    QTest::newRow("part of a longer word") << QByteArray("DIAG_UNLOCKED xDIAG_UNLOCK") << false;
    QTest::newRow("lower case") << QByteArray("diag_unlock") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("after a 300-character word")
        << (QByteArray(300, 'A') + " DIAG_UNLOCK") << true;
    QTest::newRow("inside a 300-character word")
        << (QByteArray(255, 'A') + "DIAG_UNLOCK" + QByteArray(40, 'B')) << false;
}

void StartupTest::markerWords()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, unlocks);
    QCOMPARE(vorn::markerUnlocks(content), unlocks);
}

void StartupTest::markerFileTurnsTestModeOn()
{
    {
        TFormHlav form;
        form.setUserInteraction(&answers_);
        form.setPortOpener(testPortOpener);
        form.FormCreate({});
        QVERIFY(!form.TestMode);
        QVERIFY(form.ctl<QLabel>("LabelTest1")->isHidden());
    }
    writeFile("test_kvorin.txt", "# developer\nDIAG_UNLOCK\n");
    TFormHlav form;
    form.setUserInteraction(&answers_);
    form.setPortOpener(testPortOpener);
    form.FormCreate({});
    QVERIFY(form.TestMode);
    for (int i = 1; i <= 8; ++i)
        QVERIFY(!form.ctl<QLabel>(QStringLiteral("LabelTest%1").arg(i))->isHidden());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
