#pragma once
// Reaching SQLite under a Qt connection: the connection's own handle, and the storage class a
// Qt value is bound and copied as.

#include <QSqlDatabase>
#include <QVariant>

struct sqlite3;

namespace ruto {

// The SQLite handle under an open Qt connection; null when the driver is not SQLite's.
sqlite3* SqliteHandle(const QSqlDatabase& db);

enum class SqliteStorage { Null, Integer, Real, Blob, Text };

// How a value goes into SQLite: whole numbers and Booleans as integers, doubles as reals, byte
// arrays as blobs, everything else as its text.
SqliteStorage SqliteStorageOf(const QVariant& v);

// `identifier` as an SQL quoted identifier, inner double quotes doubled.
QString QuotedIdentifier(const QString& identifier);

}  // namespace ruto
