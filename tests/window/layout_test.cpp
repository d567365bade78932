// Window tests that every text fits its place at the design size, in each language and page.
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "app/UpDown.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const char *const kLanguageItems[] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QString visibleText(QString text)
{
    // "&&" shows one ampersand, a single "&" only underlines the next letter.
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text;
}

QString describe(const QWidget *w, const QString &what)
{
    return QStringLiteral("%1 (%2): %3").arg(w->objectName(), QString(w->metaObject()->className()), what);
}

// What would be cut off in this widget, or an empty string.
QString cutOff(const QWidget *w)
{
    const QSize size = w->size();
    if (auto *l = qobject_cast<const QLabel *>(w)) {
        if (l->text().isEmpty() || !l->pixmap().isNull())
            return {};
        if (l->wordWrap()) {
            const int need = l->heightForWidth(size.width());
            return need > size.height() ? describe(w, QStringLiteral("wrapped text needs %1 px height, has %2")
                                                          .arg(need).arg(size.height()))
                                        : QString();
        }
        const QSize need = l->sizeHint();
        if (need.width() > size.width() || l->minimumSizeHint().height() > size.height())
            return describe(w, QStringLiteral("\"%1\" needs %2x%3, has %4x%5")
                                   .arg(l->text()).arg(need.width()).arg(need.height())
                                   .arg(size.width()).arg(size.height()));
        return {};
    }
    if (auto *c = qobject_cast<const QCheckBox *>(w)) {
        if (!c->text().isEmpty() && c->sizeHint().width() > size.width())
            return describe(w, QStringLiteral("\"%1\" needs %2 px, has %3").arg(c->text()).arg(c->sizeHint().width()).arg(size.width()));
        return {};
    }
    if (auto *b = qobject_cast<const QPushButton *>(w)) {
        // The style draws the caption inside the button's contents rectangle, clipped to it.
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const int room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b).width();
        const int need = b->fontMetrics().horizontalAdvance(visibleText(b->text()));
        if (need > room)
            return describe(w, QStringLiteral("\"%1\" needs %2 px, has %3").arg(b->text()).arg(need).arg(room));
        return {};
    }
    if (auto *g = qobject_cast<const QGroupBox *>(w)) {
        if (g->minimumSizeHint().width() > size.width() || g->minimumSizeHint().height() > size.height())
            return describe(w, QStringLiteral("\"%1\" needs %2x%3, has %4x%5")
                                   .arg(g->title()).arg(g->minimumSizeHint().width()).arg(g->minimumSizeHint().height())
                                   .arg(size.width()).arg(size.height()));
        return {};
    }
    if (auto *c = qobject_cast<const QComboBox *>(w)) {
        if (c->sizeHint().width() > size.width())
            return describe(w, QStringLiteral("entries need %1 px, has %2").arg(c->sizeHint().width()).arg(size.width()));
        return {};
    }
    if (auto *t = qobject_cast<const QTabBar *>(w)) {
        if (t->sizeHint().width() > size.width())
            return describe(w, QStringLiteral("tabs need %1 px, have %2").arg(t->sizeHint().width()).arg(size.width()));
        return {};
    }
    return {};
}

// The width a line edit needs for a text (its frame and its 2-pixel inner margins).
int editNeeds(const QLineEdit *e, const QString &text)
{
    const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
    return e->fontMetrics().horizontalAdvance(text) + 2 * 2 + 2 * frame;
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyTextFits_data();
    void everyTextFits();
    void speedFieldsShowFiveDigits_data();
    void speedFieldsShowFiveDigits();

private:
    void open();
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
};

void LayoutTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_.answer = 0;
}

void LayoutTest::open()
{
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    form_->Timer1->stop();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void LayoutTest::cleanup()
{
    if (form_)
        form_->close();
    form_.reset();
    dir_.reset();
    QLocale::setDefault(QLocale::c());
}

void LayoutTest::everyTextFits_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("connected");
    QTest::newRow("English") << 0 << false;
    QTest::newRow("German") << 1 << false;
    QTest::newRow("French") << 2 << false;
    QTest::newRow("Czech") << 3 << false;
    QTest::newRow("German, unit answering") << 1 << true;
    QTest::newRow("Czech, unit answering") << 3 << true;
}

