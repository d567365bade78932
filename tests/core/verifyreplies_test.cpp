// What the unit sent during a failed Verify, compared with the window's image: only the
// blocks that arrived, never the reserved byte the unit keeps for itself, and the blocks
// that did not arrive named.
#include "history/Comparison.h"
#include "link/Session.h"
#include "support/SimPeer.h"

#include <QTest>

class VerifyRepliesTest : public QObject {
    Q_OBJECT
private slots:
    void comparesOnlyWhatTheUnitSent();
};

void VerifyRepliesTest::comparesOnlyWhatTheUnitSent()
{
    const int limiter = vorn::findParameter("limiter")->offset;
    struct Row {
        const char *name;
        bool silentBlocks;             // the unit answers monitor requests only
        std::vector<int> unitChanged;  // offsets where the unit's memory differs from the window
        bool silentRerun;              // Verify again with the unit gone from the line
        std::vector<std::string> keys; // differing parameters shown
        std::vector<int> missing;
    };
    const Row rows[] = {
        // Block 1 echoes alike but for 101; block 2 differs and is repeated until Verify fails.
        {"map differs", false, {101, 250}, false, {"advance_map[5][0]"}, {}},
        // Block 1 differs, so block 2 is never asked for: its difference is not the unit's word.
        {"settings differ", false, {limiter, 101, 250}, false, {"limiter"}, {2}},
        {"no block answered", true, {250}, false, {}, {1, 2}},
        // What an earlier Verify received is gone once the next operation starts.
        {"earlier replies forgotten", false, {250}, true, {}, {1, 2}},
    };
    for (const Row &row : rows) {
        vornsim::Faults faults;
        faults.silentBlocks = row.silentBlocks;
        vornsim::UnitModel unit(faults);
        MemoryPort port;
        attachUnit(port, unit);
        vorn::ParameterImage image;
        std::copy(unit.memory.begin(), unit.memory.end(), image.bytes.begin());
        for (int o : row.unitChanged)
            unit.memory[static_cast<std::size_t>(o)] ^= 0x0F;
        vorn::DeviceSession session(image);
        session.setPort(&port);

        auto verify = [&] {
            session.startVerify();
            vorn::Msg last = vorn::Msg::Count;
            for (int i = 0; i < 200 && session.mode() != vorn::ModeIdle; ++i)
                for (const vorn::LinkEvent &e : session.tick())
                    if (e.kind == vorn::LinkEvent::ShowStatus)
                        last = e.message;
            return last;
        };
        QCOMPARE(verify(), vorn::Msg::VerifyError);
        if (row.silentRerun) {
            port.peer = nullptr;
            QCOMPARE(verify(), vorn::Msg::VerifyError);
        }

        const vorn::VerifyReplies r = vorn::verifyReplies(image, session);
        std::vector<std::string> keys;
        for (const vorn::ParameterDifference &d : vorn::imageDifferences(image, r.unit, r.mask)) {
            keys.push_back(d.parameter->key);
            QCOMPARE(int(d.before), int(image[d.parameter->offset]));
            QCOMPARE(int(d.after), int(unit.memory[static_cast<std::size_t>(d.parameter->offset)]));
        }
        QVERIFY2(keys == row.keys, row.name);
        QVERIFY2(r.missingBlocks == row.missing, row.name);
        QCOMPARE(r.anySent(), row.missing.size() < 2);
        QVERIFY2(!r.mask.test(vorn::Off::Reserved101), row.name);
        QCOMPARE(vorn::verifyRepliesNote(r, 0).isEmpty(), row.missing.empty());
        // The copied text holds the map grid only when the unit sent the map.
        const QString text = vorn::comparisonText({image, r.unit, r.mask}, QStringLiteral("unit"), 0);
        const bool mapSent = std::find(row.missing.begin(), row.missing.end(), 2) == row.missing.end();
        QVERIFY2(text.contains(QStringLiteral("Advance map (differing cells marked)")) == mapSent, row.name);
    }
    // The note names what is missing in the reader's language.
    vorn::VerifyReplies both{{}, {}, {1, 2}};
    QCOMPARE(vorn::verifyRepliesNote(both, 0),
             QString("Not sent by the unit, so not compared: the settings (block 1), the advance map (block 2)."));
}

QTEST_GUILESS_MAIN(VerifyRepliesTest)
#include "verifyreplies_test.moc"
