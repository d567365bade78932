// The advance finder's window: the plan (row, step, variants, pulls per variant, rounds, ceiling,
// with the safety sentence beside the ceiling), the run the tuner starts, a large progress
// line a rider can read at a glance, and the result with Apply. The run itself is the
// core's: this window feeds it the live rows and programs what it asks for through the host.
#pragma once

#include "finder/AdvanceFinder.h"
#include "logview/AdvanceFinderApi.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vorn::logview {

class FinderResultView;

class AdvanceFinderWindow : public QWidget, public AdvanceFinder {
    Q_OBJECT
public:
    AdvanceFinderWindow(host::Shell &shell, FinderHost &host, QWidget *parent);
    ~AdvanceFinderWindow() override;

    QWidget *widget() override { return this; }
    void setLanguage(int language) override;
    void liveRow(const LogRow &row) override;
    void programFinished(bool ok) override;
    void unitLost() override;
    void setSettings(const Settings &settings) override;
    Settings settings() const override;
    bool start() override;
    void stop() override;
    bool running() const override;
    QString progressText() const override;
    QString stateText() const override;
    void showResultOf(const std::vector<std::vector<LogRow>> &variantRows) override;
    bool hasProposal() const override;
    bool apply() override;

protected:
    // Closing the window during a run stops it: nothing is programmed out of the tuner's
    // sight but the base map going back.
    void closeEvent(QCloseEvent *event) override;

private:
    void retranslate();
    void chooseCeilingFile();
    // The ceiling as chosen; nothing (and a box) when the ceiling file cannot be read.
    std::optional<finder::Ceiling> ceiling();
    // Asks the host to program what the run has due; a refusal fails the run.
    void programDue();
    // The map on screen with only the run's row taken from `runImage`: what the tuner
    // changes elsewhere while the run goes on is programmed with it, never written over.
    ParameterImage onScreenWithRunRow(const ParameterImage &runImage) const;
    // The run reached Done or Failed: the window shows the base again, and the result.
    void runEnded();
    void showAnalysis(const finder::Analysis &analysis);
    void updateState();

    host::Shell &shell_;
    FinderHost &host_;
    int language_ = 0;
    QString ceilingFile_;
    std::unique_ptr<finder::Run> run_;
    ParameterImage base_;
    int runRow_ = 0;
    std::optional<finder::Analysis> analysis_;

    QGroupBox *planBox_;
    QLabel *rowLabel_, *stepLabel_, *variantsLabel_, *pullsLabel_, *roundsLabel_, *ceilingLabel_, *safety_, *fileLabel_;
    QComboBox *row_, *variants_;
    QSpinBox *step_, *pulls_, *rounds_, *offset_;
    QRadioButton *byOffset_, *byFile_;
    QPushButton *choose_, *start_, *stop_, *apply_, *close_;
    QLabel *progress_, *state_;
    FinderResultView *result_;
};

}  // namespace vorn::logview
