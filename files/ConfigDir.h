// Where the settings file, the image dump and the test-mode marker live.
#pragma once

#include <QString>

namespace vorn {

// $VORN4_CONFIG_DIR if set, else $XDG_CONFIG_HOME/vorn4, else ~/.config/vorn4.
// The folder is not created here; writers create it when they first write.
QString configDir();
// A file of that name inside configDir().
QString configPath(const QString &fileName);

inline const QString kSettingsFileName = QStringLiteral("vorn4.ini");
// The dump keeps the original layout's name: "_" followed by the settings file name.
inline const QString kDumpFileName = QStringLiteral("_vorn4.ini");
inline const QString kTestMarkerFileName = QStringLiteral("test_kvorin.txt");

}  // namespace vorn
