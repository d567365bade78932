// The port chooser dialog: lists from link/PortChoice, refreshed once a second while shown.
#include "PortSettingsDialog.h"

#include "files/ProfileIni.h"
#include "link/PortChoice.h"
#include "link/PortChoiceTexts.h"
#include "link/PortPath.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace t = vorn::porttext;

namespace {

// The device's own path, to find its row again after a refresh, and the name to store.
constexpr int kPathRole = Qt::UserRole;
constexpr int kPreferredRole = Qt::UserRole + 1;

void setColumns(QTreeWidgetItem *item, const QStringList &columns)
{
    for (int c = 0; c < columns.size(); ++c)
        if (item->text(c) != columns[c])
            item->setText(c, columns[c]);
}

QTreeWidget *makeList(QWidget *parent, const char *name, int columns)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);
    return list;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(QWidget *parent, Lister lister, Settings settings)
    : QDialog(parent), lister_(std::move(lister)), settings_(std::move(settings))
{
    setObjectName(QStringLiteral("PortSettingsDialog"));
    resize(1040, 480);

    intro_ = new QLabel(this);
    intro_->setWordWrap(true);
    portsTitle_ = new QLabel(this);
    ports_ = makeList(this, "ListComPorts", 3);
    for (int n = 1; n <= vorn::kComPortCount; ++n)
        ports_->addTopLevelItem(new QTreeWidgetItem(ports_));
    devicesTitle_ = new QLabel(this);
    devices_ = makeList(this, "ListSerialDevices", 7);
    pathLabel_ = new QLabel(this);
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("EditPortDevice"));
    use_ = new QPushButton(this);
    use_->setObjectName(QStringLiteral("ButtonUsePort"));
    use_->setDefault(true);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("ButtonClosePorts"));

    auto *v = new QVBoxLayout(this);
    v->addWidget(intro_);
    v->addWidget(portsTitle_);
    v->addWidget(ports_);
    v->addWidget(devicesTitle_);
    v->addWidget(devices_, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(pathLabel_);
    row->addWidget(path_, 1);
    row->addWidget(use_);
    row->addWidget(close_);
    v->addLayout(row);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setInterval(kRefreshMs);
    connect(refreshTimer_, &QTimer::timeout, this, &PortSettingsDialog::refresh);
    connect(ports_, &QTreeWidget::itemSelectionChanged, this, &PortSettingsDialog::updateButton);
    connect(devices_, &QTreeWidget::itemSelectionChanged, this, &PortSettingsDialog::deviceSelected);
    connect(path_, &QLineEdit::textChanged, this, &PortSettingsDialog::updateButton);
    connect(use_, &QPushButton::clicked, this, [this] {
        if (onChoose && selectedPort() > 0 && !path_->text().trimmed().isEmpty())
            onChoose(selectedPort(), path_->text().trimmed());
    });
    // A double click on a device is the same as selecting it and pressing the button.
    connect(devices_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        path_->setText(item->data(0, kPreferredRole).toString());
        if (use_->isEnabled())
            use_->click();
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    applyTexts(0);
}

void PortSettingsDialog::refresh()
{
    const std::vector<vorn::SerialDevice> devices = lister_();
    const std::vector<vorn::ComPortState> states =
        vorn::comPortStates(settings_(), devices);
    for (int i = 0; i < ports_->topLevelItemCount() && i < int(states.size()); ++i)
        setColumns(ports_->topLevelItem(i), vorn::comPortColumns(states[std::size_t(i)], language_));

    // Rows are rebuilt only when devices came or went, so a selection made meanwhile stays.
    bool same = devices_->topLevelItemCount() == int(devices.size());
    for (int i = 0; same && i < int(devices.size()); ++i)
        same = devices_->topLevelItem(i)->data(0, kPathRole).toString() == devices[std::size_t(i)].path;
    if (!same) {
        QTreeWidgetItem *current = devices_->currentItem();
        const QString selected = current && current->isSelected() ? current->data(0, kPathRole).toString() : QString();
        const QSignalBlocker quiet(devices_);   // a vanished selection leaves the path field as typed
        devices_->clear();
        for (const vorn::SerialDevice &d : devices) {
            auto *item = new QTreeWidgetItem(devices_);
            item->setData(0, kPathRole, d.path);
            if (d.path == selected)
                item->setSelected(true);
        }
    }
    for (int i = 0; i < int(devices.size()); ++i) {
        QTreeWidgetItem *item = devices_->topLevelItem(i);
        const vorn::SerialDevice &d = devices[std::size_t(i)];
        setColumns(item, vorn::deviceColumns(d, states, language_));
        item->setData(0, kPreferredRole, d.preferredPath());
    }
    updateButton();
}

void PortSettingsDialog::applyTexts(int language)
{
    language_ = language;
    setWindowTitle(vorn::text4(t::DialogTitle, language));
    intro_->setText(vorn::text4(t::Intro, language));
    portsTitle_->setText(vorn::text4(t::PortsTitle, language));
    devicesTitle_->setText(vorn::text4(t::DevicesTitle, language));
    pathLabel_->setText(vorn::text4(t::DeviceLabel, language));
    close_->setText(vorn::text4(t::Close, language));
    ports_->setHeaderLabels(vorn::comPortHeaders(language));
    devices_->setHeaderLabels(vorn::deviceHeaders(language));
    if (isVisible())
        refresh();
    else
        updateButton();
}

void PortSettingsDialog::selectPort(int n)
{
    if (QTreeWidgetItem *item = ports_->topLevelItem(n - 1)) {
        ports_->setCurrentItem(item);
        item->setSelected(true);
    }
}

int PortSettingsDialog::selectedPort() const
{
    const QList<QTreeWidgetItem *> selected = ports_->selectedItems();
    return selected.isEmpty() ? 0 : ports_->indexOfTopLevelItem(selected.first()) + 1;
}

void PortSettingsDialog::showEvent(QShowEvent *event)
{
    refresh();
    // All ten ports at once, no scrolling; the devices get the rest.
    ports_->setFixedHeight(ports_->sizeHintForRow(0) * ports_->topLevelItemCount()
                           + ports_->header()->sizeHint().height() + 2 * ports_->frameWidth());
    // Wide enough for the stable names, which are long, as far as the screen allows.
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    int wanted = devices_->header()->length() + 2 * devices_->frameWidth() + margins + 4;
    if (const QScreen *s = screen())
        wanted = qMin(wanted, s->availableGeometry().width() * 9 / 10);
    if (wanted > width())
        resize(wanted, height());
    refreshTimer_->start();
    QDialog::showEvent(event);
}

void PortSettingsDialog::hideEvent(QHideEvent *event)
{
    refreshTimer_->stop();
    QDialog::hideEvent(event);
}

void PortSettingsDialog::deviceSelected()
{
    const QList<QTreeWidgetItem *> selected = devices_->selectedItems();
    if (!selected.isEmpty())
        path_->setText(selected.first()->data(0, kPreferredRole).toString());
    updateButton();
}

void PortSettingsDialog::updateButton()
{
    const int n = selectedPort();
    use_->setText(n > 0 ? vorn::text4(t::UseFor, language_).arg(n) : vorn::text4(t::UseForNone, language_));
    use_->setEnabled(n > 0 && !path_->text().trimmed().isEmpty());
}
