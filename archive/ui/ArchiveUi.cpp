#include "ArchiveUi.h"

#include "ArchiveUiTexts.h"
#include "ArchiveWindow.h"
#include "archive/ArchiveService.h"
#include "archive/ArchiveTexts.h"
#include "archive/TransferEvent.h"
#include "history/Comparison.h"
#include "history/ui/CompareView.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/Shell.h"
#include "host/StatusPart.h"
#include "link/Monitor.h"
#include "params/TuneHash.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

using vorn::host::HostNotifier;

namespace {

// The archive is opened after start-up, never during it; a shared server hears from this
// bench soon after, as it would after the first event.
constexpr int kStartDelayMs = 2000;

vorn::EventKind eventKind(HostNotifier::Transfer t)
{
    switch (t) {
    case HostNotifier::Transfer::Read: return vorn::EventKind::Read;
    case HostNotifier::Transfer::Program: return vorn::EventKind::Program;
    case HostNotifier::Transfer::Verify: return vorn::EventKind::Verify;
    case HostNotifier::Transfer::Compare: return vorn::EventKind::Compare;
    }
    return vorn::EventKind::Read;
}

}  // namespace

ArchiveUi::ArchiveUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::Link &link,
                     vorn::host::HostNotifier &notifier, std::optional<vorn::ArchiveConfig> config, QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), link_(link), config_(std::move(config))
{
    setObjectName(QStringLiteral("Archive"));
    menu_ = new QAction(this);
    menu_->setObjectName(QStringLiteral("MenuArchive"));
    connect(menu_, &QAction::triggered, this, &ArchiveUi::openWindow);
    shell.placeAction(vorn::host::MenuPlace::FileExtras, menu_);

    tunePart_ = vorn::host::addStatusPart(shell, {.name = "StatusArchive", .hidden = true});
    serverPart_ = vorn::host::addStatusPart(shell, {.name = "StatusArchiveServer", .hidden = true});

    connect(&notifier, &HostNotifier::transferFinished, this, &ArchiveUi::transferFinished);
    connect(&notifier, &HostNotifier::tuneLoaded, this, [this](const vorn::ParameterImage &image) { base_ = image; });
    connect(&notifier, &HostNotifier::unitForgotten, this, [this] {
        programCount_.reset();
        status_.reset();
        ++lookUpSerial_;   // an answer about the last unit no longer applies
        showStatus();
    });
    connect(&notifier, &HostNotifier::linkEventsApplied, this, [this](const vorn::LinkEvents &events) {
        for (const vorn::LinkEvent &e : events)
            if (e.kind == vorn::LinkEvent::MonitorFrame && vorn::frameIsValid(e.frame))
                programCount_ = vorn::parseMonitorFrame(e.frame).programCount;
    });
    connect(&notifier, &HostNotifier::languageChanged, this, &ArchiveUi::retranslate);
    connect(&notifier, &HostNotifier::closing, this, &ArchiveUi::closeWindows);
    retranslate(shell.language());
    QTimer::singleShot(kStartDelayMs, this, [this] {
        if (!shell_.closing())
            service();
    });
}

ArchiveUi::~ArchiveUi()
{
    closeWindows();
    delete window_;
    delete compareView_;
}

vorn::ArchiveService *ArchiveUi::service()
{
    if (service_ || configTried_)
        return service_.get();
    configTried_ = true;
    if (!config_) {
        QString error;
        config_ = vorn::archiveConfig(QString(), &error);
        if (!config_) {
            failure_ = error;
            showStatus();
            return nullptr;
        }
    }
    service_ = std::make_unique<vorn::ArchiveService>(*config_);
    connect(service_.get(), &vorn::ArchiveService::stateChanged, this, &ArchiveUi::showState);
    connect(service_.get(), &vorn::ArchiveService::failed, this, [this](const QString &message, bool server) {
        // A server away is what the waiting part says; why it is away is its tooltip. The
        // tune part keeps naming the tune the unit holds, which the bench's own file knows.
        if (server) {
            serverPart_->setToolTip(message);
            return;
        }
        failure_ = message;
        showStatus();
    });
    connect(service_.get(), &vorn::ArchiveService::recorded, this, [this] {
        if (!failure_.isEmpty()) {   // it works again
            failure_.clear();
            showStatus();
        }
    });
    service_->start();
    return service_.get();
}

void ArchiveUi::transferFinished(HostNotifier::Transfer kind, bool ok, vorn::Msg message,
                                 const vorn::ParameterImage &image)
{
    vorn::TransferEnd end{.kind = eventKind(kind),
                          .image = image,
                          .unitKnown = !link_.identification().version.isEmpty(),
                          .programCount = programCount_};
    if (!ok)
        end.error = message;
    if (!ok && kind == HostNotifier::Transfer::Verify) {
        // The unit sent both blocks back: that is what it holds.
        const vorn::VerifyReplies replies = vorn::verifyReplies(image, link_.session());
        if (replies.anySent() && replies.missingBlocks.empty())
            end.unitReplied = replies.unit;
    }
    if (kind == HostNotifier::Transfer::Program)
        end.madeFrom = base_;
    vorn::EventInput event = vorn::transferEvent(end);

    if (ok && kind != HostNotifier::Transfer::Compare)
        base_ = image;   // the window now shows what the unit holds
    if (kind == HostNotifier::Transfer::Program || kind == HostNotifier::Transfer::Read) {
        status_.reset();   // the unit holds something else now, or is being looked up
        ++lookUpSerial_;
        showStatus();
    }
    // The archive gets the event after the tick that ended the transfer: the tick never
    // waits for the archive, not even for the first one to be made.
    const int serial = ++lookUpSerial_;
    const bool lookUp = ok && kind == HostNotifier::Transfer::Read;
    QMetaObject::invokeMethod(this, [this, event = std::move(event), serial, lookUp] {
        vorn::ArchiveService *archive = service();
        if (!archive)
            return;
        const QString id = archive->record(event);
        if (!lookUp || serial != lookUpSerial_)
            return;
        archive->lookUp(vorn::tuneHash(*event.tune), id, [this, serial](std::optional<vorn::TuneStatus> status) {
            if (serial != lookUpSerial_ || !status)
                return;
            status_ = std::move(status);
            showStatus();
        });
    }, Qt::QueuedConnection);
}

