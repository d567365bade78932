// The status-bar parts that say whether the unit and the file hold the window's image,
// through a Read, edits, a Program, a Save and a write by someone else.
#include "app/Hlav.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareUi.h"
#include "history/ui/ChangeTrackingUi.h"
#include "history/ui/CompareView.h"
#include "link/PortPath.h"
#include "support/ScriptedInteraction.h"
#include "support/SimPeer.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

class ChangeTrackingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void statesThroughReadEditProgramSave();
    void verifyErrorOffersWhatTheUnitSent();
    void unitPartIsAClaimAboutTheUnit_data();
    void unitPartIsAClaimAboutTheUnit();

private:
    void runToIdle();
    ChangeHistoryUi &history() const { return ChangeHistoryUi::of(form_->History); }
    QString unitText() const { return history().tracking().unitPart()->text(); }
    QString fileText() const { return history().tracking().filePart()->text(); }
    bool unitHolds(const vorn::ParameterImage &img) const
    {
        return std::equal(img.bytes.begin() + 100, img.bytes.end(), unit_->memory.begin() + 100);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
    std::unique_ptr<vornsim::UnitModel> unit_;
    std::unique_ptr<vornsim::UnitModel> com2Unit_;   // another unit, on Com 2
    MemoryPort *port_ = nullptr;                     // the port opened last
};

void ChangeTrackingTest::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    unit_ = std::make_unique<vornsim::UnitModel>();
    com2Unit_ = std::make_unique<vornsim::UnitModel>();
    testPortOpener = [this](const QString &device, QString *) -> std::unique_ptr<vorn::PortIo> {
        auto port = std::make_unique<MemoryPort>();
        attachUnit(*port, device == vorn::comDevicePath(2) ? *com2Unit_ : *unit_);
        port_ = port.get();
        return port;
    };
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->setPortOpener(testPortOpener);
    form_->FormCreate({});
    form_->Timer1->stop();
}

void ChangeTrackingTest::cleanup()
{
    form_.reset();
    testPortOpener = nullptr;
    dir_.reset();
}

void ChangeTrackingTest::runToIdle()
{
    for (int i = 0; i < 12; ++i)   // at least one monitor request
        form_->Timer1Timer();
    for (int i = 0; i < 200 && form_->Session.mode() != vorn::ModeIdle; ++i)
        form_->Timer1Timer();
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    for (int i = 0; i < 12; ++i)
        form_->Timer1Timer();
}

void ChangeTrackingTest::statesThroughReadEditProgramSave()
{
    struct Step {
        const char *what;
        QString unit, file;
    };
    const QString saved = dir_->filePath("map.ign");
    const std::vector<Step> steps = {
        {"start", "unit not compared", "not saved to a file"},
        {"read", "in sync with unit", "not saved to a file"},
        {"edit", "1 change not programmed", "not saved to a file"},
        {"program", "in sync with unit", "not saved to a file"},
        {"save", "in sync with unit", "map.ign saved"},
        {"edit 2", "2 changes not programmed", "map.ign: 2 changes since saved"},
        {"edit back", "in sync with unit", "map.ign saved"},
        {"undo the read", "1 change not programmed", "map.ign: 1 change since saved"},
        {"redo the read", "1 change not programmed", "map.ign: 1 change since saved"},
        {"program", "in sync with unit", "map.ign: 1 change since saved"},
        {"someone else programs", "unit changed", "map.ign: 1 change since saved"},
        {"verify", "in sync with unit", "map.ign: 1 change since saved"},
        {"port opened again", "unit not compared", "map.ign: 1 change since saved"},
        {"german", QString::fromUtf8("Zündung nicht verglichen"), "map.ign: 1 Änderung seit dem Speichern"},
    };
    // The unit holds the window's start-up image but for the limiter.
    std::copy(form_->Image.bytes.begin() + 100, form_->Image.bytes.end(), unit_->memory.begin() + 100);
    unit_->memory[vorn::Off::Limiter2] = 123;
    vorn::ParameterImage beforeRead;
    for (const Step &s : steps) {
        const QByteArray what = s.what;
        if (what == "read") {
            beforeRead = form_->Image;
            form_->MenuReadClick();
            runToIdle();
            QVERIFY(unitHolds(form_->Image));
        } else if (what == "edit") {
            form_->Image.limiter2() = 100;
            form_->AfterEdit();
        } else if (what == "edit 2") {
            form_->Image.limiter2() = 95;
            form_->Image.baseAdv() = 5;
            form_->AfterEdit();
        } else if (what == "edit back") {
            form_->Image.limiter2() = 100;
            form_->Image.baseAdv() = beforeRead.baseAdv();
            form_->AfterEdit();
        } else if (what == "program") {
            form_->MenuProgramClick();
            runToIdle();
            QVERIFY(unitHolds(form_->Image));
        } else if (what == "save") {
            answers_.fileAnswers << saved;
            form_->MenuSaveClick();
        } else if (what == "undo the read") {
            // Back through "edit back", "edit 2" and "edit" to before the Read.
            for (int i = 0; i < 4; ++i)
                form_->action("MenuUndo")->trigger();
            QCOMPARE(form_->Image.limiter2(), beforeRead.limiter2());
        } else if (what == "redo the read") {
            form_->action("MenuRedo")->trigger();
            QCOMPARE(int(form_->Image.limiter2()), 123);
        } else if (what == "someone else programs") {
            ++unit_->programCount;
            runToIdle();
        } else if (what == "verify") {
            form_->MenuVerifyClick();
            runToIdle();
        } else if (what == "port opened again") {
            form_->action("MenuCom1")->trigger();   // another unit may be on the cable now
        } else if (what == "german") {
            form_->selectLanguage(1);
        }
        QVERIFY2(unitText() == s.unit, qPrintable(what + ": " + unitText()));
        QVERIFY2(fileText() == s.file, qPrintable(what + ": " + fileText()));
    }
    // Both parts sit on the right, the hint area keeps the rest of the bar.
    form_->ShowHintInStatusBar(QStringLiteral("hint"));
    QCOMPARE(form_->statusBar()->currentMessage(), QString("hint"));
}

