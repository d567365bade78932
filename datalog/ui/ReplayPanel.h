// The replay panel: play / pause, position, speed and what was skipped of the log. A small
// tool window over the main window; closing it leaves the replay.
#pragma once

#include <QWidget>

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

class ReplayPanel : public QWidget {
    Q_OBJECT
public:
    explicit ReplayPanel(QWidget *parent);

    // `capped`: the log had more rows than were read.
    void setLog(const QString &fileName, int rows, int skipped, bool truncated, bool capped, std::int64_t durationMs);
    void showPosition(int index, std::int64_t timeMs);
    void setPlaying(bool playing);
    void setSpeed(int factor);
    void applyTexts(int language);

signals:
    void playToggled();
    void seekRequested(int index);
    void speedChosen(int factor);
    void leaveRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void writeInfo();

    QPushButton *play_;
    QPushButton *leave_;
    QSlider *slider_;
    QComboBox *speed_;
    QLabel *speedLabel_;
    QLabel *position_;
    QLabel *info_;
    QString fileName_;
    int skipped_ = 0;
    bool truncated_ = false;
    bool capped_ = false;
    int rows_ = 0;
    bool playing_ = false;
    bool updating_ = false;
    std::int64_t durationMs_ = 0;
    std::int64_t timeMs_ = 0;
    int language_ = 0;
};
