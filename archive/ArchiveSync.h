// Offline first: the bench appends to its own file; the sync sends the server what it has not
// confirmed and fetches what other benches sent, so both end with the same rows.
#pragma once

#include "ArchiveStore.h"
#include "ServerProbe.h"

#include <functional>

namespace vorn {

struct SyncReport {
    bool answered = false;  // the server answered at all (ServerProbe)
    bool reached = false;   // the server was opened
    int sent = 0;           // events the server confirmed in this sync
    int received = 0;       // events of other benches this bench did not have
    int waiting = 0;        // events of this bench the server has not confirmed
    QString error;          // empty when everything went through
    bool done() const { return reached && error.isEmpty() && waiting == 0; }
};

// Told after each batch the server committed, before this bench marks it sent: table name
// and rows. A crash right then costs nothing; the batch goes again and the server keeps
// one copy of each row.
using SyncProgress = std::function<void(const QString &table, int rows)>;

// Both stores open. Sending is idempotent: every row has a unique key on the server (an
// event's id, a tune's hash) and goes as INSERT ... ON CONFLICT DO NOTHING; a row is marked
// sent here only after the server committed it. Fetching goes by the server's own order
// and remembers how far it got per server, in the same transaction as the rows it fetched.
SyncReport syncArchive(ArchiveStore &local, ArchiveStore &server, const SyncProgress &progress = {});

// Opens the server with the local store's identity, then syncs; reached is false when the
// server could not be opened. The server is asked first whether it answers at all: by
// `probe`, which the caller may have started a while before, waiting at most `wait` for its
// answer (or until `stop` says so), so that a server out of reach costs no more than that.
SyncReport syncWithServer(ArchiveStore &local, const ServerAddress &address, ServerProbe &probe,
                          std::chrono::milliseconds wait, const std::function<bool()> &stop = {},
                          const SyncProgress &progress = {});
// The same with a probe of its own, waiting up to connectTimeoutSeconds for the answer.
SyncReport syncWithServer(ArchiveStore &local, const ServerAddress &address, int connectTimeoutSeconds = 3,
                          const SyncProgress &progress = {});

}  // namespace vorn
