// Window tests of switching languages: menus, lists, placeholders, live texts, every catalogue row, hints.
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "lang/Jazyk1.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <map>
#include <memory>

namespace {

const char *const kLanguageItems[] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};

QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

// The file dialogs are the toolkit's own and speak the system's language.
bool inDialog(const QObject *o)
{
    for (; o; o = o->parent())
        if (qobject_cast<const QDialog *>(o))
            return true;
    return false;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void germanMenus();
    void frenchSynchronisation();
    void listsKeepSelectionAndEntries_data();
    void listsKeepSelectionAndEntries();
    void placeholders_data();
    void placeholders();
    void connectedUnitKeepsLiveTexts();
    void everyRowReachesItsControl_data();
    void everyRowReachesItsControl();
    void roundTripRestoresEnglishExactly();
    void everyShownTextIsTranslatedOrFixed();
    void hintsReachTheStatusBar();

private:
    void choose(int language) { form_->action(kLanguageItems[language])->trigger(); }
    QString caption(QObject *o) const;
    std::map<QString, QString> snapshot() const;

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
};

void LanguageTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_.answer = 0;
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    // No unit answers in these tests; the timer would only repeat that, so the tests set the
    // connection label themselves.
    form_->Timer1->stop();
    form_->ctl<QWidget>("LabelSpojeni")->show();
}

void LanguageTest::cleanup()
{
    form_->close();
    form_.reset();
    dir_.reset();
}

// The visible text of a caption row's control, read the way the user sees it.
QString LanguageTest::caption(QObject *o) const
{
    if (o == form_.get())
        return form_->windowTitle();
    if (auto *m = qobject_cast<QMenu *>(o))
        return m->title();
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    if (auto *w = qobject_cast<QWidget *>(o); w && tabs->indexOf(w) >= 0)
        return tabs->tabText(tabs->indexOf(w));
    return QStringLiteral("<no caption>");
}

// Every text of the window: captions, list entries, tooltips and status-bar hints.
std::map<QString, QString> LanguageTest::snapshot() const
{
    std::map<QString, QString> texts;
    texts["title"] = form_->windowTitle();
    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    for (int i = 0; i < tabs->count(); ++i)
        texts["tab " + QString::number(i)] = tabs->tabText(i);
    for (QObject *o : form_->findChildren<QObject *>()) {
        const QString name = o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName();
        if (qobject_cast<QLabel *>(o) || qobject_cast<QAbstractButton *>(o) || qobject_cast<QGroupBox *>(o)
            || qobject_cast<QMenu *>(o) || qobject_cast<QAction *>(o))
            texts[name + " text"] = caption(o);
        if (auto *w = qobject_cast<QWidget *>(o)) {
            texts[name + " tip"] = w->toolTip();
            texts[name + " status"] = w->statusTip();
        }
        if (auto *a = qobject_cast<QAction *>(o)) {
            texts[name + " action tip"] = a->toolTip();
            texts[name + " action status"] = a->statusTip();
        }
        if (auto *c = qobject_cast<QComboBox *>(o))
            for (int i = 0; i < c->count(); ++i)
                texts[name + " entry " + QString::number(i)] = c->itemText(i);
    }
    return texts;
}

