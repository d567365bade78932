// Edit fields that repaint without the boxes behind them.
//
// A field's panel has rounded corners through which its parent shows, so every repaint of a
// field also repaints the group box behind it, and a group box's frame drawn under a hundred
// small rectangles cost more than the hundred fields themselves: a whole-map change spent
// most of its time on boxes that had not changed. This style draws the panel of an attached
// field itself, corners included, from the background found behind them on the field's first
// ordinary repaint; the field then counts as opaque and the boxes are left alone. The look
// does not change: the panel is the base style's, drawn once per size, state and colours and
// reused, over the very pixels that were behind the corners.
#pragma once

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QProxyStyle>

class QLineEdit;

class FieldPanelStyle : public QProxyStyle {
public:
    // The one instance; it lives as long as the application, since widgets keep its address.
    static FieldPanelStyle *instance();

    void attach(QLineEdit *field);
    // Back to ordinary painting until the next full repaint finds the background again.
    void forget(QWidget *field);
    // True once the field paints its own corners (tests).
    bool paintsOwnCorners(const QWidget *field) const { return attached(field) && corners_.contains(field); }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FieldPanelStyle(QStyle *base);
    struct Corners {
        QImage patch[4];   // top left, top right, bottom left, bottom right; device pixels
        QRect at[4];       // where, in the field's coordinates
        // The panel over these corners as last drawn, and what it was drawn for: a field
        // repainted with the same look is one image drawn, found without building a key.
        QImage look;
        QSize lookSize;
        quint32 lookState = 0;
        qint64 lookPalette = 0;
        qreal lookRatio = 0;
    };
    bool takeCorners(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    QByteArray panelKey(const QStyleOption *option, qreal ratio) const;
    const QImage &panel(const QByteArray &key, const QStyleOption *option, qreal ratio, const QWidget *widget) const;
    QImage look(const Corners &corners, const QStyleOption *option, qreal ratio, const QWidget *widget) const;

    bool attached(const QWidget *widget) const;

    // The attached fields, each with a guard that tells a gone field from a new widget at its
    // address: a connection to each field's end would cost more memory than all its corners.
    // Entries of gone fields are swept out as the table grows.
    QHash<const QWidget *, QPointer<const QWidget>> fields_;
    qsizetype sweepAt_ = 512;
    mutable QHash<const QWidget *, Corners> corners_;
    mutable QHash<QByteArray, QImage> panels_;
    // Panels over their corners; fields on the same background share one.
    mutable QHash<QByteArray, QImage> looks_;
};
