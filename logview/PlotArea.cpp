#include "logview/PlotArea.h"

#include "datalog/ChartRules.h"
#include "logview/WorkbenchTexts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <cmath>

namespace vorn::logview {

namespace {

void drawLine(QPainter &p, const std::vector<PlotPoint> &pts, double left, double top, double height, double lo,
              double hi, bool steps)
{
    const double scale = height / (hi - lo);
    QList<QPointF> run;
    run.reserve(static_cast<qsizetype>(pts.size()) * (steps ? 2 : 1));
    auto flush = [&] {
        if (run.size() > 1)
            p.drawPolyline(run.constData(), static_cast<int>(run.size()));
        else if (run.size() == 1)
            p.drawPoint(run.front());
        run.clear();
    };
    for (const PlotPoint &pt : pts) {
        if (std::isnan(pt.y)) {
            flush();
            continue;
        }
        const QPointF q(left + pt.x, top + height - (pt.y - lo) * scale);
        if (steps && !run.isEmpty())
            run.append(QPointF(q.x(), run.back().y()));
        run.append(q);
    }
    flush();
}

}  // namespace

PlotArea::PlotArea(Model &model, QWidget *parent) : QWidget(parent), model_(model)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double PlotArea::timeAtX(double x) const
{
    const double w = std::max(1, plotRight() - plotLeft());
    return model_.from + (x - plotLeft()) / w * (model_.to - model_.from);
}

double PlotArea::xAtTime(double t) const
{
    const double w = std::max(1, plotRight() - plotLeft());
    return plotLeft() + (t - model_.from) / (model_.to - model_.from) * w;
}

void PlotArea::setView(double from, double to)
{
    const double start = model_.start(), end = model_.end();
    const double whole = std::max(end - start, 0.01);
    double span = std::clamp(to - from, 0.05, whole * 1.2);
    from = std::clamp(from, start - whole * 0.1, std::max(start - whole * 0.1, end - span + whole * 0.1));
    model_.from = from;
    model_.to = from + span;
    update();
    emit viewChanged();
}

void PlotArea::zoom(double factor, double aroundTime)
{
    const double from = aroundTime - (aroundTime - model_.from) * factor;
    const double to = aroundTime + (model_.to - aroundTime) * factor;
    setView(from, to);
}

void PlotArea::pan(double fraction)
{
    const double d = (model_.to - model_.from) * fraction;
    setView(model_.from + d, model_.to + d);
}

void PlotArea::showWhole()
{
    setView(model_.start(), model_.end());
}

void PlotArea::zoomToCursors()
{
    const double a = std::min(model_.cursorA, model_.cursorB), b = std::max(model_.cursorA, model_.cursorB);
    const double margin = std::max((b - a) * 0.05, 0.1);
    setView(a - margin, b + margin);
}

void PlotArea::stepCursor(int which, int rows)
{
    if (model_.logs.empty())
        return;
    const ShownLog &log = model_.logs.front();
    const LogTable &t = log.table;
    if (t.empty())
        return;
    double &c = which == 0 ? model_.cursorA : model_.cursorB;
    // The row the cursor is on (or the next one), then whole rows from there.
    const double own = c - log.offset;
    long i = static_cast<long>(rowAtOrAfter(t, own - 1e-9));
    if (rows > 0 && (i >= static_cast<long>(t.size()) || t.t[static_cast<std::size_t>(i)] > own + 1e-9))
        --rows;   // between rows: one step on lands on the next row, which `i` already is
    i = std::clamp<long>(i + rows, 0, static_cast<long>(t.size()) - 1);
    c = t.t[static_cast<std::size_t>(i)] + log.offset;
    if (c < model_.from || c > model_.to)
        pan((c - (model_.from + model_.to) / 2) / (model_.to - model_.from));
    update();
    emit cursorsChanged();
}

void PlotArea::setCursorAt(int which, double x)
{
    (which == 0 ? model_.cursorA : model_.cursorB) = timeAtX(x);
    update();
    emit cursorsChanged();
}

void paintRendered(QWidget &view, const std::function<void(QPainter &, const QSize &)> &render)
{
    QPainter p(&view);
    render(p, view.size());
    if (!view.hasFocus())
        return;
    p.setPen(QPen(view.palette().highlight().color(), 1, Qt::DotLine));
    p.drawRect(view.rect().adjusted(0, 0, -1, -1));
}

void PlotArea::paintEvent(QPaintEvent *)
{
    paintRendered(*this, [this](QPainter &p, const QSize &size) { render(p, size); });
}

void PlotArea::render(QPainter &p, const QSize &size) const
{
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const int left = kLeft, right = size.width() - kRight;
    const int plotWidth = std::max(1, right - left);
    const int n = static_cast<int>(model_.channels.size());
    if (model_.logs.empty() || n == 0) {
        p.setPen(Qt::darkGray);
        p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text4(texts::kEmpty, model_.language));
        return;
    }
    const double from = model_.from, to = model_.to;
    const double plotsHeight = size.height() - kTop - kAxis;
    const double each = plotsHeight / n;
    const QFontMetrics fm = p.fontMetrics();
    auto xOf = [&](double t) { return left + (t - from) / (to - from) * plotWidth; };