void LanguageTest::germanMenus()
{
    choose(1);
    auto texts = [&](const char *menu) {
        QStringList out;
        for (QAction *a : form_->ctl<QMenu>(menu)->actions())
            if (!a->isSeparator() && a->objectName() != QLatin1String("MenuRestorePoints")   // added items
                && a->objectName() != QLatin1String("MenuArchive"))
                out << a->text();
        return out;
    };
    QCOMPARE(form_->ctl<QMenu>("MenuFile")->title(), QString("&Datei"));
    QCOMPARE(texts("MenuFile"),
             (QStringList{"&Neu", u16(u"&\u00d6ffnen"), "&Speichern", "&Drucken", "Drucken alles", "&Beenden"}));
    QCOMPARE(texts("MenuLanguage"), (QStringList{"Englisch", "&Deutsch", u16(u"&Franz\u00f6sisch"), "&Tschechisch"}));
    QCOMPARE(texts("MenuDevice"), (QStringList{"&Lesen", "&Vergleichen", "&Programmieren"}));
    QCOMPARE(form_->ctl<QAbstractButton>("ButtonRead")->text(), QString("&Lesen"));
    QCOMPARE(form_->windowTitle(), u16(u"Programmierung der VORN-4 Z\u00fcndbox"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(form_->action(kLanguageItems[i])->isChecked(), i == 1);
    QCOMPARE(int(form_->LanguageIndex), 1);

    // Choosing the language already shown writes every text again and keeps its mark.
    form_->ctl<QLabel>("LabelOmez2")->setText("stale");
    form_->ctl<QComboBox>("ComboBoxBike")->setItemText(26, "stale");
    choose(1);
    QCOMPARE(form_->ctl<QLabel>("LabelOmez2")->text(), QString("Begrenzer [rpm]"));
    QCOMPARE(form_->ctl<QComboBox>("ComboBoxBike")->itemText(26), QString("Sonderstellung"));
    QVERIFY(form_->action("MenuGerman")->isChecked());
}

void LanguageTest::frenchSynchronisation()
{
    choose(2);
    QCOMPARE(form_->ctl<QLabel>("LabelSynchro")->text(), QString("Synchronization method"));
    auto *sync = form_->ctl<QComboBox>("ComboBoxSynchro");
    QStringList entries;
    for (int i = 0; i < sync->count(); ++i)
        entries << sync->itemText(i);
    QCOMPARE(entries, (QStringList{"1 lobe, 1 or 2 pick-up", "Short gap between lobes (inserted lobe)", "Wide lobe",
                                   "Long gap between lobes (missing lobe)", "2 pick-ups, missing lobe",
                                   "2 short gaps between lobes (inserted lobe)"}));
    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    QCOMPARE(tabs->tabText(0), QString("&Divergeant"));
    QCOMPARE(tabs->tabText(3), QString("Servo"));
    QCOMPARE(form_->ctl<QGroupBox>("GroupBoxPalec2")->title(), QString("Channel 2"));
}

void LanguageTest::listsKeepSelectionAndEntries_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("bike");
    QTest::addColumn<int>("sync");
    QTest::newRow("German, special") << 1 << 26 << 3;
    QTest::newRow("French, classic") << 2 << 9 << 0;
    QTest::newRow("Czech, a model") << 3 << 22 << -1;
    QTest::newRow("English, special") << 0 << 26 << 5;
}

void LanguageTest::listsKeepSelectionAndEntries()
{
    QFETCH(int, language);
    QFETCH(int, bike);
    QFETCH(int, sync);
    auto *bikes = form_->ctl<QComboBox>("ComboBoxBike");
    auto *syncs = form_->ctl<QComboBox>("ComboBoxSynchro");
    if (language == 0)
        choose(3);   // come to English from another language
    bikes->setCurrentIndex(bike);
    if (sync >= 0)
        syncs->setCurrentIndex(sync);
    form_->ReadParameters();
    const int syncShown = syncs->currentIndex();
    QStringList before;
    for (int i = 0; i < bikes->count(); ++i)
        before << bikes->itemText(i);

    choose(language);
    QCOMPARE(bikes->count(), 27);
    QCOMPARE(bikes->currentIndex(), bike);
    QCOMPARE(syncs->count(), 6);
    QCOMPARE(syncs->currentIndex(), syncShown);
    for (int i = 0; i < 27; ++i) {
        if (i == 9 || i == 26)
            QCOMPARE(bikes->itemText(i), vorn::captionText("ComboBoxBike", vorn::CaptionProperty::ListEntry, language, i));
        else
            QCOMPARE(bikes->itemText(i), before[i]);
    }
}

void LanguageTest::placeholders_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("advance");
    QTest::addColumn<QStringList>("others");   // count, blocking, pick-ups 1 and 2, servo, pilot light
    const QString deg = u16(u"\u00b0");
    auto advance = [&](const QString &word) {
        QStringList out;
        for (int ch = 1; ch <= 4; ++ch)
            out << QStringLiteral("%1 %2 = --- [%3]").arg(word).arg(ch).arg(deg);
        return out;
    };
    QTest::newRow("French") << 2 << advance("Avance")
                            << QStringList{"Nombre de programmations= ---", "Blocage -  1 ---", "Capteur(CKPS) 1 ---",
                                           "Capteur(CKPS) 2 ---", "Servo desired= ---", "Servo measured= ---",
                                           u16(u"Retard \u00e0 l\u00b4allumage ---")};
    QTest::newRow("Czech") << 3 << advance(u16(u"P\u0159edstih"))
                           << QStringList{u16(u"Po\u010det programov\u00e1n\u00ed= ---"), u16(u"Blokov\u00e1n\u00ed 1 ---"),
                                          u16(u"Sn\u00edma\u010d (CKPS) 1 ---"), u16(u"Sn\u00edma\u010d (CKPS) 2 ---"),
                                          u16(u"Servo po\u017eadovan\u00e9= ---"), u16(u"Servo m\u011b\u0159en\u00e9= ---"),
                                          u16(u"Kontrolka \u0159azen\u00ed ---")};
}

