#pragma once
// The main database's schema as the program carries it, and the rebuild of a main database
// made by an earlier version of that schema.

#include <QString>
#include <QStringList>

namespace ruto {

// Splits an SQL script into statements at semicolons outside quotes and "--" comments; a
// comment becomes a line end. Statements come back trimmed, empty ones dropped.
QStringList SplitSqlStatements(const QString& script);

// The statements that make the four main tables and their indexes, in script order.
const QStringList& MainSchemaStatements();

// True when every table and index of the schema is stored in the database of `connection`
// exactly as the schema makes it (blanks aside). Other objects in the file do not matter.
bool MainSchemaCurrent(const QString& connectionName);

// Brings the database of `connection` to the schema when it is not current: every table is
// made again from the schema and every row copied into it with its key, in one transaction.
// Columns the earlier table lacked stay empty; yes/no values that were null become 0; the
// next key handed out stays where it was. On failure nothing has changed and `error` says
// why (a column the schema no longer has is refused rather than dropped). `rebuilt` tells
// whether a rebuild ran.
bool UpgradeMainSchema(const QString& connectionName, bool* rebuilt = nullptr,
                       QString* error = nullptr);

}  // namespace ruto
