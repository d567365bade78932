// Where Help, Contents finds the manual of the current language.
#include "ManualLocation.h"

#include <QDir>
#include <QFileInfo>

#ifndef VORN4_MANUAL_DIR_FROM_BIN
#define VORN4_MANUAL_DIR_FROM_BIN "../share/vorn4/manual"
#endif

namespace vorn {

QStringList manualFolders(const QString &currentDir, const QString &programDir)
{
    const QDir program(programDir);
    return {currentDir,
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral(VORN4_MANUAL_DIR_FROM_BIN))),
            program.absolutePath()};
}

QString findManual(const QString &fileName, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo candidate(QDir(folder).absoluteFilePath(fileName));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace vorn
