#include "logview/AdvanceFinderWindow.h"

#include "files/IgnFile.h"
#include "host/Shell.h"
#include "logview/FinderResultView.h"
#include "logview/FinderTexts.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace vorn::logview {

namespace t = findertexts;
using Phase = finder::Run::Phase;

namespace {

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

AdvanceFinderWindow::AdvanceFinderWindow(host::Shell &shell, FinderHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window), shell_(shell), host_(host), language_(shell.language())
{
    setObjectName(QStringLiteral("AdvanceFinder"));
    planBox_ = new QGroupBox(this);
    auto *form = new QFormLayout(planBox_);
    row_ = named(new QComboBox(planBox_), "FinderRow");
    // The full-throttle row first: it is the row the finder is for.
    for (int r = kMapSize - 1; r >= 0; --r)
        row_->addItem(QString(), r);
    row_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    step_ = named(new QSpinBox(planBox_), "FinderStep");
    step_->setRange(1, 10);
    step_->setSuffix(QStringLiteral(" °"));
    step_->setValue(finder::kDefaultStepDeg);
    variants_ = named(new QComboBox(planBox_), "FinderVariants");
    variants_->addItem(QStringLiteral("3"), 3);
    variants_->addItem(QStringLiteral("5"), 5);
    pulls_ = named(new QSpinBox(planBox_), "FinderPulls");
    pulls_->setRange(1, 10);
    pulls_->setValue(finder::kDefaultPullsPerVariant);
    // A second round lays its variants around the first one's answer: for a start far from
    // the best, where the first round's variants all sit down one flank.
    rounds_ = named(new QSpinBox(planBox_), "FinderRounds");
    rounds_->setRange(1, 2);
    rounds_->setValue(1);
    for (QWidget *w : std::initializer_list<QWidget *>{step_, variants_, pulls_, rounds_})
        w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    offset_ = named(new QSpinBox(planBox_), "FinderCeilingOffset");
    offset_->setRange(0, 15);
    offset_->setPrefix(QStringLiteral("+"));
    offset_->setSuffix(QStringLiteral(" °"));
    offset_->setValue(finder::kDefaultCeilingOffsetDeg);
    byOffset_ = named(new QRadioButton(planBox_), "FinderCeilingByOffset");
    byFile_ = named(new QRadioButton(planBox_), "FinderCeilingByFile");
    byOffset_->setChecked(true);
    auto *group = new QButtonGroup(this);
    group->addButton(byOffset_);
    group->addButton(byFile_);
    choose_ = named(new QPushButton(planBox_), "FinderCeilingChoose");
    fileLabel_ = named(new QLabel(planBox_), "FinderCeilingFile");
    safety_ = named(new QLabel(planBox_), "FinderSafety");
    safety_->setWordWrap(true);
    QFont bold = safety_->font();
    bold.setBold(true);
    safety_->setFont(bold);

    rowLabel_ = new QLabel(planBox_);
    stepLabel_ = new QLabel(planBox_);
    variantsLabel_ = new QLabel(planBox_);
    pullsLabel_ = new QLabel(planBox_);
    roundsLabel_ = new QLabel(planBox_);
    ceilingLabel_ = new QLabel(planBox_);
    rowLabel_->setBuddy(row_);
    stepLabel_->setBuddy(step_);
    variantsLabel_->setBuddy(variants_);
    pullsLabel_->setBuddy(pulls_);
    roundsLabel_->setBuddy(rounds_);
    form->addRow(rowLabel_, row_);
    form->addRow(stepLabel_, step_);
    form->addRow(variantsLabel_, variants_);
    form->addRow(pullsLabel_, pulls_);
    form->addRow(roundsLabel_, rounds_);
    // The ceiling's two forms, and beside them the sentence a tuner must read.
    auto *ceilingBox = new QHBoxLayout;
    auto *choices = new QFormLayout;
    choices->addRow(byOffset_, offset_);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel_, 1);
    fileRow->addWidget(choose_);
    choices->addRow(byFile_, fileRow);
    ceilingBox->addLayout(choices);
    ceilingBox->addWidget(safety_, 1);
    form->addRow(ceilingLabel_, ceilingBox);