void LanguageTest::placeholders()
{
    QFETCH(int, language);
    QFETCH(QStringList, advance);
    QFETCH(QStringList, others);
    choose(language);
    for (int ch = 1; ch <= 4; ++ch)
        QCOMPARE(form_->ctl<QLabel>(QStringLiteral("LabelAdvance%1").arg(ch))->text(), advance[ch - 1]);
    const char *const labels[] = {"LabelPocetProgramovani", "LabelBlocking1", "LabelMonSnimac1", "LabelMonSnimac2",
                                  "LabelPriveraPoz", "LabelPriveraMer", "LabelMonPilotLight"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(form_->ctl<QLabel>(labels[i])->text(), others[i]);
}

// While frames arrive the monitor owns the live labels: a language change leaves them, and a
// message already on screen, as they are; only the slots change for the next message.
void LanguageTest::connectedUnitKeepsLiveTexts()
{
    form_->ctl<QWidget>("LabelSpojeni")->hide();
    const char *const live[] = {"LabelBlocking1", "LabelMonSnimac1", "LabelPriveraPoz", "LabelMonPilotLight",
                                "LabelPocetProgramovani", "LabelAdvance3", "LabelHlaseni"};
    for (const char *name : live)
        form_->ctl<QLabel>(name)->setText(QStringLiteral("%1 live").arg(name));
    form_->ctl<QLabel>("LabelHlaseni")->setText(form_->Messages[vorn::Msg::ProgramError]);

    choose(1);
    for (const char *name : live)
        if (QString(name) != "LabelHlaseni")
            QCOMPARE(form_->ctl<QLabel>(name)->text(), QStringLiteral("%1 live").arg(name));
    QCOMPARE(form_->ctl<QLabel>("LabelHlaseni")->text(), QString("Program error!"));
    QCOMPARE(form_->ctl<QLabel>("LabelAdvance1")->text(), u16(u"Vorz\u00fcndung [\u00b0]"));
    QCOMPARE(form_->ctl<QLabel>("LabelAdvance2")->text(), u16(u"Vorz\u00fcndung [\u00b0]"));
    QCOMPARE(form_->Messages[vorn::Msg::ProgramError], QString("Programmier Fehler"));
    QCOMPARE(form_->Messages[vorn::Msg::GearShiftLight], QString("Schaltblitz"));
    QCOMPARE(form_->Messages.manualFileName, QString("manual_lumenor_vorn_4_de.pdf"));
}

void LanguageTest::everyRowReachesItsControl_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("German") << 1;
    QTest::newRow("French") << 2;
    QTest::newRow("Czech") << 3;
}

