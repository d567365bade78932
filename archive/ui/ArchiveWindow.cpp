#include "ArchiveWindow.h"

#include "ArchiveUiTexts.h"
#include "archive/ArchiveService.h"
#include "archive/ArchiveTexts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

using namespace vorn;

namespace {

enum Column { ColTime, ColEvent, ColResult, ColBench, ColUser, ColUnit, ColLabels, ColTune, ColCount };
constexpr int kHashRole = Qt::UserRole;
constexpr int kShortHash = 12;

QString shortHash(const QString &hash) { return hash.left(kShortHash); }

QString labelsLine(const LabelValues &labels)
{
    QStringList parts;
    for (const QString &v : labels)
        if (!v.isEmpty())
            parts << v;
    return parts.join(QStringLiteral(", "));
}

QString unitLine(const UnitTexts &u)
{
    return QStringList{u.version, u.date.trimmed(), u.time, u.freeText}.filter(QRegularExpression(QStringLiteral("\\S")))
        .join(QLatin1Char(' '));
}

}  // namespace

ArchiveWindow::ArchiveWindow(ArchiveService &service, QWidget *parent) : QDialog(parent), service_(service)
{
    setObjectName(QStringLiteral("ArchiveWindow"));
    setModal(false);
    resize(900, 620);

    unitStatus_ = new QLabel(this);
    unitStatus_->setObjectName(QStringLiteral("ArchiveUnitStatus"));
    unitStatus_->setWordWrap(true);
    unitStatus_->hide();

    searchLabel_ = new QLabel(this);
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("ArchiveSearch"));
    searchEdit_->setClearButtonEnabled(true);
    searchLabel_->setBuddy(searchEdit_);
    find_ = new QPushButton(this);
    find_->setObjectName(QStringLiteral("ArchiveFind"));
    find_->setAutoDefault(false);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel_);
    searchRow->addWidget(searchEdit_, 1);
    searchRow->addWidget(find_);

    eventsLabel_ = new QLabel(this);
    found_ = new QLabel(this);
    events_ = new QTableWidget(0, ColCount, this);
    events_->setObjectName(QStringLiteral("ArchiveEvents"));
    events_->setSelectionBehavior(QAbstractItemView::SelectRows);
    events_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    events_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    events_->setTabKeyNavigation(false);
    events_->verticalHeader()->hide();
    events_->horizontalHeader()->setStretchLastSection(true);
    eventsLabel_->setBuddy(events_);

    treeLabel_ = new QLabel(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("ArchiveTree"));
    tree_->setHeaderHidden(true);
    treeLabel_->setBuddy(tree_);

    auto *labelsBox = new QGroupBox(this);
    labelsTitle_ = new QLabel(labelsBox);
    auto *form = new QFormLayout(labelsBox);
    form->addRow(labelsTitle_);
    for (int k = 0; k < kLabelKeyCount; ++k) {
        labelNames_[k] = new QLabel(labelsBox);
        labelEdits_[k] = new QLineEdit(labelsBox);
        labelEdits_[k]->setObjectName(QStringLiteral("ArchiveLabel_%1").arg(QLatin1String(labelKeyWord(LabelKey(k)))));
        labelNames_[k]->setBuddy(labelEdits_[k]);
        form->addRow(labelNames_[k], labelEdits_[k]);
        connect(labelEdits_[k], &QLineEdit::textChanged, this, &ArchiveWindow::updateButtons);
    }
    saveLabels_ = new QPushButton(labelsBox);
    saveLabels_->setObjectName(QStringLiteral("ArchiveSaveLabels"));
    saveLabels_->setAutoDefault(false);
    form->addRow(saveLabels_);

    auto *lower = new QHBoxLayout;
    auto *treeColumn = new QVBoxLayout;
    treeColumn->addWidget(treeLabel_);
    treeColumn->addWidget(tree_);
    lower->addLayout(treeColumn, 1);
    lower->addWidget(labelsBox, 1);

    open_ = new QPushButton(this);
    open_->setObjectName(QStringLiteral("ArchiveOpen"));
    compare_ = new QPushButton(this);
    compare_->setObjectName(QStringLiteral("ArchiveCompare"));
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("ArchiveClose"));
    for (QPushButton *b : {open_, compare_, close_})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(compare_);
    buttons->addStretch(1);
    buttons->addWidget(close_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(unitStatus_);
    layout->addLayout(searchRow);
    auto *eventsHead = new QHBoxLayout;
    eventsHead->addWidget(eventsLabel_);
    eventsHead->addStretch(1);
    eventsHead->addWidget(found_);
    layout->addLayout(eventsHead);
    layout->addWidget(events_, 3);
    layout->addLayout(lower, 2);
    layout->addLayout(buttons);

    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] { search(searchEdit_->text()); });
    connect(find_, &QPushButton::clicked, this, [this] { search(searchEdit_->text()); });
    connect(events_, &QTableWidget::itemSelectionChanged, this, &ArchiveWindow::selectionChanged);
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const QString hash = item ? item->data(0, kHashRole).toString() : QString();
        if (!hash.isEmpty() && hash != chosen_)
            choose(hash);
    });
    connect(saveLabels_, &QPushButton::clicked, this, &ArchiveWindow::saveLabels);
    connect(open_, &QPushButton::clicked, this, [this] {
        if (onOpen && !chosen_.isEmpty())
            onOpen(chosen_);
    });
    connect(compare_, &QPushButton::clicked, this, [this] {
        const QStringList tunes = selectedTunes();
        if (!onCompare)
            return;
        if (tunes.size() >= 2)
            onCompare(tunes[0], tunes[1]);
        else if (!chosen_.isEmpty())
            onCompare(QString(), chosen_);
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    // A Read, Program or Verify while the window is open shows up in it at once.
    connect(&service_, &ArchiveService::recorded, this, &ArchiveWindow::refresh);
    retranslate(0);
    updateButtons();
}

void ArchiveWindow::retranslate(int language)
{
    language_ = language;
    setWindowTitle(text4(atext::WindowTitle, language));
    searchLabel_->setText(text4(atext::Search, language));
    find_->setText(text4(atext::Find, language));
    eventsLabel_->setText(text4(atext::Events, language));
    treeLabel_->setText(text4(atext::Tree, language));
    labelsTitle_->setText(text4(atext::Labels, language));
    static const Text4 *const kKeys[kLabelKeyCount] = {&atext::Customer, &atext::Bike, &atext::Registration,
                                                       &atext::Note};
    for (int k = 0; k < kLabelKeyCount; ++k)
        labelNames_[k]->setText(text4(*kKeys[k], language));
    saveLabels_->setText(text4(atext::SaveLabels, language));
    open_->setText(text4(atext::Open, language));
    compare_->setText(text4(atext::Compare, language));
    close_->setText(text4(atext::Close, language));
    fillHeaders();
    // Rows and tree name events and groups in the language shown: ask again.
    if (!shownSearch_.isEmpty() || events_->rowCount() > 0)
        search(shownSearch_, true);
    if (!chosen_.isEmpty())
        choose(chosen_);
}

void ArchiveWindow::fillHeaders()
{
    events_->setHorizontalHeaderLabels({text4(atext::ColumnTime, language_), text4(atext::ColumnEvent, language_),
                                        text4(atext::ColumnResult, language_), text4(atext::ColumnBench, language_),
                                        text4(atext::ColumnUser, language_), text4(atext::ColumnUnit, language_),
                                        text4(atext::ColumnLabels, language_), text4(atext::ColumnTune, language_)});
}

void ArchiveWindow::setUnitStatus(const QString &text, bool warning)
{
    unitStatus_->setText(text);
    unitStatus_->setVisible(!text.isEmpty());
    unitStatus_->setStyleSheet(warning ? QStringLiteral("QLabel { color: #b00000; font-weight: bold; }") : QString());
}

void ArchiveWindow::search(const QString &text, bool keepSelection)
{
    const int serial = ++searchSerial_;
    shownSearch_ = text.trimmed();
    found_->setText(text4(atext::Searching, language_));
    QPointer<ArchiveWindow> self = this;
    const QStringList keep = keepSelection ? selectedTunes() : QStringList();
    service_.find(shownSearch_, [self, serial, text = shownSearch_, keep](std::optional<FindResult> r) {
        if (!self || serial != self->searchSerial_)
            return;
        if (!r) {
            self->found_->clear();
            return;
        }
        self->showFound(text, *r, keep);
    });
}

void ArchiveWindow::refresh()
{
    stale_ = !isVisible();
    if (stale_)
        return;
    search(shownSearch_, true);
    // Labels typed and not yet saved stay as they are.
    if (!chosen_.isEmpty() && !saveLabels_->isEnabled())
        choose(chosen_);
}

void ArchiveWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (stale_)
        refresh();
}

