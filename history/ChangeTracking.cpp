// Whether the unit and the file hold what the window shows.
#include "ChangeTracking.h"

#include "HistoryTexts.h"
#include "files/IgnFile.h"

#include <QFileInfo>

namespace vorn {

void ChangeTracker::unitMatched(const ParameterImage &image)
{
    unit_ = image;
    unitChanged_ = false;
    partial_ = false;
    // A Program's own count change shows in the first monitor reply after it, so the
    // expectation outlives the end of that Program.
}

void ChangeTracker::programCountSeen(std::uint16_t count)
{
    if (lastCount_ && *lastCount_ != count) {
        if (expectCountChange_)
            expectCountChange_ = false;
        else
            unitChanged_ = true;
    }
    lastCount_ = count;
}

ChangeTracker::Unit ChangeTracker::unitState(const ParameterImage &image) const
{
    if (partial_)
        return Unit::Partial;
    if (unitChanged_)
        return Unit::Changed;
    if (!unit_)
        return Unit::NotCompared;
    return unitChanges(image) == 0 ? Unit::InSync : Unit::Changes;
}

int ChangeTracker::unitChanges(const ParameterImage &image) const
{
    return unit_ ? differenceCount(*unit_, image) : 0;
}

int ChangeTracker::fileChanges(const ParameterImage &image) const
{
    static const ByteMask fileBytes = ParameterFileBytes();
    return origin_ == FileOrigin::None ? 0 : differenceCount(file_, image, fileBytes);
}

void ChangeTracker::setFile(const QString &path, const ParameterImage &image, FileOrigin origin)
{
    origin_ = origin;
    path_ = path;
    file_ = image;
}

QString ChangeTracker::unitText(const ParameterImage &image, int language) const
{
    switch (unitState(image)) {
    case Unit::NotCompared:
        return text4(htext::UnitNotCompared, language);
    case Unit::InSync:
        return text4(htext::UnitInSync, language);
    case Unit::Changes:
        return text4(countForm(htext::UnitChanges, unitChanges(image), language), language).arg(unitChanges(image));
    case Unit::Partial:
        return text4(htext::UnitPartial, language);
    case Unit::Changed:
        break;
    }
    return text4(htext::UnitChanged, language);
}

QString ChangeTracker::fileText(const ParameterImage &image, int language) const
{
    if (origin_ == FileOrigin::None)
        return text4(htext::FileNone, language);
    const QString name = QFileInfo(path_).fileName();
    const int n = fileChanges(image);
    if (n == 0)
        return text4(htext::FileSaved, language).arg(name);
    return text4(countForm(origin_ == FileOrigin::Saved ? htext::FileChangesSaved : htext::FileChangesOpened, n, language),
                 language)
        .arg(name)
        .arg(n);
}

}  // namespace vorn
