// The up-down spinner paired with an edit field, and the two-arrow column spin button.
#pragma once

#include <QLineEdit>
#include <QLocale>
#include <QWidget>

#include <cstdint>

// A spinner whose position is a signed 16-bit integer within Min..Max, moved by Step per
// arrow click, never wrapping. It writes its position into the associated edit as text
// (grouped by the locale's thousands separator unless told otherwise) and, like the
// platform control the program was designed around, takes over text typed into that edit
// when its position is next asked for: a whole number within Min..Max becomes the position,
// anything else leaves the previous one.
//
// A position set by the program may lie outside Min..Max (a byte from the unit or a file
// that the window range cannot express); it is shown and given back unchanged, so an
// unrelated edit never rewrites it. An arrow click moves from there into the range.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    void setRange(int min, int max);
    void setStep(int step) { step_ = step; }
    void setGrouped(bool grouped) { grouped_ = grouped; }
    void setAssociate(QLineEdit *edit) { edit_ = edit; }
    QLineEdit *associate() const { return edit_; }
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int step() const { return step_; }
    bool grouped() const { return grouped_; }

    // The value: typed text in the edit is taken over first (see above).
    std::int16_t position();
    // Sets the position as given (no clamping) and shows it in the edit. Runs no handler.
    void setPosition(int p);
    // The position a field is built with. The edit stays empty until the first setPosition:
    // the window shows its image before it is seen, and laying out each field's text twice
    // was a tenth of building the pages. An empty edit is no typed value, so position()
    // gives this one back meanwhile.
    void setInitialPosition(int p)
    {
        position_ = static_cast<std::int16_t>(p);
        shownText_ = textFor(position_);
    }
    // True when the position is p and the edit still shows it as set, untouched since: then
    // setPosition(p) would change nothing, and the number need not be formatted again.
    bool shows(int p) const { return position_ == p && !shownText_.isEmpty() && (!edit_ || edit_->text() == shownText_); }
    // Parses text the way a typed value is parsed; false when it is not a whole number
    // within Min..Max.
    bool parseText(const QString &text, int *value) const;
    // An optionally signed whole number, digit groups split by the locale's separator.
    static bool parseWholeNumber(const QString &text, const QLocale &locale, long long *value);
    QString textFor(int p) const;

    // The arrow actions of a click, usable from keyboard handlers and tests.
    void stepUp() { click(true); }
    void stepDown() { click(false); }

    QSize sizeHint() const override;

signals:
    // Emitted after an arrow click moved (or tried to move) the position.
    void clicked(bool up);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;

private:
    void click(bool up);
    void syncFromText();

    QLineEdit *edit_ = nullptr;
    std::int16_t position_ = 0;
    int min_ = 0, max_ = 100, step_ = 1;
    bool grouped_ = true;
    QString shownText_;
    int pressed_ = 0;   // +1 upper arrow held, -1 lower arrow held
};

// Two arrows under a map column: raise or lower the whole column by one.
class CSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit CSpinButton(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    void clickUp() { emit upClick(); }
    void clickDown() { emit downClick(); }

signals:
    void upClick();
    void downClick();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;

private:
    int pressed_ = 0;
};
