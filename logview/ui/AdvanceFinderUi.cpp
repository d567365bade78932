#include "logview/ui/AdvanceFinderUi.h"

#include "host/HostNotifier.h"
#include "host/ModuleLoader.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"
#include "logview/ui/LogViewTexts.h"
#include "logview/ui/LogViewUi.h"
#include "maps/MapOperations.h"

#include <QAction>
#include <QElapsedTimer>
#include <QWidget>

#include <memory>

namespace vorn::logview {

AdvanceFinderUi::AdvanceFinderUi(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live,
                                 host::Link &link, host::HostNotifier &notifier, QStringList moduleDirs,
                                 std::function<std::int64_t()> clockMs)
    : QObject(&notifier),
      shell_(shell),
      editing_(editing),
      live_(live),
      link_(link),
      moduleDirs_(std::move(moduleDirs)),
      clockMs_(std::move(clockMs))
{
    if (!clockMs_) {
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        clockMs_ = [clock] { return clock->elapsed(); };
    }
    action_ = new QAction(this);
    action_->setObjectName(QStringLiteral("MenuAdvanceFinder"));
    connect(action_, &QAction::triggered, this, [this] { open(); });
    shell_.placeAction(host::MenuPlace::Tools, action_);
    connect(&notifier, &host::HostNotifier::languageChanged, this, &AdvanceFinderUi::applyTexts);
    connect(&notifier, &host::HostNotifier::liveValuesDecoded, this, &AdvanceFinderUi::onLiveValues);
    connect(&notifier, &host::HostNotifier::transferFinished, this,
            [this](host::HostNotifier::Transfer kind, bool ok, Msg, const ParameterImage &) {
                if (kind != host::HostNotifier::Transfer::Program || !programming_)
                    return;
                programming_ = false;
                if (finder_)
                    finder_->programFinished(ok);
            });
    auto lost = [this] {
        // A Program cut off by a lost device is never reported: it ends here.
        programming_ = false;
        if (finder_)
            finder_->unitLost();
    };
    connect(&notifier, &host::HostNotifier::portClosed, this, lost);
    connect(&notifier, &host::HostNotifier::unitForgotten, this, lost);
    applyTexts(shell_.language());
}

AdvanceFinderUi::~AdvanceFinderUi()
{
    // The finder's window is the host window's child; it goes while its module is loaded.
    delete window_.data();
}

void AdvanceFinderUi::applyTexts(int language)
{
    language_ = language;
    action_->setText(text4(texts::kAdvanceFinder, language));
    if (finder_)
        finder_->setLanguage(language);
}

void AdvanceFinderUi::onLiveValues()
{
    if (!finder_ || live_.replaying())
        return;   // a replayed row is no pull of this run
    finder_->liveRow(logRowFrom(live_.liveFields(), live_.liveCell(), clockMs_()));
}

AdvanceFinder *AdvanceFinderUi::open()
{
    if (!finder_) {
        auto create = host::ModuleLoader(QStringLiteral("vorn4logview"), moduleDirs_).entry<Vorn4CreateAdvanceFinder>(VORN4_FINDER_ENTRY);
        if (create)
            finder_ = create(shell_, *this, shell_.dialogParent());
        if (!finder_) {
            shell_.message(text4(texts::kNoFinderModule, language_).arg(QStringLiteral("vorn4logview")));
            return nullptr;
        }
        window_ = finder_->widget();
        finder_->setLanguage(language_);
    }
    QWidget *w = finder_->widget();
    w->show();
    w->raise();
    w->activateWindow();
    return finder_;
}

const ParameterImage &AdvanceFinderUi::image() const
{
    return editing_.image();
}

bool AdvanceFinderUi::program(const ParameterImage &image)
{
    programming_ = link_.program(image);
    return programming_;
}

void AdvanceFinderUi::showImage(const ParameterImage &image)
{
    editing_.restoreImage(image);
}

void AdvanceFinderUi::applyProposal(int row, const std::vector<std::optional<int>> &advance)
{
    editing_.commitTyping();
    ParameterImage edited = editing_.image();
    for (int column = 0; column < int(advance.size()) && column < maps::columnCount(maps::Table::Advance); ++column)
        if (advance[column])
            maps::cellByte(edited, maps::Table::Advance, {row, column}) = static_cast<std::uint8_t>(*advance[column]);
    editing_.applyEdit(edited, StepLabel(&texts::kFinderStep));
}

QString AdvanceFinderUi::chooseParameterFile()
{
    return editing_.chooseParameterFile();
}

}  // namespace vorn::logview
