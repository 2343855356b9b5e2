#pragma once
// Appending a client or program group from another database under unique keys: a number
// that exists with the same name merges, another name moves to "-2", "-3", ...; details
// follow their master and rows already present are not added twice.

#include <QString>
#include <QStringList>
#include <functional>

namespace ruto {

// A master table with its detail table, linked by the key column.
struct TKeyedGroup {
  QString master;
  QString detail;
  QString key;   // number column of both tables
  QString name;  // name column of the master
  // Characters the number column holds, as its TransferColumns entry gives them.
  int keyWidth() const;
};

inline const TKeyedGroup kClientGroup{QStringLiteral("VOCUST"), QStringLiteral("VODATA"),
                                      QStringLiteral("CUSTNO"), QStringLiteral("NAME")};
inline const TKeyedGroup kProgramGroup{QStringLiteral("VOPRO"), QStringLiteral("VOPRDT"),
                                       QStringLiteral("ProNo"), QStringLiteral("ProName")};

struct TMergeReport {
  int mastersAdded = 0;
  int mastersMerged = 0;
  int detailsAdded = 0;
  int detailsAlreadyThere = 0;
  QStringList renamed;  // "old → new"
};

// Number for the n-th rename (n >= 2) of `key`: the key shortened so that "-n" fits `width`.
QString RenamedKey(const QString& key, int n, int width);

// Copies the group's TransferColumns rows from `source` into `target` by the key rule. Runs
// inside the caller's transaction on `target` (it opens none); on false the caller rolls back.
// `rowDone` is called after each source row.
bool MergeKeyedGroup(const QString& source, const QString& target, const TKeyedGroup& group,
                     TMergeReport* report, QString* error,
                     const std::function<void()>& rowDone = {});

// Every master number and detail link of the group in `source` is non-empty and fits the key
// width; false with the offending table and value.
bool CheckGroupKeys(const QString& source, const TKeyedGroup& group, QString* error);
// Every value of the group in `source` converts into its target column (the optional-run rule
// applied), so that a merge that follows fails only on the target's side.
bool CheckGroupValues(const QString& source, const TKeyedGroup& group, QString* error);

}  // namespace ruto
