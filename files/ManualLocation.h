// Where Help, Contents finds the manual of the current language.
#pragma once

#include <QString>
#include <QStringList>

namespace vorn {

// The folders searched, in order: the current directory (where the program has always
// looked), the manual folder of an installed package, found from the program's own folder
// so that any install prefix works, and the program's own folder (a build tree or an
// unpacked archive).
QStringList manualFolders(const QString &currentDir, const QString &programDir);

// The absolute path of the first regular file of that name in those folders, or empty.
QString findManual(const QString &fileName, const QStringList &folders);

}  // namespace vorn
