// Prints what the port chooser costs: one look as the no-connection label's hint takes it
// once a second while the unit does not answer (the devices as last listed, the chosen
// port's state, the hint), the same with a fresh listing of the system's devices as after a
// device came or went, and one refresh of the open dialog. Medians in microseconds.
#include "BenchSupport.h"
#include "files/ProfileIni.h"
#include "link/PortChoice.h"
#include "link/SerialDeviceCache.h"
#include "link/ui/PortSettingsDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

double medianUs(int rounds, const std::function<void()> &f)
{
    return bench::medianUs(rounds, [&](int) { f(); });
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    const QString ini = dir.filePath(QStringLiteral("vorn4.ini"));
    vorn::storeComDevicePath(ini, 1, QStringLiteral("/dev/serial/by-id/usb-none-if00-port0"), 0);

    vorn::SerialDeviceCache cache;
    auto look = [&](bool afresh) {
        if (afresh)
            cache.invalidate();
        const std::vector<vorn::SerialDevice> &devices = cache.devices();
        const vorn::ComPortState chosen = vorn::comPortState(1, vorn::ProfileIni(ini), devices);
        volatile bool told = !vorn::noConnectionHint(chosen, devices, 0).isEmpty();
        (void)told;
    };
    const double hint = medianUs(101, [&] { look(false); });
    const double listed = medianUs(21, [&] { look(true); });
    PortSettingsDialog dialog(nullptr, [&] { return cache.devices(); }, [&] { return vorn::ProfileIni(ini); });
    dialog.show();
    const double refresh = medianUs(51, [&] { dialog.refresh(); });

    QTextStream out(stdout);
    out << "hint_check_us " << hint << "\n";
    out << "hint_check_after_a_device_change_us " << listed << "\n";
    out << "dialog_refresh_us " << refresh << "\n";
    return 0;
}