    // Time grid and axis: seconds, or the clock for a long log.
    const TimeTicks timeStep = timeTicks(to - from, model_.end() - model_.start(), plotWidth, 80);
    const std::vector<double> times = ticksBetween(from, to, timeStep.step);
    const int bottom = kTop + static_cast<int>(plotsHeight);
    p.setPen(QColor(225, 225, 225));
    for (double t : times)
        p.drawLine(QPointF(xOf(t), kTop), QPointF(xOf(t), bottom));
    p.setPen(Qt::black);
    for (double t : times) {
        const QString label = timeLabel(t, timeStep);
        const double x = xOf(t);
        p.drawLine(QPointF(x, bottom), QPointF(x, bottom + 4));
        // Centred under its tick, but kept whole at the picture's edges.
        const double half = fm.horizontalAdvance(label) / 2.0 + 2;
        const double centre = std::clamp(x, half, size.width() - half);
        p.drawText(QRectF(centre - half, bottom + 4, 2 * half, kAxis - 4), Qt::AlignHCenter | Qt::AlignTop, label);
    }

    for (int k = 0; k < n; ++k) {
        const int channel = model_.channels[k];
        const double top = kTop + k * each + 2, height = each - 4;
        double lo = model_.logs.front().table.low[static_cast<std::size_t>(channel)];
        double hi = model_.logs.front().table.high[static_cast<std::size_t>(channel)];
        for (const ShownLog &l : model_.logs) {
            lo = std::min(lo, l.table.low[static_cast<std::size_t>(channel)]);
            hi = std::max(hi, l.table.high[static_cast<std::size_t>(channel)]);
        }
        if (hi - lo < 1e-9) {
            lo -= 1;
            hi += 1;
        }
        const double pad = (hi - lo) * 0.06;
        lo -= pad;
        hi += pad;
        p.setPen(QColor(160, 160, 160));
        p.drawRect(QRectF(left, top, plotWidth, height));
        // Value labels: low and high of the scale, and one step between when there is room.
        p.setPen(Qt::black);
        const double vstep = roundStep(hi - lo, height, 24);
        for (double v : ticksBetween(lo, hi, vstep)) {
            const double y = top + height - (v - lo) / (hi - lo) * height;
            p.drawLine(QPointF(left - 3, y), QPointF(left, y));
            p.drawText(QRectF(0, y - 8, left - 5, 16), Qt::AlignRight | Qt::AlignVCenter, tickLabel(v, vstep));
        }
        p.save();
        p.setClipRect(QRectF(left + 1, top + 1, plotWidth - 1, height - 1));
        for (std::size_t li = 0; li < model_.logs.size(); ++li) {
            const ShownLog &l = model_.logs[li];
            // A cosmetic one-pixel pen: wider lines go through the stroker, which costs
            // tens of milliseconds for a whole hour of four logs.
            QPen pen(logColour(static_cast<int>(li)), 1);
            pen.setCosmetic(true);
            p.setPen(pen);
            const auto pts = decimate(l.table, channel, from - l.offset, to - l.offset, plotWidth);
            drawLine(p, pts, left, top, height, lo, hi, logChannelHolds(channel));
        }
        p.restore();
        const QString name = text4(texts::kChannelNames[channel], model_.language);
        const QRectF nameBox(left + 4, top + 2, fm.horizontalAdvance(name) + 8, fm.height() + 2);
        p.fillRect(nameBox, QColor(255, 255, 255, 215));
        p.setPen(Qt::black);
        p.drawText(nameBox, Qt::AlignCenter, name);
    }