void ArchiveWindow::showFound(const QString &text, const FindResult &r, const QStringList &keep)
{
    const QSignalBlocker block(events_);
    events_->clearContents();
    std::set<QString> withEvents;
    for (const ArchiveEvent &e : r.events)
        withEvents.insert(e.tuneHash);
    int rows = 0;
    for (const TuneSummary &t : r.tunes)
        rows += withEvents.count(t.hash) ? 0 : 1;
    events_->setRowCount(static_cast<int>(r.events.size()) + rows);
    int row = 0;
    auto put = [this, &row](int column, const QString &value, const QString &hash) {
        auto *item = new QTableWidgetItem(value);
        item->setData(kHashRole, hash);
        events_->setItem(row, column, item);
    };
    for (const ArchiveEvent &e : r.events) {
        put(ColTime, e.timeUtc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")), e.tuneHash);
        put(ColEvent, eventKindText(e.kind, language_), e.tuneHash);
        put(ColResult, e.result.trimmed(), e.tuneHash);
        put(ColBench, e.bench, e.tuneHash);
        put(ColUser, e.user, e.tuneHash);
        put(ColUnit, unitLine(e.unit), e.tuneHash);
        // The event's own labels, else those of its tune.
        QString labels = labelsLine(e.labels);
        if (labels.isEmpty())
            if (const auto t = r.tuneLabels.find(e.tuneHash); t != r.tuneLabels.end())
                labels = labelsLine(t->second);
        put(ColLabels, labels, e.tuneHash);
        put(ColTune, shortHash(e.tuneHash), e.tuneHash);
        ++row;
    }
    // Tunes found by their own labels that no event listed here names.
    for (const TuneSummary &t : r.tunes) {
        if (withEvents.count(t.hash))
            continue;
        put(ColTime, t.firstSeenUtc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")), t.hash);
        put(ColEvent, text4(atext::TuneOnly, language_), t.hash);
        put(ColLabels, labelsLine(t.labels), t.hash);
        put(ColTune, shortHash(t.hash), t.hash);
        ++row;
    }
    events_->resizeColumnsToContents();
    found_->setText(row == 0 && !text.isEmpty() ? text4(atext::NothingFound, language_).arg(text) : QString());
    // The first row of each tune to keep, in the order they were selected in.
    std::vector<int> kept;
    for (const QString &hash : keep)
        for (int r = 0; r < row; ++r)
            if (events_->item(r, ColTime)->data(kHashRole).toString() == hash) {
                kept.push_back(r);
                break;
            }
    if (!kept.empty()) {
        events_->setCurrentCell(kept.front(), ColTime, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        for (std::size_t i = 1; i < kept.size(); ++i)
            events_->selectionModel()->select(events_->model()->index(kept[i], ColTime),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    } else if (row > 0) {
        events_->selectRow(0);
    }
    selectionChanged();
}

QStringList ArchiveWindow::selectedTunes() const
{
    std::set<int> rows;
    for (const QModelIndex &i : events_->selectionModel()->selectedRows())
        rows.insert(i.row());
    QStringList tunes;
    for (int r : rows) {
        const QTableWidgetItem *item = events_->item(r, ColTime);
        const QString hash = item ? item->data(kHashRole).toString() : QString();
        if (!hash.isEmpty() && !tunes.contains(hash))
            tunes << hash;
    }
    return tunes;
}

void ArchiveWindow::selectionChanged()
{
    const QStringList tunes = selectedTunes();
    if (!tunes.isEmpty() && tunes.first() != chosen_)
        choose(tunes.first());
    updateButtons();
}

void ArchiveWindow::choose(const QString &hash)
{
    chosen_ = hash;
    const int serial = ++historySerial_;
    QPointer<ArchiveWindow> self = this;
    service_.history(hash, [self, serial](std::optional<TuneHistory> h) {
        if (self && serial == self->historySerial_ && h)
            self->showHistory(*h);
    });
    updateButtons();
}

void ArchiveWindow::showHistory(const TuneHistory &h)
{
    tree_->clear();
    auto name = [](const QString &hash) { return shortHash(hash); };
    auto *root = new QTreeWidgetItem(tree_, {name(h.hash) + QStringLiteral("  ") + labelsLine(h.labels)});
    root->setData(0, kHashRole, h.hash);
    auto group = [&](const Text4 &title, const std::vector<TuneNode> &nodes) {
        if (nodes.empty())
            return;
        auto *top = new QTreeWidgetItem(root, {text4(title, language_)});
        QHash<QString, QTreeWidgetItem *> items;
        items.insert(h.hash, top);
        for (const TuneNode &n : nodes) {
            QTreeWidgetItem *parent = items.value(n.via, top);
            auto *item = new QTreeWidgetItem(parent, {name(n.hash)});
            item->setData(0, kHashRole, n.hash);
            if (!items.contains(n.hash))
                items.insert(n.hash, item);
        }
    };
    // The tune's own timeline: where and by whom it was read, programmed, verified.
    if (!h.events.empty()) {
        auto *top = new QTreeWidgetItem(root, {text4(atext::TuneEvents, language_)});
        for (const ArchiveEvent &e : h.events) {
            const QString line = QStringList{e.timeUtc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")),
                                             eventKindText(e.kind, language_), e.result.trimmed(), e.bench, e.user,
                                             unitLine(e.unit)}
                                     .join(QStringLiteral("  "));
            new QTreeWidgetItem(top, {line});
        }
    }
    group(atext::MadeFrom, h.ancestors);
    group(atext::MadeInto, h.descendants);
    tree_->expandAll();
    tree_->setCurrentItem(root);
    shownLabels_ = h.labels;
    for (int k = 0; k < kLabelKeyCount; ++k) {
        const QSignalBlocker block(labelEdits_[k]);
        labelEdits_[k]->setText(h.labels[k]);
    }
    updateButtons();
}

void ArchiveWindow::saveLabels()
{
    if (chosen_.isEmpty())
        return;
    for (int k = 0; k < kLabelKeyCount; ++k) {
        const QString value = labelEdits_[k]->text().trimmed();
        if (value == shownLabels_[k])
            continue;
        service_.addLabel({LabelInput::Target::Tune, chosen_, LabelKey(k), value});
        shownLabels_[k] = value;
    }
    updateButtons();
    // The rows and the tree show the labels as they are now.
    search(shownSearch_, true);
}

void ArchiveWindow::updateButtons()
{
    bool edited = false;
    for (int k = 0; k < kLabelKeyCount; ++k)
        edited = edited || labelEdits_[k]->text().trimmed() != shownLabels_[k];
    saveLabels_->setEnabled(!chosen_.isEmpty() && edited);
    open_->setEnabled(!chosen_.isEmpty());
    compare_->setEnabled(!chosen_.isEmpty());
    for (QLineEdit *e : labelEdits_)
        e->setEnabled(!chosen_.isEmpty());
}
