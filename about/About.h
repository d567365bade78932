// TFormAbout, the about box: program title line, logo, maker's contact block, build stamp.
#pragma once

#include <QDialog>

// The about box. Created hidden once at start-up, shown modally by Help, About; closing it
// only hides it, so it opens where the user last left it.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

    // The box's outer size including a title bar and frame: 347 x 434. The client area is
    // what remains inside a 4-pixel frame under a 19-pixel title bar.
    static constexpr int kOuterWidth = 347;
    static constexpr int kOuterHeight = 434;
    static constexpr int kClientWidth = 339;
    static constexpr int kClientHeight = 407;

    // Top-left corner of the box centred on a screen of that size; each half is taken on
    // its own with integer division, as the box has always been placed.
    static QPoint centredPosition(const QSize &screen);
    // The title line for a language index (0 English, 1 German, 2 French, 3 Czech); French
    // has none of its own and shows the English one, as does an unknown index.
    static QString titleLine(int language);
    // The compiler's build date ("Aug  9 2005") without the padding of a one-digit day.
    static QString buildDateText(const char *compilerDate);

    // The activation handler: sets the title line from the main window's language.
    void FormActivate();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool labelsFitted_ = false;
};

extern TFormAbout *FormAbout;
