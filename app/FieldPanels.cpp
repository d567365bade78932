// Edit fields that repaint without the boxes behind them (see the header).
#include "FieldPanels.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace {

// The corner squares whose pixels the base style's rounded frame leaves partly uncovered.
constexpr int kCorner = 3;

}  // namespace

FieldPanelStyle::FieldPanelStyle(QStyle *base) : QProxyStyle(base) {}

FieldPanelStyle *FieldPanelStyle::instance()
{
    static FieldPanelStyle *style = [] {
        // A copy of the application's style: the proxy owns its base.
        auto *s = new FieldPanelStyle(QStyleFactory::create(QApplication::style()->name()));
        s->setParent(qApp);
        return s;
    }();
    return style;
}

void FieldPanelStyle::attach(QLineEdit *field)
{
    if (!baseStyle() || attached(field))
        return;
    if (fields_.size() >= sweepAt_) {
        for (auto it = fields_.begin(); it != fields_.end();) {
            if (it->isNull()) {
                corners_.remove(it.key());
                it = fields_.erase(it);
            } else {
                ++it;
            }
        }
        sweepAt_ = std::max<qsizetype>(512, 2 * fields_.size());
    }
    corners_.remove(field);   // of a gone field that had this address
    fields_.insert(field, field);
    field->installEventFilter(this);
    // A field not yet on screen (a page not yet opened) takes the style when it is first
    // shown: a field's style costs more than the field, and most pages wait to be opened.
    if (field->isVisible())
        field->setStyle(this);
}

bool FieldPanelStyle::attached(const QWidget *widget) const
{
    const auto it = fields_.constFind(widget);
    return it != fields_.constEnd() && it->data() == widget;
}

void FieldPanelStyle::forget(QWidget *field)
{
    if (corners_.remove(field) == 0)
        return;
    field->setAttribute(Qt::WA_OpaquePaintEvent, false);
    field->update();
}

bool FieldPanelStyle::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show: {
        auto *field = static_cast<QWidget *>(watched);
        if (field->style() != this && attached(field))
            field->setStyle(this);
        break;
    }
    // What is behind the field, or the field's place, may have changed.
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ParentChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
    case QEvent::Hide:
        forget(static_cast<QWidget *>(watched));
        break;
    default:
        break;
    }
    return false;
}

bool FieldPanelStyle::takeCorners(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    QPaintEngine *engine = painter->paintEngine();
    QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    const QTransform &t = painter->deviceTransform();
    if (!device || device->devType() != QInternal::Image || t.type() > QTransform::TxScale)
        return false;
    const auto *image = static_cast<const QImage *>(device);
    const QRect r = option->rect;
    const QRect inDevice = t.mapRect(QRectF(r)).toAlignedRect();
    // Only a repaint of the whole field has the background freshly painted behind every corner;
    // a partial one (the caret) finds the field's own earlier pixels there.
    const QRegion clip = engine->systemClip();
    if (!image->rect().contains(inDevice) || (!clip.isEmpty() && !clip.contains(inDevice)))
        return false;
    Corners c;
    const QPoint corners[4] = {r.topLeft(), QPoint(r.right() - kCorner + 1, r.top()),
                               QPoint(r.left(), r.bottom() - kCorner + 1),
                               QPoint(r.right() - kCorner + 1, r.bottom() - kCorner + 1)};
    for (int i = 0; i < 4; ++i) {
        c.at[i] = QRect(corners[i], QSize(kCorner, kCorner));
        const QRect source = t.mapRect(QRectF(c.at[i])).toAlignedRect();
        c.patch[i] = image->copy(source);
    }
    corners_.insert(widget, c);
    // Opaque only from the next repaint on: this one is already under way with its parents.
    auto *field = const_cast<QWidget *>(widget);
    QMetaObject::invokeMethod(
        field,
        [this, field] {
            if (corners_.contains(field))
                field->setAttribute(Qt::WA_OpaquePaintEvent, true);
        },
        Qt::QueuedConnection);
    return true;
}

QByteArray FieldPanelStyle::panelKey(const QStyleOption *option, qreal ratio) const
{
    QByteArray key;
    key.reserve(64);
    const QSize size = option->rect.size();
    auto add = [&key](quint32 v) { key.append(reinterpret_cast<const char *>(&v), sizeof v); };
    add(static_cast<quint32>(size.width()));
    add(static_cast<quint32>(size.height()));
    add(static_cast<quint32>(option->state));
    add(static_cast<quint32>(std::lround(ratio * 100)));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Highlight, QPalette::Light,
                                     QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow,
                                     QPalette::Button, QPalette::WindowText, QPalette::Text})
        add(option->palette.color(role).rgba());
    return key;
}

const QImage &FieldPanelStyle::panel(const QByteArray &key, const QStyleOption *option, qreal ratio,
                                     const QWidget *widget) const
{
    auto it = panels_.constFind(key);
    if (it != panels_.constEnd())
        return *it;
    if (panels_.size() > 256)
        panels_.clear();   // colours come and go with heat colours; keep the cache small
    const QSize size = option->rect.size();
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        // Copied as what it is: a style option is no polymorphic class to copy through a base.
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            QStyleOptionFrame copy(*frame);
            copy.rect = QRect(QPoint(), size);
            QProxyStyle::drawPrimitive(PE_PanelLineEdit, &copy, &p, widget);
        } else {
            QStyleOption copy(*option);
            copy.rect = QRect(QPoint(), size);
            QProxyStyle::drawPrimitive(PE_PanelLineEdit, &copy, &p, widget);
        }
    }
    return *panels_.insert(key, image);
}

QImage FieldPanelStyle::look(const Corners &corners, const QStyleOption *option, qreal ratio,
                             const QWidget *widget) const
{
    QByteArray key = panelKey(option, ratio);
    const QImage &panelImage = panel(key, option, ratio, widget);
    // The corners' pixels belong to the key: fields on another background look otherwise.
    for (const QImage &patch : corners.patch) {
        const auto format = static_cast<quint32>(patch.format());
        key.append(reinterpret_cast<const char *>(&format), sizeof format);
        for (int y = 0; y < patch.height(); ++y)
            key.append(reinterpret_cast<const char *>(patch.constScanLine(y)),
                       static_cast<qsizetype>(patch.width()) * patch.depth() / 8);
    }
    auto it = looks_.constFind(key);
    if (it != looks_.constEnd())
        return *it;
    if (looks_.size() > 256)
        looks_.clear();
    // The background behind the corners as it was found, then the panel over it, as the
    // base style would have drawn it over that background.
    QImage image(panelImage.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QPoint origin = option->rect.topLeft();
        for (int i = 0; i < 4; ++i)
            p.drawImage(QRectF(corners.at[i].translated(-origin)), corners.patch[i]);
        p.drawImage(QPointF(), panelImage);
    }
    return *looks_.insert(key, image);
}

void FieldPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    if (element != PE_PanelLineEdit || !attached(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    auto it = corners_.find(widget);
    if (it == corners_.end()) {
        takeCorners(option, painter, widget);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const auto state = static_cast<quint32>(option->state);
    const qint64 palette = option->palette.cacheKey();
    if (it->look.isNull() || it->lookSize != option->rect.size() || it->lookState != state
        || it->lookPalette != palette || it->lookRatio != ratio) {
        it->look = look(*it, option, ratio, widget);
        it->lookSize = option->rect.size();
        it->lookState = state;
        it->lookPalette = palette;
        it->lookRatio = ratio;
    }
    painter->drawImage(option->rect.topLeft(), it->look);
}
