// Whether the unit and the file hold what the window shows.
#pragma once

#include "params/ParameterCatalogue.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vorn {

class ChangeTracker {
public:
    // Partial: a Program failed after writing part of the image; it stays so until a
    // Read, Program or Verify ends " OK".
    enum class Unit { NotCompared, InSync, Changes, Changed, Partial };
    enum class FileOrigin { None, Saved, Opened };

    // A Read, Program or Verify ended " OK": the unit holds this image's blocks 1 and 2.
    void unitMatched(const ParameterImage &image);
    // A Program run starts: the unit holds neither the old image nor yet the new one, and
    // the next change of the unit's programming count is ours.
    void programStarted()
    {
        unitUnknown();
        expectCountChange_ = true;
    }
    // A transfer failed part way: what the unit holds is not known, though it is the same
    // unit (its programming count is still followed).
    void unitUnknown()
    {
        unit_.reset();
        unitChanged_ = false;
    }
    // The number of programmings from a monitor reply. A change that no Program of this
    // window explains means someone else wrote to the unit.
    void programCountSeen(std::uint16_t count);

    // A Program failed after at least one of the settings and map blocks was sent.
    void programLeftPartialImage()
    {
        unitUnknown();
        partial_ = true;
    }

    // The line was lost and opened again: another unit may be on the cable now, so nothing
    // is known of what it holds.
    void unitForgotten()
    {
        unitUnknown();
        lastCount_.reset();
        expectCountChange_ = false;
    }

    Unit unitState(const ParameterImage &image) const;
    // Parameters that differ from what the unit was last known to hold.
    int unitChanges(const ParameterImage &image) const;
    const std::optional<ParameterImage> &unitImage() const { return unit_; }

    void fileSaved(const QString &path, const ParameterImage &image) { setFile(path, image, FileOrigin::Saved); }
    void fileOpened(const QString &path, const ParameterImage &image) { setFile(path, image, FileOrigin::Opened); }
    void fileForgotten() { origin_ = FileOrigin::None; path_.clear(); }
    FileOrigin fileOrigin() const { return origin_; }
    const QString &filePath() const { return path_; }
    const ParameterImage &fileImage() const { return file_; }
    // Parameters a file holds that differ from the file as saved or opened.
    int fileChanges(const ParameterImage &image) const;

    // The status-bar texts in a language.
    QString unitText(const ParameterImage &image, int language) const;
    QString fileText(const ParameterImage &image, int language) const;

private:
    void setFile(const QString &path, const ParameterImage &image, FileOrigin origin);

    std::optional<ParameterImage> unit_;
    bool unitChanged_ = false;
    bool partial_ = false;
    std::optional<std::uint16_t> lastCount_;
    bool expectCountChange_ = false;
    FileOrigin origin_ = FileOrigin::None;
    QString path_;
    ParameterImage file_;
};

}  // namespace vorn
