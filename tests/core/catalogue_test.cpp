// Tests of the message and caption catalogues: exact texts, composed rows, non-ASCII letters.
#include "lang/Jazyk1.h"
#include "lang/Jazyk2.h"

#include <QSet>
#include <QTest>

using vorn::CaptionProperty;
using vorn::Msg;

Q_DECLARE_METATYPE(Msg)
Q_DECLARE_METATYPE(CaptionProperty)

namespace {

QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

}  // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void pickupErrorIsPaddedTo40();
    void manualErrorEmbedsTheManualName();
    void captions_data();
    void captions();
    void rowsAreUniqueAndComplete();
    void sharedAndNumberedRows();
};

// Expected texts are spelled with escapes so a wrongly encoded source file cannot agree
// with itself.
void CatalogueTest::messages_data()
{
    QTest::addColumn<Msg>("msg");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("program error en") << Msg::ProgramError << 0 << "Program error!";
    QTest::newRow("program error cz") << Msg::ProgramError << 3 << u16(u"Chyba programov\u00e1n\u00ed");
    QTest::newRow("version de") << Msg::UnmatchedVersion << 1
                                << u16(u"PC-Programm ist mit der Z\u00fcndung nicht kompatiebel!");
    QTest::newRow("version fr") << Msg::UnmatchedVersion << 2
                                << u16(u"Programme du boitier d\u00b4alumage non compatible avec programme PC!");
    QTest::newRow("printing en two spaces") << Msg::DateTimeOfPrinting << 0 << "Date and time of printing:  ";
    QTest::newRow("printing de three spaces") << Msg::DateTimeOfPrinting << 1 << "Zeitpunkt des Ausdruckes   ";
    QTest::newRow("running fr leading space") << Msg::IsRunning << 2 << " fonctionne";
    QTest::newRow("running de") << Msg::IsRunning << 1 << u16(u"l\u00e4uft");
    QTest::newRow("no signal de leading space") << Msg::NoSignal << 1 << " kein Signal";
    QTest::newRow("question cz") << Msg::DefaultSetting << 3 << u16(u"Chcete nastavit z\u00e1kladn\u00ed hodnoty?");
    QTest::newRow("index above 3 reads English") << Msg::Read << 7 << "Read:";
}

void CatalogueTest::messages()
{
    QFETCH(Msg, msg);
    QFETCH(int, language);
    QFETCH(QString, text);
    QCOMPARE(vorn::messageText(msg, language), text);
}

void CatalogueTest::pickupErrorIsPaddedTo40()
{
    const char *const words[] = {"Pick up system error", "Gebersystemehler", "Pick up system error", nullptr};
    for (int language = 0; language < vorn::kLanguageCount; ++language) {
        const QString text = vorn::messageText(Msg::PickupSystemError, language);
        QCOMPARE(text.size(), 40);
        const QString word = words[language] ? QString(words[language])
                                             : u16(u"Chyba v sn\u00edmac\u00edm syst\u00e9mu");
        QCOMPARE(text.trimmed(), word);
        QVERIFY(text.startsWith(word));
    }
}

void CatalogueTest::manualErrorEmbedsTheManualName()
{
    QCOMPARE(vorn::messageText(Msg::ManualError, 0),
             QString("Error by opening file manual_lumenor_vorn_4_en.pdf !"));
    QCOMPARE(vorn::messageText(Msg::ManualError, 2),
             u16(u"Erreur \u00e0 l\u00b4ouvertur du Fichier manual_lumenor_vorn_4_fr.pdf !"));
    QCOMPARE(vorn::manualFileName(1), QString("manual_lumenor_vorn_4_de.pdf"));
    QCOMPARE(vorn::manualFileName(3), QString("manual_lumenor_vorn_4_cz.pdf"));
}


