#include "measure/ProgramMatcher.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

#include "app/ProgramConditions.h"
#include "base/DateTime.h"
#include "base/Text.h"

namespace ruto {

namespace {

// Points (left, right) of the meridians of positions 6..17.
constexpr std::array<std::array<int, 2>, 12> kMeridianPoints = {{{1, 7},
                                                                 {6, 12},
                                                                 {2, 8},
                                                                 {5, 11},
                                                                 {3, 9},
                                                                 {4, 10},
                                                                 {13, 19},
                                                                 {18, 24},
                                                                 {14, 20},
                                                                 {17, 23},
                                                                 {15, 21},
                                                                 {16, 22}}};

bool levelHolds(int code, int level, bool mandatory) {
  switch (code) {
    case 0:
      return mandatory && level == 0;
    case 1:
      return level < 0;
    case 2:
      return level > 0;
    case 3:
      return level != 0;
    default:
      return false;
  }
}

enum class Verdict { Ignored, Holds, Fails };

using Codes = std::array<int, kConditionPositions + 1>;

Verdict position(const TProgramCondition& row, const Codes& codes, const Codes& flags,
                 const TAnalysisResult& a, bool male, int age, int p) {
  const int c = codes[static_cast<size_t>(p)];
  const bool mandatory = p <= 22 ? flags[static_cast<size_t>(p)] == 1 : c != 0;
  bool holds = false;
  if (p == 1 && c >= kRangeCodeBase) {
    const double whole = std::trunc(a.Average);
    holds = (c == 4 && whole == row.ProEng) || (c == 5 && whole > row.ProEng) ||
            (c == 6 && whole < row.ProEng);
  } else if (p == 1 || p == 2) {
    holds = levelHolds(c, a.SummaryLevel[p - 1], mandatory);
  } else if (p == 3 || p == 5) {
    const int s = a.SummaryLevel[p - 1];
    holds = c == 0 ? mandatory && s == 0 : (c <= 3 && s != 0);
  } else if (p == 4) {
    // Metabolism reads the other way round: code 1 is the positive level.
    const int s = a.SummaryLevel[3];
    holds = c == 1 ? s > 0 : c == 2 ? s < 0 : levelHolds(c, s, mandatory);
  } else if (p <= 17) {
    const int l = a.PointLevel[kMeridianPoints[p - 6][0]];
    const int r = a.PointLevel[kMeridianPoints[p - 6][1]];
    switch (c) {
      case 0:
        holds = mandatory && l == 0 && r == 0;
        break;
      case 1:
        holds = l < 0 && r < 0;
        break;
      case 2:
        holds = l > 0 && r > 0;
        break;
      case 3:
        holds = l != 0 || r != 0;
        break;
      default:
        break;
    }
  } else if (p <= 22) {
    holds = levelHolds(c, a.ElementLevel[p - 18], mandatory);
  } else if (p == 23) {
    if (age == 0) return Verdict::Ignored;
    holds = (c == 1 && age >= row.ProAGL) || (c == 2 && age <= row.ProAGH) ||
            (c == 3 && row.ProAGL <= age && age <= row.ProAGH);
  } else {
    holds = (c == 1 && male) || (c == 2 && !male);
  }
  if (mandatory && !holds) return Verdict::Fails;
  return holds ? Verdict::Holds : Verdict::Ignored;
}

QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

// SQLite's NOCASE folds ASCII letters only; links follow the same rule.
QString foldKey(const QString& key) {
  QString out = key;
  for (QChar& c : out)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return out;
}

}  // namespace

int MatchAge(double dBirth, const QDate& today) {
  if (!(dBirth >= 4000.0)) return 0;
  const QDateTime birth = fromOleDate(dBirth);
  if (!birth.isValid()) return 0;
  const int years = today.year() - birth.date().year();
  return years > 0 ? years : 0;
}

bool ConditionRowMatches(const TProgramCondition& row, const TAnalysisResult& a, bool male,
                         int age) {
  const Codes codes = ConditionCodes(row.ProCond);
  const Codes flags = ConditionCodes(row.ProAnd);
  bool matched = false;
  for (int p = 1; p <= kConditionPositions; ++p) {
    const Verdict v = position(row, codes, flags, a, male, age, p);
    if (v == Verdict::Fails) return false;
    if (v == Verdict::Holds) matched = true;
  }
  return matched;
}

bool ProgramAccepted(const TExpertProgram& program, const TAnalysisResult& a, bool male, int age) {
  bool accepted = false;
  for (const TProgramCondition& row : program.Rows) {
    const bool matched = ConditionRowMatches(row, a, male, age);
    if (row.ProFlg && !matched) return false;
    if (matched) accepted = true;
  }
  return accepted;
}

QStringList MatchPrograms(const std::vector<TExpertProgram>& programs, const TAnalysisResult& a,
                          const TMatchClient& client) {
  const int age = MatchAge(client.DBirth, client.Today);
  QStringList names;
  for (const TExpertProgram& p : programs)
    if (ProgramAccepted(p, a, client.Male, age)) names << p.ProName;
  return names;
}

bool LoadExpertPrograms(const QString& connection, std::vector<TExpertProgram>* programs,
                        QString* error) {
  programs->clear();
  const QSqlDatabase db = QSqlDatabase::database(connection, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  const auto failed = [&] {
    if (error) *error = q.lastError().text();
    programs->clear();
    return false;
  };
  if (!q.exec(QStringLiteral("SELECT MKEY, ProNo, ProName FROM VOPRO ORDER BY ProName, MKEY")))
    return failed();
  QHash<QString, std::vector<int>> byKey;
  while (q.next()) {
    TExpertProgram p;
    p.MKey = q.value(0).toLongLong();
    p.ProNo = text(q.value(1));
    p.ProName = text(q.value(2));
    byKey[foldKey(p.ProNo)].push_back(static_cast<int>(programs->size()));
    programs->push_back(std::move(p));
  }
  if (q.lastError().isValid()) return failed();
  if (!q.exec(QStringLiteral("SELECT ProNo, ProCond, ProAnd, ProFlg, ProEng, ProAGL, ProAGH "
                             "FROM VOPRDT ORDER BY MKEY")))
    return failed();
  while (q.next()) {
    const auto it = byKey.constFind(foldKey(text(q.value(0))));
    if (it == byKey.constEnd()) continue;
    TProgramCondition row;
    row.ProCond = text(q.value(1));
    row.ProAnd = text(q.value(2));
    row.ProFlg = q.value(3).toBool();
    row.ProEng = q.value(4).toDouble();
    row.ProAGL = q.value(5).toDouble();
    row.ProAGH = q.value(6).toDouble();
    for (int index : *it) (*programs)[index].Rows.push_back(row);
  }
  if (q.lastError().isValid()) return failed();
  return true;
}

int FindProgramByName(const std::vector<TExpertProgram>& programs, const QString& name) {
  const QString wanted = ruto::Trim(name);
  for (size_t i = 0; i < programs.size(); ++i)
    if (ruto::Trim(programs[i].ProName).compare(wanted, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

bool LoadProgramDetail(const QString& connection, qint64 mkey, TProgramDetail* d, QString* error) {
  *d = TProgramDetail();
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(QStringLiteral("SELECT * FROM VOPRO WHERE MKEY = ?"));
  q.addBindValue(mkey);
  if (!q.exec()) {
    if (error) *error = q.lastError().text();
    return false;
  }
  if (!q.next()) return false;
  const QSqlRecord r = q.record();
  // The multi-meridian database carries no run buttons; absent columns read as empty.
  const auto col = [&](const QString& name) {
    const int i = r.indexOf(name);
    return i < 0 ? QVariant() : q.value(i);
  };
  d->ProData = text(col(QStringLiteral("ProData")));
  d->ProPict = col(QStringLiteral("ProPict")).toByteArray();
  d->ProScal = col(QStringLiteral("ProScal")).toBool();
  d->ProFN = text(col(QStringLiteral("ProFN")));
  for (int n = 0; n < 4; ++n) {
    const QString s = QString::number(n + 1);
    d->ProScrp[n] = text(col(QStringLiteral("ProScrp") + s));
    d->ProPrg[n] = text(col(QStringLiteral("ProPrg") + s));
    d->ProParm[n] = text(col(QStringLiteral("ProParm") + s));
  }
  return true;
}

}  // namespace ruto
