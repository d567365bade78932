// Alt+letter in the window: whatever the features add to the menus, the toolbar and the
// pages takes no letter another control uses at the same level, in any of the four
// languages. Only the window's own captions may share a letter among themselves.
#include "window/EditFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include <map>
#include <set>

using editfixture::Window;

namespace {

// The window's own menus, items, buttons and pages, as it has always had them.
const std::set<QString> kOwn = {
    "MenuFile",    "MenuCom",     "MenuDevice",  "MenuTools",     "MenuLanguage",  "MenuHelp",
    "MenuNew",     "MenuOpen",    "MenuSave",    "MenuPrint",     "MenuPrintAll",  "MenuExit",
    "MenuCom1",    "MenuCom2",    "MenuCom3",    "MenuCom4",      "MenuCom5",      "MenuCom6",
    "MenuCom7",    "MenuCom8",    "MenuCom9",    "MenuCom10",     "MenuRead",      "MenuVerify",
    "MenuProgram", "AdvanceMinus", "AdvancePlus", "MenuEnglish",  "MenuGerman",    "MenuFrench",
    "MenuCzech",   "MenuContens", "MenuAbout",   "ButtonRead",    "BitBtnVerify",  "BitBtnProgram",
    "SpeedButton5", "SpeedButton6", "SpeedButton7", "SpeedButtonPrint", "TabSheetRuzne",
    "TabSheetBike", "TabSheetAdvance", "TabSheetServo"};

// The letter after a single '&', upper case; none for a caption without one.
QChar mnemonic(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;   // "&&" is a plain ampersand
    }
    return {};
}

struct User {
    QString name;
    QString text;
};
using Level = std::map<QChar, std::vector<User>>;

void add(Level &level, const QString &name, const QString &text)
{
    if (const QChar c = mnemonic(text); !c.isNull())
        level[c].push_back({name, text});
}

// A control the person can reach on some page: hidden only by not being on the open page.
bool shown(const QWidget *w, const QWidget *window)
{
    for (; w && w != window; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget *>(w->parentWidget()))
            return false;
    return true;
}

// "letter: name "text", name "text"" for every letter taken twice where a feature is one of
// the takers.
QStringList clashes(const Level &level)
{
    QStringList found;
    for (const auto &[letter, users] : level) {
        if (users.size() < 2)
            continue;
        const bool ownOnly = std::all_of(users.begin(), users.end(),
                                         [](const User &u) { return kOwn.count(u.name) > 0; });
        if (ownOnly)
            continue;
        QStringList who;
        for (const User &u : users)
            who << QStringLiteral("%1 \"%2\"").arg(u.name, u.text);
        found << QStringLiteral("%1: %2").arg(letter, who.join(QStringLiteral(", ")));
    }
    return found;
}

void walkMenu(QMenu *menu, QStringList &found, const QString &language)
{
    Level items;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        add(items, a->objectName(), a->text());
        if (a->menu())
            walkMenu(a->menu(), found, language);
    }
    for (const QString &c : clashes(items))
        found << QStringLiteral("%1, menu %2, %3").arg(language, menu->objectName(), c);
}

}  // namespace

class MnemonicsTest : public QObject {
    Q_OBJECT
private slots:
    void noLetterTwiceAtOneLevel();
};

void MnemonicsTest::noLetterTwiceAtOneLevel()
{
    Window w;
    const char *const languages[] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};
    QStringList found;
    int walked = 0;
    for (const char *item : languages) {
        // As the person does it: through the Language menu, while the program runs.
        w->findChild<QAction *>(item)->trigger();
        const QString language = QString::fromLatin1(item).mid(4);

        // The window level: menu bar titles, buttons and page tabs all answer Alt+letter.
        Level top;
        for (QAction *a : w->menuBar()->actions())
            if (a->isVisible())
                add(top, a->objectName(), a->text());
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
            if (shown(b, w.form.get()))
                add(top, b->objectName(), b->text());
        for (QTabWidget *tabs : w->findChildren<QTabWidget *>())
            if (shown(tabs, w.form.get()))
                for (int i = 0; i < tabs->count(); ++i)
                    add(top, tabs->widget(i)->objectName(), tabs->tabText(i));
        for (const QString &c : clashes(top))
            found << QStringLiteral("%1, window, %2").arg(language, c);

        for (QAction *a : w->menuBar()->actions())
            if (a->menu() && a->isVisible()) {
                walkMenu(a->menu(), found, language);
                ++walked;
            }
    }
    // The walk reached the window's six menus and the features' in every language.
    QVERIFY2(walked >= 4 * 9, qPrintable(QString::number(walked)));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
