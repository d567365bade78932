// The status-bar parts that say whether the unit and the file hold the window's image,
// through a Read, edits, a Program, a Save and a write by someone else.
#include "app/Hlav.h"
#include "history/ui/ChangeHistoryUi.h"
#include "history/ui/CompareView.h"
#include "support/ScriptedInteraction.h"
#include "support/SimPeer.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class ChangeTrackingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void statesThroughReadEditProgramSave();
    void verifyErrorOffersWhatTheUnitSent();

private:
    void runToIdle();
    QString unitText() const { return form_->History->unitPart()->text(); }
    QString fileText() const { return form_->History->filePart()->text(); }
    bool unitHolds(const vorn::ParameterImage &img) const
    {
        return std::equal(img.bytes.begin() + 100, img.bytes.end(), unit_->memory.begin() + 100);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
    std::unique_ptr<vornsim::UnitModel> unit_;
};

void ChangeTrackingTest::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    unit_ = std::make_unique<vornsim::UnitModel>();
    TFormHlav::portOpener = [this](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> {
        auto port = std::make_unique<MemoryPort>();
        attachUnit(*port, *unit_);
        return port;
    };
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    form_->Timer1->stop();
}

void ChangeTrackingTest::cleanup()
{
    form_.reset();
    TFormHlav::portOpener = nullptr;
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
        {"edit", "1 changes not programmed", "not saved to a file"},
        {"program", "in sync with unit", "not saved to a file"},
        {"save", "in sync with unit", "map.ign saved"},
        {"edit 2", "2 changes not programmed", "map.ign: 2 changes since saved"},
        {"edit back", "in sync with unit", "map.ign saved"},
        {"undo the read", "1 changes not programmed", "map.ign: 1 changes since saved"},
        {"redo the read", "1 changes not programmed", "map.ign: 1 changes since saved"},
        {"program", "in sync with unit", "map.ign: 1 changes since saved"},
        {"someone else programs", "unit changed", "map.ign: 1 changes since saved"},
        {"verify", "in sync with unit", "map.ign: 1 changes since saved"},
        {"line lost and opened again", "unit not compared", "map.ign: 1 changes since saved"},
        {"german", QString::fromUtf8("Zündung nicht verglichen"), "map.ign: 1 Änderungen seit dem Speichern"},
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
        } else if (what == "line lost and opened again") {
            emit form_->portReconnected();   // another unit may be on the cable now
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
    // The unit holds the window's image but for one map cell and its own reserved byte.
    std::copy(form_->Image.bytes.begin() + 100, form_->Image.bytes.end(), unit_->memory.begin() + 100);
    unit_->memory[vorn::Off::Advance + 10 * 5 + 0] ^= 0x0F;
    unit_->memory[vorn::Off::Reserved101] ^= 0x0F;
    const vorn::ParameterImage before = form_->Image;
    form_->MenuVerifyClick();
    runToIdle();
    QVERIFY(form_->statusBar()->currentMessage().startsWith("Verify error: click the unit part"));
    QVERIFY(form_->History->verifyRepliesOffered());

    QTest::mouseClick(form_->History->unitPart(), Qt::LeftButton);
    QVERIFY(!form_->History->comparingWithUnit());   // nothing is read again
    CompareView *view = form_->History->compareView();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->windowTitle(), QString("Comparison: blocks the unit sent"));
    QCOMPARE(view->list()->rowCount(), 1);
    QCOMPARE(view->grid()->item(vorn::kMapSize - 1 - 5, 0)->data(Qt::UserRole).toBool(), true);
    QVERIFY(form_->Image.bytes == before.bytes);

    // Once the image changed, the unit part reads the unit again.
    form_->Image.limiter2() = static_cast<std::uint8_t>(form_->Image.limiter2() + 1);
    form_->AfterEdit();
    QVERIFY(!form_->History->verifyRepliesOffered());
    QTest::mouseClick(form_->History->unitPart(), Qt::LeftButton);
    QVERIFY(form_->History->comparingWithUnit());
}

QTEST_MAIN(ChangeTrackingTest)
#include "changetracking_test.moc"