void ArchiveUi::showStatus()
{
    QString text, tip;
    bool warning = false;
    if (!failure_.isEmpty()) {
        text = failure_;
        warning = true;
    } else if (status_) {
        const QString changed = vorn::changedText(*status_, language_);
        tip = vorn::tuneStatusText(*status_, language_);
        text = changed.isEmpty() ? tip : changed;
        warning = !changed.isEmpty();
    }
    tunePart_->setText(text);
    tunePart_->setToolTip(tip);
    tunePart_->setStyleSheet(warning ? QStringLiteral("QLabel { color: #b00000; }") : QString());
    tunePart_->setVisible(!text.isEmpty());
    if (window_) {
        const QString both = tip.isEmpty() || tip == text ? text : text + QStringLiteral("\n") + tip;
        window_->setUnitStatus(both, warning);
    }
}

void ArchiveUi::showState()
{
    const QString text = service_ ? vorn::archiveStateText(service_->state(), language_) : QString();
    serverPart_->setText(text);
    serverPart_->setVisible(!text.isEmpty());
    if (text.isEmpty())
        serverPart_->setToolTip(QString());
}

void ArchiveUi::retranslate(int language)
{
    language_ = language;
    vorn::setArchiveLanguage(language);
    menu_->setText(vorn::text4(vorn::atext::MenuArchive, language));
    showStatus();
    showState();
    if (window_)
        window_->retranslate(language);
}

void ArchiveUi::openWindow()
{
    if (shell_.closing())
        return;
    vorn::ArchiveService *archive = service();
    if (!archive) {
        shell_.message(failure_);
        return;
    }
    if (!window_) {
        window_ = new ArchiveWindow(*archive, shell_.dialogParent());
        window_->onOpen = [this](const QString &hash) { openTune(hash); };
        window_->onCompare = [this](const QString &a, const QString &b) { compareTunes(a, b); };
        window_->retranslate(language_);
        showStatus();
        // The tune the unit was last found holding is where a tuner usually starts.
        if (status_ && !status_->hash.isEmpty())
            window_->choose(status_->hash);
        window_->search(QString());
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void ArchiveUi::openTune(const QString &hash)
{
    vorn::ArchiveService *archive = service();
    if (!archive)
        return;
    QPointer<ArchiveUi> self = this;
    archive->tune(hash, [self, hash](std::optional<vorn::ParameterImage> tune) {
        if (!self || self->shell_.closing())
            return;
        if (!tune) {
            self->shell_.message(vorn::text4(vorn::atext::NoTune, self->language_).arg(hash.left(12)));
            return;
        }
        self->editing_.commitTyping();
        // Blocks 1 and 2 only: block 0 and the reserved byte stay the unit's own.
        vorn::ParameterImage edited = self->editing_.image();
        for (int o = vorn::kBlockSize; o < vorn::kImageSize; ++o)
            if (o != vorn::Off::Reserved101)
                edited[o] = (*tune)[o];
        self->editing_.applyEdit(edited, {&vorn::atext::StepOpen, hash.left(12)});
        self->base_ = self->editing_.image();
    });
}

void ArchiveUi::compareTunes(const QString &first, const QString &second)
{
    vorn::ArchiveService *archive = service();
    if (!archive || second.isEmpty())
        return;
    QPointer<ArchiveUi> self = this;
    auto show = [self, first, second](const vorn::ParameterImage &a, const vorn::ParameterImage &b) {
        if (!self || self->shell_.closing())
            return;
        if (!self->compareView_) {
            self->compareView_ = new CompareView(self->shell_.dialogParent());
            self->compareView_->setObjectName(QStringLiteral("ArchiveCompareView"));
        }
        const int l = self->language_;
        // Without a first tune the first side is the window's image.
        const QString firstTitle = first.isEmpty() ? QString() : vorn::text4(vorn::atext::CompareTwo, l).arg(first.left(12));
        self->compareView_->showComparison(vorn::Comparison{a, b}, vorn::text4(vorn::atext::CompareTwo, l).arg(second.left(12)),
                                           l, QString(), firstTitle);
        self->compareView_->show();
        self->compareView_->raise();
    };
    archive->tune(second, [self, archive, first, second, show](std::optional<vorn::ParameterImage> b) {
        if (!self)
            return;
        if (!b) {
            self->shell_.message(vorn::text4(vorn::atext::NoTune, self->language_).arg(second.left(12)));
            return;
        }
        if (first.isEmpty()) {
            show(self->editing_.image(), *b);
            return;
        }
        archive->tune(first, [self, first, b, show](std::optional<vorn::ParameterImage> a) {
            if (!self)
                return;
            if (!a) {
                self->shell_.message(vorn::text4(vorn::atext::NoTune, self->language_).arg(first.left(12)));
                return;
            }
            show(*a, *b);
        });
    });
}

ArchiveWindow *ArchiveUi::window() const
{
    return window_;
}

CompareView *ArchiveUi::compareView() const
{
    return compareView_;
}

void ArchiveUi::closeWindows()
{
    if (window_)
        window_->close();
    if (compareView_)
        compareView_->close();
}