void LayoutTest::everyTextFits()
{
    QFETCH(int, language);
    QFETCH(bool, connected);
    open();
    form_->ctl<QWidget>("LabelSpojeni")->setVisible(!connected);
    form_->action(kLanguageItems[language])->trigger();
    // The widest state of the pages: the special bike with four channels and the throttle map.
    form_->ctl<QComboBox>("ComboBoxBike")->setCurrentIndex(26);
    form_->ReadParameters();
    form_->Image.outputCount() = 4;
    form_->ShowParameters();
    if (connected) {
        // The longest texts the live monitor writes, in the words of the language.
        using vorn::Msg;
        const vorn::MessageSlots &m = form_->Messages;
        const std::pair<const char *, QString> live[] = {
            {"LabelAdvance1", m[Msg::PickupSystemError]},
            {"LabelAdvance2", m[Msg::Advance] + QString::fromUtf8(" 2 = -10 [\u00b0]")},
            {"LabelMonSnimac1", m[Msg::PickupCkps] + " 1 " + m[Msg::NoSignal]},
            {"LabelMonSnimac2", m[Msg::PickupCkps] + " 2 " + m[Msg::IsRunning]},
            {"LabelBlocking1", m[Msg::Blocking] + " - " + m[Msg::Yes]},
            {"LabelMonPilotLight", m[Msg::GearShiftLight] + " - " + m[Msg::No]},
            {"LabelPriveraPoz", m[Msg::ServoDesired] + " 5000 [mV]"},
            {"LabelPriveraMer", m[Msg::ServoMeasured] + " 5000 [mV]"},
            {"LabelPocetProgramovani", m[Msg::NumberOfPrograming] + "65535"},
            {"LabelHlaseni", m[Msg::UnmatchedVersion]},
        };
        for (const auto &[name, text] : live)
            form_->ctl<QLabel>(name)->setText(text);
        form_->ctl<QWidget>("LabelHlaseni")->show();
    }

    auto *tabs = form_->ctl<QTabWidget>("PageControl1");
    QStringList problems;
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        settle();
        QCOMPARE(form_->size(), QSize(TFormHlav::kDesignWidth, TFormHlav::kDesignHeight));
        for (QWidget *w : form_->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->isWindow())
                continue;
            const QString cut = cutOff(w);
            if (!cut.isEmpty())
                problems << QStringLiteral("page %1: %2").arg(page).arg(cut);
            const QWidget *parent = w->parentWidget();
            if (parent && !parent->isWindow() && !parent->rect().contains(w->geometry()))
                problems << QStringLiteral("page %1: %2").arg(page).arg(describe(w, "reaches outside its parent"));
        }
    }
    QMenuBar *bar = form_->menuBar();
    for (QAction *menu : bar->actions()) {
        const QRect r = bar->actionGeometry(menu);
        if (r.isEmpty() || r.right() >= bar->width())
            problems << "menu " + menu->objectName() + " does not fit the menu bar";
    }
    problems.removeDuplicates();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

void LayoutTest::speedFieldsShowFiveDigits_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("English") << "en_US";
    QTest::newRow("German") << "de_DE";
    QTest::newRow("French") << "fr_FR";
    QTest::newRow("Czech") << "cs_CZ";
}

// The map's speed header goes up to 20,100 rpm; the grouping separator is the locale's.
void LayoutTest::speedFieldsShowFiveDigits()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    open();
    QStringList problems;
    auto check = [&](const QString &suffix, int value) {
        UpDown *u = form_->upDown(suffix);
        QLineEdit *e = form_->edit(suffix);
        u->setPosition(value);
        if (editNeeds(e, e->text()) > e->width())
            problems << QStringLiteral("%1 shows \"%2\" in %3 px, needs %4").arg(suffix, e->text()).arg(e->width())
                            .arg(editNeeds(e, e->text()));
    };
    for (int k = 1; k <= 10; ++k) {
        check(QStringLiteral("RpmAdv%1").arg(k), 10000);
        check(QStringLiteral("RpmAdv%1").arg(k), 20100);
        check(QStringLiteral("RpmPriv%1").arg(k), form_->upDown(QStringLiteral("RpmPriv%1").arg(k))->maximum());
    }
    for (const char *suffix : {"Omez2", "PilotLight", "Tps100"})
        check(suffix, form_->upDown(suffix)->maximum());
    QCOMPARE(form_->edit("RpmAdv10")->text(), QLocale(locale).toString(20100));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