    start_ = named(new QPushButton(this), "FinderStart");
    stop_ = named(new QPushButton(this), "FinderStop");
    apply_ = named(new QPushButton(this), "FinderApply");
    close_ = named(new QPushButton(this), "FinderClose");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(close_);

    // Large enough to read from the saddle, a glance away from the road.
    progress_ = named(new QLabel(this), "FinderProgress");
    QFont big = progress_->font();
    big.setPointSizeF(big.pointSizeF() * 2.6);
    big.setBold(true);
    progress_->setFont(big);
    progress_->setAlignment(Qt::AlignCenter);
    state_ = named(new QLabel(this), "FinderState");
    QFont larger = state_->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.4);
    state_->setFont(larger);
    state_->setAlignment(Qt::AlignCenter);
    state_->setWordWrap(true);
    result_ = new FinderResultView(this);

    auto *v = new QVBoxLayout(this);
    v->addWidget(planBox_);
    v->addLayout(buttons);
    v->addWidget(progress_);
    v->addWidget(state_);
    v->addWidget(result_, 1);

    connect(choose_, &QPushButton::clicked, this, &AdvanceFinderWindow::chooseCeilingFile);
    connect(start_, &QPushButton::clicked, this, [this] { start(); });
    connect(stop_, &QPushButton::clicked, this, &AdvanceFinderWindow::stop);
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    resize(1000, 820);
    retranslate();
    updateState();
}

AdvanceFinderWindow::~AdvanceFinderWindow() = default;

void AdvanceFinderWindow::setLanguage(int language)
{
    language_ = language;
    retranslate();
}

void AdvanceFinderWindow::retranslate()
{
    setWindowTitle(text4(t::kTitle, language_));
    planBox_->setTitle(text4(t::kPlan, language_));
    for (int i = 0; i < row_->count(); ++i)
        row_->setItemText(i, text4(t::kRowItem, language_)
                                 .arg(finder::throttlePercentOfRow(row_->itemData(i).toInt())));
    rowLabel_->setText(text4(t::kRow, language_));
    stepLabel_->setText(text4(t::kStep, language_));
    variantsLabel_->setText(text4(t::kVariants, language_));
    pullsLabel_->setText(text4(t::kPulls, language_));
    roundsLabel_->setText(text4(t::kRounds, language_));
    ceilingLabel_->setText(text4(t::kCeiling, language_));
    byOffset_->setText(text4(t::kCeilingOffset, language_));
    byFile_->setText(text4(t::kCeilingMap, language_));
    choose_->setText(text4(t::kChoose, language_));
    fileLabel_->setText(ceilingFile_.isEmpty() ? text4(t::kNoFile, language_) : QFileInfo(ceilingFile_).fileName());
    fileLabel_->setToolTip(QDir::toNativeSeparators(ceilingFile_));
    safety_->setText(text4(t::kSafety, language_));
    start_->setText(text4(t::kStart, language_));
    stop_->setText(text4(t::kStop, language_));
    apply_->setText(text4(t::kApply, language_));
    close_->setText(text4(t::kClose, language_));
    result_->setLanguage(language_);
    updateState();
}

void AdvanceFinderWindow::chooseCeilingFile()
{
    const QString path = host_.chooseParameterFile();
    if (path.isEmpty())
        return;
    ceilingFile_ = path;
    byFile_->setChecked(true);
    retranslate();
}

