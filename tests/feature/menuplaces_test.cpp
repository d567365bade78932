// Named menu places: a feature's items land in their place whatever order the features put
// them in, and a feature's own menu shows only once it holds an item.
#include "host/HostNotifier.h"
#include "host/MenuPlaces.h"
#include "host/MenuTitles.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using vorn::host::MenuPlace;
using vorn::host::MenuSpec;

namespace {

const vorn::Text4 kNotesTitle{"&Notes", "&Notizen", "&Notes", "&Poznámky"};

// "File[New,-,Exit] Com[Com 1]": each menu with its items, a separator as "-".
QString layout(QMenuBar *bar)
{
    QStringList menus;
    for (QAction *m : bar->actions()) {
        QStringList items;
        for (QAction *a : m->menu()->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        menus << m->text().remove(QLatin1Char('&')) + QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    return menus.join(QLatin1Char(' '));
}

}  // namespace

class MenuPlacesTest : public QObject {
    Q_OBJECT
private slots:
    void itemsLandInTheirPlaces()
    {
        struct Row {
            const char *name;
            std::vector<std::pair<const char *, const char *>> adds;   // place, item ("" a separator)
            const char *layout;
        };
        const Row rows[] = {
            {"nothing placed: the window's menus alone", {}, "File[New,-,Exit] Com[Com 1]"},
            {"file extras stay above the separator before Exit", {{"file.extras", "A"}, {"file.extras", "B"}},
             "File[New,A,B,-,Exit] Com[Com 1]"},
            {"a later place's items first: the earlier place still comes first",
             {{"edit.cells", "Set"}, {"edit.history", "Undo"}, {"edit.history", "Redo"}, {"edit.cells", "Add"}},
             "File[New,-,Exit] Edit[Undo,Redo,-,Set,Add] Com[Com 1]"},
            {"a separated place opens with its separator", {{"com.extras", "Port"}},
             "File[New,-,Exit] Com[Com 1,-,Port]"},
            {"a feature's own menu, before the menu it names", {{"notes", "Note"}, {"notes", ""}, {"notes", "Clear"}},
             "File[New,-,Exit] Notes[Note,-,Clear] Com[Com 1]"},
            {"a place nobody declared takes nothing", {{"nowhere", "Lost"}}, "File[New,-,Exit] Com[Com 1]"},
        };
        for (const Row &row : rows) {
            QMainWindow window;
            vorn::host::HostNotifier notifier;
            QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
            file->addAction(QStringLiteral("New"));
            QAction *aboveExit = file->addSeparator();
            file->addAction(QStringLiteral("Exit"));
            QMenu *com = window.menuBar()->addMenu(QStringLiteral("&Com"));
            com->setObjectName(QStringLiteral("MenuCom"));
            com->addAction(QStringLiteral("Com 1"));

            vorn::host::MenuPlaces places(&window, window.menuBar(), notifier, [] { return 0; });
            places.declare(file, aboveExit, {{MenuPlace::FileExtras}});
            places.declare(com, nullptr, {{MenuPlace::ComExtras, true}});
            places.open({QStringLiteral("MenuEdit"), &vorn::host::kEditMenuTitle, {QStringLiteral("MenuCom")},
                         {{MenuPlace::EditHistory}, {MenuPlace::EditCells, true}}});
            places.open({QStringLiteral("MenuNotes"), &kNotesTitle, {QStringLiteral("MenuMissing"), QStringLiteral("MenuCom")},
                         {{MenuPlace(QStringLiteral("notes"))}}});
            for (const auto &[place, item] : row.adds) {
                if (qstrcmp(place, "nowhere") == 0)
                    QTest::ignoreMessage(QtWarningMsg, "vorn4: no menu place \"nowhere\"");
                places.add(MenuPlace(QString::fromLatin1(place)), *item ? new QAction(QString::fromLatin1(item), &window) : nullptr);
            }
            QCOMPARE(layout(window.menuBar()), QString::fromLatin1(row.layout));
        }
    }

    void titleFollowsTheLanguageAndShortcutsWorkClosed()
    {
        QMainWindow window;
        vorn::host::HostNotifier notifier;
        int language = 3;
        vorn::host::MenuPlaces places(&window, window.menuBar(), notifier, [&] { return language; });
        places.open({QStringLiteral("MenuNotes"), &kNotesTitle, {}, {{MenuPlace(QStringLiteral("notes"))}}});
        auto *note = new QAction(QStringLiteral("Note"), &window);
        note->setShortcut(QKeySequence(Qt::Key_F11));
        places.add(MenuPlace(QStringLiteral("notes")), note);
        auto *menu = window.findChild<QMenu *>(QStringLiteral("MenuNotes"));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QString::fromUtf8("&Poznámky"));
        emit notifier.languageChanged(1);
        QCOMPARE(menu->title(), QStringLiteral("&Notizen"));
        QVERIFY(window.actions().contains(note));
    }
};

QTEST_MAIN(MenuPlacesTest)
#include "menuplaces_test.moc"
