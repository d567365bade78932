// The up-down spinner paired with an edit field, and the two-arrow column spin button.
#include "UpDown.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace {

void paintArrowPair(QWidget *w, int pressed, bool horizontal)
{
    QPainter p(w);
    QStyleOptionButton panel;
    panel.initFrom(w);
    const QRect r = w->rect();
    QRect first, second;
    if (horizontal) {
        first = QRect(r.left(), r.top(), r.width() / 2, r.height());
        second = QRect(r.left() + r.width() / 2, r.top(), r.width() - r.width() / 2, r.height());
    } else {
        first = QRect(r.left(), r.top(), r.width(), r.height() / 2);
        second = QRect(r.left(), r.top() + r.height() / 2, r.width(), r.height() - r.height() / 2);
    }
    const QRect halves[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton b = panel;
        b.rect = halves[i];
        const bool down = (i == 0 && pressed > 0) || (i == 1 && pressed < 0);
        b.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        w->style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &b, &p, w);
        QStyleOption a = panel;
        a.rect = halves[i].adjusted(2, 1, -2, -1);
        const QStyle::PrimitiveElement arrow =
            horizontal ? (i == 0 ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowUp)
                       : (i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown);
        w->style()->drawPrimitive(arrow, &a, &p, w);
    }
}

}  // namespace

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void UpDown::setRange(int min, int max)
{
    min_ = min;
    max_ = max;
}

QString UpDown::textFor(int p) const
{
    if (!grouped_)
        return QString::number(p);
    // Grouping is part of how these fields read, also in locales (such as C) that omit it.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(p);
}

bool UpDown::parseText(const QString &text, int *value) const
{
    long long v = 0;
    if (!parseWholeNumber(text, QLocale(), &v) || v < min_ || v > max_)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool UpDown::parseWholeNumber(const QString &text, const QLocale &locale, long long *value)
{
    const QString t = text.trimmed();
    const QString group = locale.groupSeparator();
    // Where the locale groups with a (no-break, narrow) space, a typed plain space is taken
    // as the same separator.
    const bool spaceGroups = group.size() == 1 && group.front().isSpace();
    int i = 0;
    bool negative = false;
    if (t.startsWith(locale.negativeSign()) || t.startsWith(QLatin1Char('-'))
        || t.startsWith(QChar(0x2212))) {
        negative = true;
        i = t.startsWith(locale.negativeSign()) ? int(locale.negativeSign().size()) : 1;
    } else if (t.startsWith(locale.positiveSign()) || t.startsWith(QLatin1Char('+'))) {
        i = t.startsWith(locale.positiveSign()) ? int(locale.positiveSign().size()) : 1;
    }
    long long v = 0;
    int digits = 0;          // digits in the whole number
    int groupDigits = 0;     // digits since the last separator
    bool grouped = false;    // a separator was seen
    while (i < t.size()) {
        const QChar c = t.at(i);
        const int d = c.digitValue();
        if (d >= 0) {
            if (++digits > 9)
                return false;   // far beyond any spinner range; avoids overflow
            v = v * 10 + d;
            ++groupDigits;
            ++i;
            continue;
        }
        int separatorLength = 0;
        if (!group.isEmpty() && QStringView(t).mid(i).startsWith(group))
            separatorLength = int(group.size());
        else if (spaceGroups && c.isSpace())
            separatorLength = 1;
        // A separator must follow a digit and close a full group of three (except the first).
        if (separatorLength == 0 || groupDigits == 0 || (grouped && groupDigits != 3))
            return false;
        grouped = true;
        groupDigits = 0;
        i += separatorLength;
    }
    if (digits == 0 || (grouped && groupDigits != 3))
        return false;
    *value = negative ? -v : v;
    return true;
}

void UpDown::syncFromText()
{
    if (!edit_ || edit_->text() == shownText_)
        return;
    int v = 0;
    if (parseText(edit_->text(), &v))
        position_ = static_cast<std::int16_t>(v);
}

std::int16_t UpDown::position()
{
    syncFromText();
    return position_;
}

void UpDown::setPosition(int p)
{
    position_ = static_cast<std::int16_t>(p);
    shownText_ = textFor(position_);
    if (edit_ && edit_->text() != shownText_)
        edit_->setText(shownText_);
}

void UpDown::click(bool up)
{
    syncFromText();
    int p = position_ + (up ? step_ : -step_);
    p = std::clamp(p, min_, max_);
    setPosition(p);
    emit clicked(up);
}

QSize UpDown::sizeHint() const
{
    return {16, 22};
}

void UpDown::paintEvent(QPaintEvent *)
{
    paintArrowPair(this, pressed_, false);
}

void UpDown::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = e->position().y() < height() / 2.0 ? 1 : -1;
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent *e)
{
    const int was = pressed_;
    pressed_ = 0;
    update();
    if (e->button() == Qt::LeftButton && was != 0 && rect().contains(e->position().toPoint()))
        click(was > 0);
}

CSpinButton::CSpinButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize CSpinButton::sizeHint() const
{
    return {40, 18};
}

void CSpinButton::paintEvent(QPaintEvent *)
{
    // Left half lowers the column, right half raises it.
    paintArrowPair(this, pressed_, true);
}

void CSpinButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = e->position().x() < width() / 2.0 ? -1 : 1;
    update();
}

void CSpinButton::mouseReleaseEvent(QMouseEvent *e)
{
    const int was = pressed_;
    pressed_ = 0;
    update();
    if (e->button() != Qt::LeftButton || was == 0 || !rect().contains(e->position().toPoint()))
        return;
    if (was > 0)
        emit upClick();
    else
        emit downClick();
}