void ChangeTrackingTest::verifyErrorOffersWhatTheUnitSent()
{
    // Read, then the unit's memory changes behind the window's back in one map cell and its
    // own reserved byte, then Verify.
    std::copy(form_->Image.bytes.begin() + 100, form_->Image.bytes.end(), unit_->memory.begin() + 100);
    form_->MenuReadClick();
    runToIdle();
    QCOMPARE(unitText(), QString("in sync with unit"));
    unit_->memory[vorn::Off::Advance + 10 * 5 + 0] ^= 0x0F;
    unit_->memory[vorn::Off::Reserved101] ^= 0x0F;
    const vorn::ParameterImage before = form_->Image;
    form_->MenuVerifyClick();
    runToIdle();
    QVERIFY(history().tracking().verifyRepliesOffered());
    // The unit part now speaks of what the unit sent, and carries the offer; the hint panel
    // shows hints only.
    QVERIFY2(unitText().startsWith("1 change not programmed"), qPrintable(unitText()));
    QVERIFY2(history().tracking().unitPart()->toolTip().startsWith("Verify error: click the unit part"),
             qPrintable(history().tracking().unitPart()->toolTip()));
    QVERIFY(!form_->statusBar()->currentMessage().startsWith("Verify error"));
    form_->selectLanguage(3);
    QVERIFY2(history().tracking().unitPart()->toolTip().startsWith(QString::fromUtf8("Chyba verifikace")),
             qPrintable(history().tracking().unitPart()->toolTip()));
    form_->selectLanguage(0);

    QTest::mouseClick(history().tracking().unitPart(), Qt::LeftButton);
    QVERIFY(!history().compare().comparingWithUnit());   // nothing is read again
    CompareView *view = history().compare().compareView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->windowTitle(), QString("Comparison: blocks the unit sent"));
    QCOMPARE(view->list()->rowCount(), 1);
    QCOMPARE(view->grid()->item(5, 0)->data(Qt::UserRole).toBool(), true);   // row 5 as on the page
    QVERIFY(form_->Image.bytes == before.bytes);

    // Once the image changed, the unit part reads the unit again.
    form_->Image.limiter2() = static_cast<std::uint8_t>(form_->Image.limiter2() + 1);
    form_->AfterEdit();
    QVERIFY(!history().tracking().verifyRepliesOffered());
    QTest::mouseClick(history().tracking().unitPart(), Qt::LeftButton);
    QVERIFY(history().compare().comparingWithUnit());
}

void ChangeTrackingTest::unitPartIsAClaimAboutTheUnit_data()
{
    QTest::addColumn<QString>("after");
    QTest::newRow("Com 2 chosen after a Read on Com 1") << "com 2";
    QTest::newRow("a Program cut off after block 1") << "program cut off";
}

void ChangeTrackingTest::unitPartIsAClaimAboutTheUnit()
{
    QFETCH(QString, after);
    // Both units hold the window's start-up image; the window reads the one on Com 1.
    std::copy(form_->Image.bytes.begin() + 100, form_->Image.bytes.end(), unit_->memory.begin() + 100);
    com2Unit_->memory = unit_->memory;
    form_->MenuReadClick();
    runToIdle();
    QCOMPARE(unitText(), QString("in sync with unit"));
    const vorn::ParameterImage read = form_->Image;

    if (after == "com 2") {
        form_->action("MenuCom2")->trigger();
        QCOMPARE(unitText(), QString("unit not compared"));
        runToIdle();
        QCOMPARE(unitText(), QString("unit not compared"));
    } else {
        // An edit in each block, then Program; the ignition goes off once block 1 is stored.
        form_->Image.limiter2() = static_cast<std::uint8_t>(form_->Image.limiter2() - 2);
        form_->Image.advance(3, 3) = static_cast<std::uint8_t>(form_->Image.advance(3, 3) + 2);
        form_->AfterEdit();
        form_->MenuProgramClick();
        for (int i = 0; i < 200 && unit_->memory[vorn::Off::Limiter2] != form_->Image.limiter2(); ++i)
            form_->Timer1Timer();
        QCOMPARE(unit_->memory[vorn::Off::Limiter2], form_->Image.limiter2());
        QVERIFY(unit_->memory[vorn::Off::Advance + 33] != form_->Image.advance(3, 3));
        port_->peer = nullptr;
        runToIdle();
        QCOMPARE(unitText(), QString("unit holds a partial image"));
        // Undo back to the image read: the unit holds neither it nor the edit.
        form_->action("MenuUndo")->trigger();
        QCOMPARE(form_->Image, read);
        QCOMPARE(unitText(), QString("unit holds a partial image"));
        form_->action("MenuRedo")->trigger();
        QCOMPARE(unitText(), QString("unit holds a partial image"));
    }
}

QTEST_MAIN(ChangeTrackingTest)
#include "changetracking_test.moc"
