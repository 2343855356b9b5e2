#pragma once
// The fixed column lists with which export, import and the migration of an old database
// copy rows of the four main tables from one database to another, and the copier itself.

#include <QList>
#include <QString>
#include <functional>

namespace ruto {

// How a column travels: Native copies the value in its own type; Text goes through the
// value's text form, which the target column turns back into its own type.
enum class TransferAccess { Text, Native };

// The stored type of a column, which decides what the text form and the conversion back are.
enum class TransferType { Text, Boolean, DateTime, Double, Long, Bytes };

struct TransferColumn {
  QString name;
  TransferAccess access;
  TransferType type;
  // 0: the column must exist in source and target. Otherwise the number of an optional run:
  // a source may lack the run's columns from some column on.
  int run = 0;
};

// Copy order of `table` (VOCUST, VODATA, VOPRO or VOPRDT, any case); empty for any other
// table. MKEY is never in a list: the target assigns its own keys.
const QList<TransferColumn>& TransferColumns(const QString& table);

// Choices of one table copy.
struct TransferCopyOptions {
  // Column of the list whose order the rows are copied in (export copies clients by number);
  // empty: the source's key order.
  QString orderBy;
  // Called after each row with the number of rows copied so far.
  std::function<void(int)> progress;
};

// Appends every row of `table` on the connection `sourceConnection` to the same table on
// `targetConnection`, in one transaction of the target: on any failure nothing is added,
// and `error` says which row and column failed. Of an optional run the columns are copied
// up to the first one the source lacks, and in each row up to the first value that does not
// convert; the rest of the run stays empty and the row goes on. Inside a caller's
// Transaction (a replace, or a migration of all four tables) the copy joins it.
bool CopyTransferTable(const QString& sourceConnection, const QString& targetConnection,
                       const QString& table, int* rowsCopied = nullptr, QString* error = nullptr,
                       const TransferCopyOptions& options = {});

// The same between two database files, each opened for the copy only.
bool CopyTransferTableFile(const QString& sourcePath, const QString& targetPath,
                           const QString& table, int* rowsCopied = nullptr,
                           QString* error = nullptr, const TransferCopyOptions& options = {});

// A value of a column as it arrives in the target: the text form of Text access taken and
// turned back, doubles rounded into long columns, Booleans as 0/1. Null stays null, except
// that a null yes/no value is 0 (those columns are never null). False when a text form does
// not convert back (a date-time that is no date, for one).
bool ConvertTransferValue(const TransferColumn& column, const QVariant& source, QVariant* target);

}  // namespace ruto
