// A feature's part of the window's status bar, made one way by every feature: the window
// keeps each part from widening it and shows a text that does not fit shortened, ending in
// "…", with the whole text in the tooltip.
#pragma once

#include <QLabel>

#include <functional>

namespace vorn::host {

class Shell;

// A label that acts as a button: a left click released over it emits clicked().
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

struct StatusPartLook {
    const char *name = "";              // the object name tests find it by
    bool framed = true;                 // a panel like the window's own parts, or plain text
    bool hidden = false;                // until the feature has something to show
    QObject *receiver = nullptr;        // with onClick: the click reaches it while it lives
    std::function<void()> onClick;      // set: a pointing hand, and a click runs it
};

// Makes the part and hands it to the window's status bar.
ClickLabel *addStatusPart(Shell &shell, const StatusPartLook &look);

}  // namespace vorn::host
