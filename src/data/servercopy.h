#pragma once
// Moving a shop from its data folder onto a database server (--copy-to-server).
//
// The eight files are read through one read-only connection in one read
// transaction, so the folder stays exactly as it was (no file upgraded,
// created or touched) and a save made meanwhile by a running counter is in
// the copy whole or not at all. Files of an older layout are copied as they
// are into the current layout on the server; a file of a later program is
// refused.
//
// On the server everything happens in one transaction: the layout is made
// when missing, a database that already holds data (any record beyond the
// placeholders a fresh layout has) is refused, each table's rows go over in
// rowid order with their rowids, and then every table is read back and
// compared with its file value by value (counts, then each field of each
// record: NULL stays NULL, texts, serials and numbers exactly). Only when all
// of it agrees is the transaction committed; otherwise nothing stays on the
// server.
#include <QString>
#include <QStringList>

namespace zelva {

struct CopyOutcome {
    bool copied = false;
    // What to tell the operator, one line each: the tables copied and their
    // record counts, or why nothing was copied and exactly what differs.
    QStringList lines;
};

CopyOutcome CopyFolderToServer(const QString& dataFolder, const QString& serverUrl);

} // namespace zelva
