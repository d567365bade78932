// Fuzz entry for a *.ign file taken into the archive: whatever tune a file gives the
// window, the archive keeps it once under its hash and gives back exactly its bytes.
#include "archive/ArchiveStore.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct Archive {
    std::unique_ptr<QCoreApplication> app;
    QTemporaryDir dir;
    vorn::ArchiveStore store;
};

Archive &archive()
{
    static Archive *a = [] {
        static int argc = 1;
        static char name[] = "fuzz_archive_import";
        static char *argv[] = {name, nullptr};
        auto *made = new Archive;
        made->app = std::make_unique<QCoreApplication>(argc, argv);   // the SQL driver is a plugin
        if (!made->dir.isValid() || !made->store.openLocal(made->dir.filePath("archive.sqlite")))
            std::abort();
        // Millions of inputs: durability on power loss is not what is fuzzed here.
        QSqlQuery(made->store.database()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        return made;
    }();
    return *a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Archive &a = archive();
    const QByteArrayView content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    vorn::ParameterImage image{};
    if (!vorn::ReadParameterFile(content, image))
        return 0;
    const QString hash = vorn::tuneHash(image);

    // Opened twice, as a tuner opens the same file again: still one tune.
    for (int round = 0; round < 2; ++round) {
        vorn::EventInput event;
        event.kind = vorn::EventKind::Read;
        event.tune = image;
        if (!a.store.record(event))
            std::abort();
    }
    const std::optional<QStringList> named = a.store.tunesStartingWith(hash, 3);
    if (!named || named->size() != 1 || named->front() != hash)
        std::abort();
    const std::optional<vorn::ParameterImage> kept = a.store.tune(hash);
    if (!kept || vorn::tuneHash(*kept) != hash)
        std::abort();
    // Blocks 1 and 2 come back byte for byte; the reserved byte is the unit's own.
    for (int i = vorn::kBlockSize; i < vorn::kImageSize; ++i)
        if (i != vorn::kBlockSize + 1 && (*kept)[i] != image[i])
            std::abort();
    return 0;
}