    // Markers over all plots, their notes at the top.
    for (std::size_t li = 0; li < model_.logs.size(); ++li) {
        const ShownLog &l = model_.logs[li];
        const QColor c = logColour(static_cast<int>(li));
        for (const LogMarker &m : l.markers) {
            const double x = xOf(m.timeS + l.offset);
            if (x < left || x > right)
                continue;
            p.setPen(QPen(c, 1, Qt::DashLine));
            p.drawLine(QPointF(x, kTop), QPointF(x, bottom));
            QPolygonF flag({QPointF(x, kTop), QPointF(x + 7, kTop + 4), QPointF(x, kTop + 8)});
            p.setBrush(c);
            p.drawPolygon(flag);
            p.setBrush(Qt::NoBrush);
            if (!m.note.isEmpty()) {
                p.setPen(c);
                p.drawText(QPointF(x + 9, kTop + fm.ascent()), m.note);
            }
        }
    }

    // The cursors.
    const struct {
        double t;
        const char *name;
        Qt::PenStyle style;
    } cursors[] = {{model_.cursorA, "A", Qt::SolidLine}, {model_.cursorB, "B", Qt::DashDotLine}};
    for (const auto &c : cursors) {
        const double x = xOf(c.t);
        if (x < left || x > right)
            continue;
        p.setPen(QPen(QColor(20, 20, 20), 1.5, c.style));
        p.drawLine(QPointF(x, kTop), QPointF(x, bottom));
        p.fillRect(QRectF(x - 7, bottom - 16, 14, 14), QColor(20, 20, 20));
        p.setPen(Qt::white);
        p.drawText(QRectF(x - 7, bottom - 16, 14, 14), Qt::AlignCenter, QString::fromLatin1(c.name));
    }
}

void PlotArea::mousePressEvent(QMouseEvent *e)
{
    pressAt_ = e->position().toPoint();
    pressFrom_ = model_.from;
    pressTo_ = model_.to;
    dragging_ = false;
}

void PlotArea::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return;
    const int dx = e->position().toPoint().x() - pressAt_.x();
    if (!dragging_ && std::abs(dx) < 4)
        return;
    dragging_ = true;
    const double w = std::max(1, plotRight() - plotLeft());
    const double d = -dx / w * (pressTo_ - pressFrom_);
    setView(pressFrom_ + d, pressTo_ + d);
}

void PlotArea::mouseReleaseEvent(QMouseEvent *e)
{
    if (dragging_) {
        dragging_ = false;
        return;
    }
    const double x = e->position().x();
    if (x < plotLeft() || x > plotRight())
        return;
    if (e->button() == Qt::RightButton || (e->modifiers() & Qt::ShiftModifier))
        setCursorAt(1, x);
    else if (e->button() == Qt::LeftButton)
        setCursorAt(0, x);
}

void PlotArea::wheelEvent(QWheelEvent *e)
{
    const double notches = e->angleDelta().y() / 120.0;
    if (e->modifiers() & Qt::ShiftModifier)
        pan(-notches * 0.1);
    else
        zoom(std::pow(0.8, notches), timeAtX(e->position().x()));
    e->accept();
}

// With the graphs focused the plain keys move the view and the cursors; the window's
// menus carry the same actions with modifiers, so they work from any panel.
void PlotArea::keyPressEvent(QKeyEvent *e)
{
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const double middle = (model_.from + model_.to) / 2;
    switch (e->key()) {
    case Qt::Key_Left: pan(-0.1); break;
    case Qt::Key_Right: pan(0.1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom(0.5, middle); break;
    case Qt::Key_Minus: zoom(2, middle); break;
    case Qt::Key_Home: showWhole(); break;
    case Qt::Key_A: stepCursor(0, shift ? -1 : 1); break;
    case Qt::Key_B: stepCursor(1, shift ? -1 : 1); break;
    default: QWidget::keyPressEvent(e); return;
    }
    e->accept();
}

}  // namespace vorn::logview
