// Where the settings file, the image dump and the test-mode marker live.
#include "ConfigDir.h"

#include <QDir>

namespace vorn {

QString configDir()
{
    const QString own = qEnvironmentVariable("VORN4_CONFIG_DIR");
    if (!own.isEmpty())
        return own;
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg + QStringLiteral("/vorn4");
    return QDir::homePath() + QStringLiteral("/.config/vorn4");
}

QString configPath(const QString &fileName)
{
    return configDir() + QLatin1Char('/') + fileName;
}

}  // namespace vorn
