// The main window among the program's other windows: whose box is whose, where a new window
// opens, and the status bar's parts, which must never push the window wider.
#include "Hlav.h"

#include "StatusParts.h"
#include "UserInteraction.h"
#include "host/WindowPlacement.h"

#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

namespace {

// No part asks for more than this share of the window's width, so one long text leaves the
// others and the hint panel their room.
constexpr int kPartShareOfWidth = 2;

// Is `w` the main window or a window opened over it (its parent, or its parent's parent ...)?
bool ofProgram(const QWidget *w, const QWidget *main)
{
    for (; w; w = w->parentWidget())
        if (w == main)
            return true;
    return false;
}

}  // namespace

void TFormHlav::MessageBox(const QString &text, const QString &title)
{
    messageOver(boxOwner(), text, title);
}

void TFormHlav::messageOver(QWidget *owner, const QString &text, const QString &title)
{
    runModal([&] {
        userInteraction().showMessage(owner ? owner : this, title.isEmpty() ? windowTitle() : title, text);
        return true;
    }, false);
}

QWidget *TFormHlav::boxOwner() const
{
    QWidget *w = lastActiveWindow_.data();
    return w && w->isVisible() ? w : const_cast<TFormHlav *>(this);
}

void TFormHlav::noteActiveWindow(QWidget *window)
{
    // A box or file dialog stands for the window it was opened over: once it is closed, the
    // next box belongs there too.
    while (window && window != this && window->windowModality() != Qt::NonModal)
        window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (window && ofProgram(window, this))
        lastActiveWindow_ = window;
}

void TFormHlav::placeWindow(QWidget *window)
{
    const QScreen *screen = this->screen();
    if (!screen || window == this)
        return;
    // The new window's frame is not known before it is shown: the main window's stands in.
    const QRect main = frameGeometry();
    const QSize frame = main.size() - size();
    const QRect place = vorn::host::placeBeside(screen->availableGeometry(), main, window->size() + frame);
    if (place.size() != window->size() + frame)
        window->resize(place.size() - frame);
    window->move(place.topLeft());
}

void TFormHlav::addStatusPart(QWidget *part)
{
    statusparts::fit(part, width() / kPartShareOfWidth);
    statusParts_.emplace_back(part);
    statusBar()->addPermanentWidget(part);
}

bool TFormHlav::programWindowEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::ToolTip:
        // Every paint of the program passes here: a look among a handful of pointers first.
        for (const QPointer<QWidget> &part : statusParts_)
            if (part == watched) {
                auto *label = qobject_cast<QLabel *>(part.data());
                return label && statusparts::handle(label, event);
            }
        return false;
    case QEvent::WindowActivate:
        // Told to the window being activated, then to each of its widgets.
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            noteActiveWindow(static_cast<QWidget *>(watched));
        return false;
    case QEvent::Show: {
        // A feature's new window opens beside the main window, unless it chose its place
        // itself; a modal box or dialog stays centred over its parent, as Qt puts it.
        auto *w = watched->isWidgetType() ? static_cast<QWidget *>(watched) : nullptr;
        if (w && w != this && w->isWindow() && !w->testAttribute(Qt::WA_Moved)
            && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog || w->windowType() == Qt::Tool)
            && w->windowModality() == Qt::NonModal && ofProgram(w, this))
            placeWindow(w);
        return false;
    }
    case QEvent::Resize:
        if (watched == this)
            for (const QPointer<QWidget> &part : statusParts_)
                if (part)
                    part->setMaximumWidth(width() / kPartShareOfWidth);
        return false;
    default:
        return false;
    }
}