void AdvanceFinderWindow::setSettings(const Settings &s)
{
    const int row = s.row < 0 ? finder::kFullThrottleRow : s.row;
    row_->setCurrentIndex(row_->findData(row));
    step_->setValue(s.stepDeg);
    variants_->setCurrentIndex(variants_->findData(s.variants));
    pulls_->setValue(s.pulls);
    rounds_->setValue(s.rounds);
    offset_->setValue(s.ceilingOffsetDeg);
    ceilingFile_ = s.ceilingFile;
    (ceilingFile_.isEmpty() ? byOffset_ : byFile_)->setChecked(true);
    retranslate();
}

AdvanceFinder::Settings AdvanceFinderWindow::settings() const
{
    Settings s;
    s.row = row_->currentData().toInt();
    s.stepDeg = step_->value();
    s.variants = variants_->currentData().toInt();
    s.pulls = pulls_->value();
    s.rounds = rounds_->value();
    s.ceilingOffsetDeg = offset_->value();
    s.ceilingFile = byFile_->isChecked() ? ceilingFile_ : QString();
    return s;
}

std::optional<finder::Ceiling> AdvanceFinderWindow::ceiling()
{
    finder::Ceiling c;
    c.offsetDeg = offset_->value();
    if (!byFile_->isChecked())
        return c;
    QFile file(ceilingFile_);
    ParameterImage map = host_.image();
    if (ceilingFile_.isEmpty() || !file.open(QIODevice::ReadOnly) || !ReadParameterFile(file.readAll(), map)) {
        shell_.messageOver(this, text4(t::kBadCeilingFile, language_).arg(QDir::toNativeSeparators(ceilingFile_)));
        return std::nullopt;
    }
    c.map = map;
    return c;
}

bool AdvanceFinderWindow::start()
{
    if (running())
        return false;
    const std::optional<finder::Ceiling> c = ceiling();
    if (!c)
        return false;
    const Settings s = settings();
    finder::RunSettings rs;
    rs.plan.row = s.row;
    rs.plan.stepDeg = s.stepDeg;
    rs.plan.variants = s.variants;
    rs.plan.ceiling = *c;
    rs.pullsPerVariant = s.pulls;
    rs.rounds = s.rounds;
    base_ = host_.image();
    runRow_ = s.row;
    run_ = std::make_unique<finder::Run>(base_, rs);
    analysis_.reset();
    result_->clear();
    updateState();
    return true;
}

void AdvanceFinderWindow::stop()
{
    if (!running())
        return;
    run_->stop();
    if (!running())
        runEnded();
    updateState();
}

void AdvanceFinderWindow::closeEvent(QCloseEvent *event)
{
    stop();
    QWidget::closeEvent(event);
}

bool AdvanceFinderWindow::running() const
{
    return run_ && run_->phase() != Phase::Done && run_->phase() != Phase::Failed;
}

void AdvanceFinderWindow::liveRow(const LogRow &row)
{
    // Only the run the tuner started, and only at its request, ever programs anything.
    if (!running())
        return;
    if (run_->feed(row) == finder::Run::Action::Program)
        programDue();
    updateState();
}

void AdvanceFinderWindow::programDue()
{
    if (!host_.program(onScreenWithRunRow(run_->imageToProgram()))) {
        run_->programmed(false);
        runEnded();
    }
}

ParameterImage AdvanceFinderWindow::onScreenWithRunRow(const ParameterImage &runImage) const
{
    ParameterImage image = host_.image();
    for (int c = 0; c < kMapSize; ++c) {
        const int at = Off::Advance + kMapSize * runRow_ + c;
        image[at] = runImage[at];
    }
    return image;
}

void AdvanceFinderWindow::programFinished(bool ok)
{
    if (!run_ || run_->phase() != Phase::Programming)
        return;
    run_->programmed(ok);
    if (!running())
        runEnded();
    updateState();
}

void AdvanceFinderWindow::unitLost()
{
    if (run_ && run_->phase() == Phase::Programming) {
        run_->programmed(false);
        runEnded();
        updateState();
    }
}