void LanguageTest::everyRowReachesItsControl()
{
    QFETCH(int, language);
    form_->ctl<QWidget>("LabelSpojeni")->hide();   // no placeholders over the live-label captions
    if (language == 0)
        choose(2);
    choose(language);
    QStringList wrong;
    for (const vorn::CaptionRow &row : vorn::captionRows()) {
        QObject *o = form_->captionTarget(row.control);
        if (!o) {
            wrong << row.control + ": no such control";
            continue;
        }
        const QString &want = row.text[language];
        QString got;
        switch (row.property) {
        case vorn::CaptionProperty::Caption:
            got = caption(o);
            break;
        case vorn::CaptionProperty::ListEntry:
            got = qobject_cast<QComboBox *>(o)->itemText(row.entry);
            break;
        case vorn::CaptionProperty::Hint: {
            // Tooltip before the first bar, status-bar text after it; without a bar both.
            const int bar = want.indexOf('|');
            const QString shortHint = bar < 0 ? want : want.left(bar);
            const QString longHint = bar < 0 ? want : want.mid(bar + 1);
            auto *a = qobject_cast<QAction *>(o);
            if (auto *m = qobject_cast<QMenu *>(o))
                a = m->menuAction();
            const QString tip = a ? a->toolTip() : qobject_cast<QWidget *>(o)->toolTip();
            const QString status = a ? a->statusTip() : qobject_cast<QWidget *>(o)->statusTip();
            got = tip == shortHint && status == longHint ? want : tip + " / " + status;
            break;
        }
        }
        if (got != want || got.isEmpty())
            wrong << QStringLiteral("%1 (%2): \"%3\" instead of \"%4\"").arg(row.control).arg(int(row.property)).arg(got, want);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
}

void LanguageTest::roundTripRestoresEnglishExactly()
{
    const auto english = snapshot();
    for (int language : {1, 2, 3}) {
        choose(language);
        QVERIFY(snapshot() != english);
    }
    choose(0);
    const auto back = snapshot();
    QStringList changed;
    for (const auto &[key, text] : english)
        if (back.count(key) == 0 || back.at(key) != text)
            changed << QStringLiteral("%1: \"%2\" became \"%3\"").arg(key, text, back.count(key) ? back.at(key) : "-");
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
    QCOMPARE(back.size(), english.size());
}

// A control the catalogue forgot would keep its design text (partly Czech) in every language.
void LanguageTest::everyShownTextIsTranslatedOrFixed()
{
    QSet<QString> translated;
    for (const vorn::CaptionRow &row : vorn::captionRows())
        if (row.property == vorn::CaptionProperty::Caption)
            translated << row.control;
    // The Log menu writes its own texts in four languages (datalog/ui/DatalogTexts.cpp).
    translated << "MenuLog";
    for (QAction *a : form_->findChild<QMenu *>("MenuLog")->actions())
        translated << a->objectName();
    // The same in every language, or written by the live monitor, the link or the files.
    QSet<QString> fixed = {"GroupBoxTps", "LabelTps0", "LabelTps100", "BitBtnTps0", "BitBtnTps100",
                           "CheckBoxAktClutch", "LabelRpm1", "CheckBoxTpsMapa", "Label5", "Label6",
                           "BitBtnAdvMinus", "BitBtnAdvPlus", "BitBtnServoMinus", "BitBtnServoPlus",
                           "AdvanceMinus", "AdvancePlus", "LabelRpm", "LabelTpsMon", "LabelNapeti",
                           "LabelClutchMon", "LabelHlaseni", "LabelVerze1", "LabelVerze2", "LabelVerze3",
                           "LabelFile2", "LabelPocetProgramovani", "LabelAdvance3", "LabelAdvance4",
                           "LabelMonSnimac1", "LabelMonSnimac2", "LabelPriveraPoz", "LabelPriveraMer",
                           "LabelBlocking1", "LabelMonPilotLight"};
    for (int k = 1; k <= 10; ++k) {
        fixed << QStringLiteral("LabelTps%1").arg(k) << QStringLiteral("MenuCom%1").arg(k);
        if (k <= 8)
            fixed << QStringLiteral("LabelTest%1").arg(k);
    }
    // Controls added beside the catalogue translate themselves on languageChanged; their
    // text must then differ in German.
    QList<QPair<QObject *, QString>> candidates;
    auto check = [&](QObject *o, const QString &text) {
        if (!text.isEmpty() && !translated.contains(o->objectName()) && !fixed.contains(o->objectName()))
            candidates.append({o, text});
    };
    for (QObject *o : form_->findChildren<QObject *>()) {
        if (inDialog(o))
            continue;
        if (qobject_cast<QLabel *>(o) || qobject_cast<QGroupBox *>(o) || qobject_cast<QMenu *>(o)
            || (qobject_cast<QAction *>(o) && !qobject_cast<QAction *>(o)->isSeparator()
                && !qobject_cast<QAction *>(o)->menu())
            || (qobject_cast<QAbstractButton *>(o) && !o->inherits("QToolButton")))
            check(o, caption(o));
    }
    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    for (int i = 0; i < tabs->count(); ++i)
        check(tabs->widget(i), tabs->tabText(i));
    choose(1);
    QStringList forgotten;
    for (const auto &[o, text] : candidates)
        if (caption(o) == text)
            forgotten << QStringLiteral("%1 \"%2\"").arg(o->objectName(), text);
    QVERIFY2(forgotten.isEmpty(), qPrintable(forgotten.join('\n')));
}

void LanguageTest::hintsReachTheStatusBar()
{
    auto *bar = form_->ctl<QStatusBar>("StatusBar1");
    auto *rpm = form_->ctl<QLabel>("LabelRpm1");
    auto hover = [&](QWidget *w) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &enter);
    };

    choose(3);
    QCOMPARE(rpm->toolTip(), u16(u"Ot\u00e1\u010dky za minutu"));
    hover(rpm);
    QCOMPARE(bar->currentMessage(), u16(u"Rychlost - Ot\u00e1\u010dky za minutu"));

    choose(1);
    QCOMPARE(rpm->toolTip(), QString("Umdrehungen pro Minute"));
    hover(rpm);
    QCOMPARE(bar->currentMessage(), QString("Umdrehungen pro Minute"));
    hover(form_->ctl<QWidget>("CheckBoxProgHned"));
    QCOMPARE(bar->currentMessage(), u16(u"Programmmieren sofort nach dem \u00e4nderung"));

    // A highlighted menu item puts its hint in the status bar as well.
    choose(2);
    auto *file = form_->ctl<QMenu>("MenuFile");
    file->setActiveAction(form_->action("MenuOpen"));
    QCOMPARE(bar->currentMessage(), u16(u"Ouvrir fichier avec param\u00e8tres"));
    file->setActiveAction(form_->action("MenuExit"));
    QCOMPARE(bar->currentMessage(), QString("Sortir du programme"));

    // So does a menu title as its menu opens.
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QMenuBar *menus = form_->menuBar();
    QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(form_->action("MenuLanguage")).center());
    QCOMPARE(bar->currentMessage(), QString("Installer lange; Englais,Allemand , Francais ou Czech"));
    form_->ctl<QMenu>("MenuLanguage")->hide();

    // The language items keep their own hints in every language.
    for (int language : {0, 1, 2, 3}) {
        choose(language);
        QCOMPARE(form_->action("MenuGerman")->statusTip(), u16(u"Deutsches Men\u00fc"));
        QCOMPARE(form_->action("MenuEnglish")->toolTip(), QString("Set English menu"));
        QCOMPARE(form_->action("MenuFrench")->statusTip(), QString("Installer en Francais "));
    }
}


QTEST_MAIN(LanguageTest)
#include "language_test.moc"