void CatalogueTest::captions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<CaptionProperty>("property");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    const auto C = CaptionProperty::Caption, H = CaptionProperty::Hint, L = CaptionProperty::ListEntry;
    QTest::newRow("title de") << "FormHlav" << C << -1 << 1 << u16(u"Programmierung der VORN-4 Z\u00fcndbox");
    QTest::newRow("save fr") << "MenuSave" << C << -1 << 2 << u16(u"&M\u00e8moriser");
    QTest::newRow("com de") << "MenuCom" << C << -1 << 1 << u16(u"&COM-Anschlu\u00df");
    QTest::newRow("read cz mnemonic inside") << "MenuRead" << C << -1 << 3 << u16(u"\u010c\u00ed&st");
    QTest::newRow("outputs cz") << "LabelPocKanalu" << C << -1 << 3
                                << u16(u"Po\u010det v\u00fdstup\u016f (c\u00edvek)");
    QTest::newRow("bike 9 en trailing space") << "ComboBoxBike" << L << 9 << 0 << "Classic (1 lobe, 1 or 2 pick-up) ";
    QTest::newRow("verify hint en two spaces") << "BitBtnVerify" << H << -1 << 0
                                               << "Compare set parametrs  with parametrs of ignition";
    QTest::newRow("new hint fr trailing space") << "MenuNew" << H << -1 << 2 << u16(u"C\u00e9er nouveaux fichier ");
    QTest::newRow("rpm hint cz two parts") << "LabelRpm1" << H << -1 << 3
                                           << u16(u"Ot\u00e1\u010dky za minutu|Rychlost - Ot\u00e1\u010dky za minutu");
    QTest::newRow("unknown control") << "LabelNowhere" << C << -1 << 0 << QString();
    QTest::newRow("entry not translated") << "ComboBoxBike" << L << 8 << 1 << QString();
}

void CatalogueTest::captions()
{
    QFETCH(QString, control);
    QFETCH(CaptionProperty, property);
    QFETCH(int, entry);
    QFETCH(int, language);
    QFETCH(QString, text);
    const QString found = vorn::captionText(control, property, language, entry);
    QCOMPARE(found, text);
    QCOMPARE(found.isNull(), text.isNull());
}

void CatalogueTest::rowsAreUniqueAndComplete()
{
    QSet<QString> keys;
    bool hintSeen = false;
    for (const vorn::CaptionRow &r : vorn::captionRows()) {
        const QString key = QStringLiteral("%1/%2/%3").arg(r.control).arg(int(r.property)).arg(r.entry);
        QVERIFY2(!keys.contains(key), qPrintable("two rows write " + key));
        keys << key;
        QCOMPARE(r.entry >= 0, r.property == CaptionProperty::ListEntry);
        // Hints come last so every caption is written before any hint.
        if (r.property == CaptionProperty::Hint)
            hintSeen = true;
        else
            QVERIFY2(!hintSeen, qPrintable(key));
    }
    QCOMPARE(vorn::captionRows().front().control, QString("FormHlav"));
    QCOMPARE(vorn::captionRows()[1].control, QString("LabelSpojeni"));
}

void CatalogueTest::sharedAndNumberedRows()
{
    const auto C = CaptionProperty::Caption, H = CaptionProperty::Hint;
    for (int language = 0; language < vorn::kLanguageCount; ++language) {
        for (const auto &[button, item] : {std::pair{"ButtonRead", "MenuRead"}, std::pair{"BitBtnVerify", "MenuVerify"},
                                           std::pair{"BitBtnProgram", "MenuProgram"}}) {
            QCOMPARE(vorn::captionText(button, C, language), vorn::captionText(item, C, language));
            QCOMPARE(vorn::captionText(button, H, language), vorn::captionText(item, H, language));
        }
        QCOMPARE(vorn::captionText("MenuEnglish", H, language), QString("Set English menu"));
        QCOMPARE(vorn::captionText("MenuFrench", H, language), QString("Installer en Francais "));
        QCOMPARE(vorn::captionText("MenuCzech", H, language), u16(u"Nastavit \u010desk\u00e9 menu"));
        for (int ch = 1; ch <= 4; ++ch)
            QCOMPARE(vorn::captionText(QStringLiteral("LabelPalec%1End").arg(ch), C, language),
                     vorn::captionText("LabelPalec1End", C, language));
    }
    QCOMPARE(vorn::captionText("GroupBoxPalec3", C, 3), u16(u"Kan\u00e1l 3"));
    QCOMPARE(vorn::captionText("GroupBoxPalec4", C, 1), QString("Kanal 4"));
    QCOMPARE(vorn::captionText("MenuCom10", H, 0), QString("Set com 10"));
    QCOMPARE(vorn::captionText("MenuCom1", H, 1), u16(u"Com-Anschlu\u00df auswahl 1"));
    QCOMPARE(vorn::captionText("MenuCom7", H, 3), u16(u"Nastaven\u00ed komunikace na port com 7"));
    QVERIFY(vorn::captionText("MenuCom11", H, 0).isNull());
    QVERIFY(vorn::captionText("GroupBoxPalec5", C, 0).isNull());
}



QTEST_GUILESS_MAIN(CatalogueTest)
#include "catalogue_test.moc"
