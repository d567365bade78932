// Comparisons in the window.
#include "CompareUi.h"

#include "ChangeTrackingUi.h"
#include "CompareView.h"
#include "files/IgnFile.h"
#include "history/HistoryTexts.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

CompareUi::CompareUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
                     vorn::host::Link &link, vorn::host::HostNotifier &notifier, ChangeTrackingUi &tracking,
                     QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), live_(live), link_(link), notifier_(notifier),
      tracking_(tracking)
{
    using vorn::host::HostNotifier;
    menu_ = new QMenu(shell.dialogParent());
    menu_->setObjectName(QStringLiteral("MenuCompare"));
    menu_->menuAction()->setObjectName(QStringLiteral("MenuCompare"));
    auto newAction = [this](const char *name) {
        auto *a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        menu_->addAction(a);
        return a;
    };
    unit_ = newAction("MenuCompareUnit");
    file_ = newAction("MenuCompareFile");
    point_ = newAction("MenuComparePoint");
    connect(unit_, &QAction::triggered, this, &CompareUi::compareWithUnit);
    connect(file_, &QAction::triggered, this, &CompareUi::compareWithFileChosen);
    shell.placeSeparator(vorn::host::MenuPlace::EditHistory);
    shell.placeMenu(vorn::host::MenuPlace::EditHistory, menu_);

    timer_ = new QTimer(this);
    timer_->setInterval(vorn::host::Link::kTickInterval);   // the pace of the window's own session
    connect(timer_, &QTimer::timeout, this, &CompareUi::tick);
    auto retranslate = [this](int language) {
        using namespace vorn;
        language_ = language;
        menu_->setTitle(text4(htext::Compare, language));
        unit_->setText(text4(htext::CompareWithUnit, language));
        file_->setText(text4(htext::CompareWithFile, language));
        point_->setText(text4(htext::CompareWithPoint, language));
    };
    connect(&notifier, &HostNotifier::languageChanged, this, retranslate);
    // Nothing of the feature outlives the window's closing, nor calls back into it; a read of
    // the unit under way just stops, as the window's own session does.
    connect(&notifier, &HostNotifier::closing, this, [this] {
        stopSession();
        delete view_;
    });
    retranslate(shell.language());
}

CompareUi::~CompareUi()
{
    stopSession();
    delete view_;
}

CompareView *CompareUi::compareView() const
{
    return view_;
}

void CompareUi::showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask, const QString &title,
                               const QString &note)
{
    if (shell_.closing())
        return;
    if (!view_)
        view_ = new CompareView(shell_.dialogParent());
    vorn::Comparison c{editing_.image(), other, mask};
    view_->showComparison(c, title, language_, note);
    view_->show();
    view_->raise();
}

void CompareUi::compareWithFile(const QString &path)
{
    // A file that cannot be read is an open error; one that reads but is not a parameter
    // file of this program is the mismatch.
    QFile file(path);
    QByteArray bytes;
    bool read = file.open(QIODevice::ReadOnly);
    if (read && file.size() <= (1 << 20)) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    if (!read) {
        shell_.message(shell_.messageText(vorn::Msg::OpenFileError));
        return;
    }
    vorn::ParameterImage img = editing_.image();
    if (file.size() > (1 << 20) || !vorn::ReadParameterFile(bytes, img)) {
        shell_.message(shell_.messageText(vorn::Msg::UnmatchedIgnFile));
        return;
    }
    showComparison(img, vorn::ParameterFileBytes(), QFileInfo(path).fileName());
}

void CompareUi::compareWithFileChosen()
{
    const QString path = editing_.chooseParameterFile();
    if (!path.isEmpty())
        compareWithFile(QFileInfo(path).absoluteFilePath());
}

void CompareUi::compareWithUnit()
{
    using Notice = ChangeTrackingUi::Notice;
    // A replay holds the line still: the comparison would wait for its end.
    if (live_.replaying()) {
        tracking_.setNotice(Notice::CompareReplaying);
        return;
    }
    // Only between the window's own operations, over the port the window has open.
    if (session_ || link_.session().mode() != vorn::ModeIdle || !link_.port()) {
        if (!link_.port())
            tracking_.setNotice(Notice::CompareFailed);
        return;
    }
    if (!link_.lendPort())
        return;
    tracking_.dropVerifyOffer();
    unitImage_ = vorn::ParameterImage{};
    session_ = std::make_unique<vorn::DeviceSession>(unitImage_);
    session_->setPort(link_.port());
    session_->startRead();   // the same frames, repeats and time-outs as Read
    timer_->start();
    tracking_.setNotice(Notice::CompareReading);
}

void CompareUi::tick()
{
    // A replay stands this session still as it does the window's.
    if (!session_ || live_.replaying())
        return;
    if (session_->port() != link_.port()) {
        done(false);   // the port went (closed, lost, another chosen) under the read
        return;
    }
    for (const vorn::LinkEvent &e : session_->tick()) {
        if (e.kind == vorn::LinkEvent::VersionMismatch
            || (e.kind == vorn::LinkEvent::ShowStatus && e.style == vorn::LinkEvent::Error)) {
            done(false);
            return;
        }
        if (e.kind == vorn::LinkEvent::ShowStatus && e.style == vorn::LinkEvent::Success) {
            done(true);
            return;
        }
    }
}

void CompareUi::stopSession()
{
    timer_->stop();
    if (session_) {
        session_.reset();
        link_.returnPort();
    }
}

void CompareUi::done(bool ok)
{
    stopSession();
    emit notifier_.transferFinished(vorn::host::HostNotifier::Transfer::Compare, ok, vorn::Msg::ReadError,
                                    unitImage_);
    if (!ok) {
        tracking_.setNotice(ChangeTrackingUi::Notice::CompareFailed);
        return;
    }
    // What the unit holds is now known; the unit part counts against it.
    tracking_.unitRead(unitImage_);
    showComparison(unitImage_, vorn::catalogueBytes(), vorn::text4(vorn::htext::CompareWithUnit, language_));
}

void CompareUi::showVerifyReplies()
{
    if (!tracking_.verifyRepliesOffered())
        return;
    const vorn::VerifyReplies &offer = *tracking_.verifyOffer();
    showComparison(offer.unit, offer.mask, vorn::text4(vorn::htext::CompareUnitSent, language_),
                   vorn::verifyRepliesNote(offer, language_));
}
