// The archive window: search the archive, a customer's or a unit's events, a tune's
// ancestors and descendants, its labels; open a tune into the window or compare two.
// Not modal: it stays beside the main window while the tuner works on.
#pragma once

#include "archive/ArchiveRecords.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace vorn {
class ArchiveService;
}

class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    ArchiveWindow(vorn::ArchiveService &service, QWidget *parent);

    // What the buttons ask of the window's host: the tune into the window, or a comparison
    // of the first tune (the window's image when empty) with the second.
    std::function<void(const QString &hash)> onOpen;
    std::function<void(const QString &first, const QString &second)> onCompare;

    void retranslate(int language);
    // The archive's sentence about the tune the unit was last found holding.
    void setUnitStatus(const QString &text, bool warning);
    // Lists what `text` finds and makes the first row's tune the chosen one; with
    // `keepSelection` the tunes selected before stay selected where they are still listed.
    void search(const QString &text, bool keepSelection = false);
    // Makes `hash` the chosen tune: its tree and labels.
    void choose(const QString &hash);
    QString chosen() const { return chosen_; }
    // The tunes of the selected rows, each once, in the order of the rows.
    QStringList selectedTunes() const;

    QLineEdit *searchEdit() const { return searchEdit_; }
    QTableWidget *events() const { return events_; }
    QTreeWidget *tree() const { return tree_; }
    QLineEdit *labelEdit(vorn::LabelKey key) const { return labelEdits_[static_cast<int>(key)]; }
    QPushButton *openButton() const { return open_; }
    QPushButton *compareButton() const { return compare_; }
    QPushButton *saveLabelsButton() const { return saveLabels_; }
    QLabel *unitStatus() const { return unitStatus_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showFound(const QString &text, const vorn::FindResult &r, const QStringList &keep);
    // The last search again, and the chosen tune's tree, after the archive recorded an event;
    // when the window is next shown if it is hidden.
    void refresh();
    void showHistory(const vorn::TuneHistory &h);
    void selectionChanged();
    void saveLabels();
    void updateButtons();
    void fillHeaders();

    vorn::ArchiveService &service_;
    int language_ = 0;
    QString chosen_;
    QString shownSearch_;   // the text of the search the rows answer
    bool stale_ = false;    // an event was recorded while the window was hidden
    vorn::LabelValues shownLabels_;
    QLabel *unitStatus_, *searchLabel_, *eventsLabel_, *treeLabel_, *labelsTitle_, *found_;
    std::array<QLabel *, vorn::kLabelKeyCount> labelNames_{};
    std::array<QLineEdit *, vorn::kLabelKeyCount> labelEdits_{};
    QLineEdit *searchEdit_;
    QTableWidget *events_;
    QTreeWidget *tree_;
    QPushButton *find_, *open_, *compare_, *saveLabels_, *close_;
    int searchSerial_ = 0, historySerial_ = 0;   // only the newest answer is shown
};