void AdvanceFinderWindow::runEnded()
{
    // A failed run leaves a variant on screen; the base goes back there, so that Device,
    // Program puts it back into the unit and a Save never keeps a variant as the tune.
    if (!run_->baseRestored())
        host_.showImage(onScreenWithRunRow(base_));
    showAnalysis(run_->analysis());
}

void AdvanceFinderWindow::showAnalysis(const finder::Analysis &analysis)
{
    analysis_ = analysis;
    result_->showAnalysis(analysis, language_);
}

void AdvanceFinderWindow::showResultOf(const std::vector<std::vector<LogRow>> &variantRows)
{
    const std::optional<finder::Ceiling> c = ceiling();
    if (!c)
        return;
    std::vector<finder::RecordedLog> logs;
    for (const auto &rows : variantRows)
        logs.push_back({rows});
    finder::AnalysisSettings as;
    as.row = settings().row;
    as.ceiling = *c;
    as.stepDeg = step_->value();
    base_ = host_.image();
    showAnalysis(finder::analyse(logs, base_, as));
    updateState();
}

bool AdvanceFinderWindow::hasProposal() const
{
    return analysis_ && analysis_->decidedCount() > 0;
}

bool AdvanceFinderWindow::apply()
{
    if (!hasProposal() || running())
        return false;
    std::vector<std::optional<int>> advance(kMapSize);
    for (const finder::CellResult &c : analysis_->cells)
        if (c.decided() && c.column >= 0 && c.column < kMapSize)
            advance[c.column] = c.proposed;
    host_.applyProposal(analysis_->row, advance);
    state_->setText(text4(t::kApplied, language_));
    return true;
}

QString AdvanceFinderWindow::progressText() const
{
    return progress_->text();
}

QString AdvanceFinderWindow::stateText() const
{
    return state_->text();
}

void AdvanceFinderWindow::updateState()
{
    const bool active = running();
    // The inputs rest during a run; the safety sentence stays as readable as ever.
    for (QWidget *w : std::initializer_list<QWidget *>{row_, step_, variants_, pulls_, rounds_, offset_, byOffset_, byFile_, choose_})
        w->setEnabled(!active);
    start_->setEnabled(!active);
    stop_->setEnabled(active);
    apply_->setEnabled(!active && hasProposal());
    if (!run_) {
        progress_->setText(text4(t::kIdle, language_));
        state_->setText(analysis_ && !hasProposal() ? text4(t::kNoProposal, language_) : QString());
        return;
    }
    const finder::Run &r = *run_;
    // The pull to ride next: while a variant is due or being programmed that is its first
    // one; once the last variant is ridden, the pulls it had.
    const bool ridden = r.programmingBase() || r.phase() == Phase::Done || r.phase() == Phase::Failed;
    const int pull = ridden ? r.pull()
                            : std::min(r.phase() == Phase::Recording ? r.pull() + 1 : 1, r.pullsPerVariant());
    QString line = text4(t::kProgress, language_).arg(r.variant()).arg(r.variantCount()).arg(pull).arg(r.pullsPerVariant());
    if (r.rounds() > 1)
        line.prepend(text4(t::kRound, language_).arg(r.round()).arg(r.rounds()));
    progress_->setText(line);
    switch (r.phase()) {
    case Phase::WaitingToProgram: state_->setText(text4(t::kWaitShut, language_)); break;
    case Phase::Programming:
        state_->setText(r.programmingBase() ? text4(t::kProgrammingBase, language_)
                                            : text4(t::kProgramming, language_).arg(r.variant()));
        break;
    case Phase::Recording: state_->setText(text4(t::kRide, language_)); break;
    case Phase::Done: state_->setText(text4(t::kDone, language_)); break;
    case Phase::Failed:
        state_->setText(text4(r.baseRestored() ? t::kFailedBaseIn : t::kFailed, language_));
        break;
    }
}

}  // namespace vorn::logview
