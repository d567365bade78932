#include "host/ModuleLoader.h"

#include <QCoreApplication>
#include <QLibrary>

#ifndef VORN4_BUILD_MODULE_DIR
#define VORN4_BUILD_MODULE_DIR ""
#endif
#ifndef VORN4_INSTALL_MODULE_DIR
#define VORN4_INSTALL_MODULE_DIR ""
#endif

namespace vorn::host {

ModuleLoader::ModuleLoader(QString name, QStringList dirs) : name_(std::move(name)), dirs_(std::move(dirs)) {}

QStringList ModuleLoader::defaultDirs()
{
    const QString app = QCoreApplication::applicationDirPath();
    QStringList dirs = {app, app + QStringLiteral("/lib/vorn4"), app + QStringLiteral("/../lib/vorn4"),
                        app + QStringLiteral("/../lib")};
    for (const char *dir : {VORN4_BUILD_MODULE_DIR, VORN4_INSTALL_MODULE_DIR})
        if (*dir)
            dirs << QString::fromUtf8(dir);
    return dirs;
}

ModuleLoader::Function ModuleLoader::resolve(const char *symbol) const
{
    for (const QString &dir : dirs_) {
        QLibrary module(dir + QLatin1Char('/') + name_);
        if (!module.load())
            continue;
        if (QFunctionPointer entry = module.resolve(symbol))
            return entry;
    }
    return nullptr;
}

}  // namespace vorn::host
