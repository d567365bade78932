// Switching the window's language: message slots, placeholders, captions, hints, the Language menu
// and Qt's own texts.
#include "Hlav.h"

#include "lang/Jazyk1.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QTabWidget>
#include <QTranslator>

namespace {

const char *const kLanguageItems[vorn::kLanguageCount] = {"MenuEnglish", "MenuGerman", "MenuFrench",
                                                          "MenuCzech"};

}  // namespace

QObject *TFormHlav::captionTarget(const QString &name) const
{
    if (name == objectName())
        return const_cast<TFormHlav *>(this);
    return ctl<QObject>(name);
}

void TFormHlav::setCaption(QObject *control, const QString &text)
{
    if (control == this) {
        setWindowTitle(text);
    } else if (auto *menu = qobject_cast<QMenu *>(control)) {
        menu->setTitle(text);
    } else if (auto *item = qobject_cast<QAction *>(control)) {
        item->setText(text);
    } else if (auto *group = qobject_cast<QGroupBox *>(control)) {
        group->setTitle(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    } else if (auto *page = qobject_cast<QWidget *>(control)) {
        // A tab page sits in the tab widget's page stack; its caption is the tab's text.
        for (QWidget *w = page->parentWidget(); w; w = w->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
                const int index = tabs->indexOf(page);
                if (index >= 0) {
                    tabs->setTabText(index, text);
                    return;
                }
            }
        qWarning("No caption to set on %s", qPrintable(page->objectName()));
    }
}

bool TFormHlav::noConnectionShown() const
{
    const auto *label = ctl<QWidget>("LabelSpojeni");
    return label && label->isVisibleTo(this);
}

void TFormHlav::ApplyMessages()
{
    vorn::fillMessageSlots(Messages, LanguageIndex);
    if (!noConnectionShown())
        return;

    using vorn::Msg;
    auto write = [this](const char *label, Msg prefix, const QString &ending) {
        ctl<QLabel>(label)->setText(Messages[prefix] + ending);
    };
    for (int ch = 1; ch <= 4; ++ch)
        ctl<QLabel>(QStringLiteral("LabelAdvance%1").arg(ch))
            ->setText(Messages[Msg::Advance] + QStringLiteral(" %1 = --- [°]").arg(ch));
    write("LabelPocetProgramovani", Msg::NumberOfPrograming, QStringLiteral("---"));
    write("LabelBlocking1", Msg::Blocking, QStringLiteral(" 1 ---"));
    write("LabelMonSnimac1", Msg::PickupCkps, QStringLiteral(" 1 ---"));
    write("LabelMonSnimac2", Msg::PickupCkps, QStringLiteral(" 2 ---"));
    write("LabelPriveraPoz", Msg::ServoDesired, QStringLiteral(" ---"));
    write("LabelPriveraMer", Msg::ServoMeasured, QStringLiteral(" ---"));
}

void TFormHlav::ApplyCaptions()
{
    using vorn::CaptionProperty;
    const int language = LanguageIndex < vorn::kLanguageCount ? LanguageIndex : 0;
    for (int i = 0; i < vorn::kLanguageCount; ++i)
        action(kLanguageItems[i])->setChecked(i == language);

    // Captions come before hints in the catalogue, the window title and LabelSpojeni first.
    for (const vorn::CaptionRow &row : vorn::captionRows()) {
        QObject *target = captionTarget(row.control);
        if (!target) {
            qWarning("Caption for unknown control %s", qPrintable(row.control));
            continue;
        }
        const QString &text = row.text[language];
        switch (row.property) {
        case CaptionProperty::Caption:
            setCaption(target, text);
            break;
        case CaptionProperty::ListEntry:
            if (auto *list = qobject_cast<QComboBox *>(target); list && row.entry < list->count())
                list->setItemText(row.entry, text);
            break;
        case CaptionProperty::Hint:
            setHint(target, text);
            break;
        }
    }

    Messages[vorn::Msg::GearShiftLight] = vorn::messageText(vorn::Msg::GearShiftLight, language);
    if (noConnectionShown())
        ctl<QLabel>("LabelMonPilotLight")->setText(Messages[vorn::Msg::GearShiftLight] + QStringLiteral(" ---"));

    ApplyMessages();
    followQtLanguage(language);
    emit Notifier->languageChanged(language);
}

void TFormHlav::followQtLanguage(int language)
{
    // Qt's catalogues as Debian ships them (qt6-translations-l10n); English needs none.
    static const char *const kQtCatalogues[vorn::kLanguageCount] = {nullptr, "qtbase_de", "qtbase_fr", "qtbase_cs"};
    if (language == qtTextsLanguage_)
        return;
    const bool startingUp = qtTextsLanguage_ < 0;
    qtTextsLanguage_ = language;
    // Taking the old one out and putting the new one in each tell every widget of Qt's
    // (an open file dialog, a button box) to write its texts anew.
    qtTexts_.reset();
    if (language <= 0 || language >= vorn::kLanguageCount)
        return;
    auto texts = std::make_unique<QTranslator>();
    if (!texts->load(QLatin1String(kQtCatalogues[language]), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;   // without the package Qt's texts stay English
    QCoreApplication::installTranslator(texts.get());
    qtTexts_ = std::move(texts);
    // While the window starts, nothing of Qt's that shows a text of its own has been made
    // yet (dialogs and menus of text fields are made when used): the round of LanguageChange
    // through every widget would only cost start-up time.
    if (startingUp)
        QCoreApplication::removePostedEvents(nullptr, QEvent::LanguageChange);
}

void TFormHlav::selectLanguage(int index)
{
    LanguageIndex = static_cast<std::uint8_t>(index);
    ApplyCaptions();
    ShowParameters();   // the list entries just rewritten may have lost their selection
}

void TFormHlav::MenuEnglishClick() { selectLanguage(0); }
void TFormHlav::MenuGermanClick() { selectLanguage(1); }
void TFormHlav::MenuFrenchClick() { selectLanguage(2); }
void TFormHlav::MenuCzechClick() { selectLanguage(3); }
