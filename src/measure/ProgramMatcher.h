#pragma once
// Which expert programs fit an analysis result: the condition-row rules, and the loader that
// reads the programs of the main and the multi-meridian database in their list order.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "measure/Analysis.h"

namespace ruto {

// One VOPRDT row as the matcher reads it.
struct TProgramCondition {
  QString ProCond;
  QString ProAnd;
  bool ProFlg = false;
  double ProEng = 0;
  double ProAGL = 0;
  double ProAGH = 0;
};

// One VOPRO row with its condition rows in their stored order.
struct TExpertProgram {
  qint64 MKey = 0;
  QString ProNo;
  QString ProName;
  std::vector<TProgramCondition> Rows;
};

// The client side of a match.
struct TMatchClient {
  bool Male = true;
  double DBirth = 0;  // OLE day number
  QDate Today;
};

// Calendar years between the birthday and today; 0 (unknown) when DBirth is below 4000.0 or
// the difference is not positive, so the age position is skipped rather than misread.
int MatchAge(double dBirth, const QDate& today);

// A row matches when at least one position holds and no mandatory position fails.
bool ConditionRowMatches(const TProgramCondition& row, const TAnalysisResult& a, bool male,
                         int age);
// At least one row matched and no required row failed.
bool ProgramAccepted(const TExpertProgram& program, const TAnalysisResult& a, bool male, int age);
// Names of the accepted programs, in the programs' order, as stored.
QStringList MatchPrograms(const std::vector<TExpertProgram>& programs, const TAnalysisResult& a,
                          const TMatchClient& client);

// Reads VOPRO in list order (ProName, then MKEY) with each program's VOPRDT rows (by ProNo,
// without regard to case, in MKEY order). False with `error` on a database error.
bool LoadExpertPrograms(const QString& connection, std::vector<TExpertProgram>* programs,
                        QString* error = nullptr);

// Index of the first program whose trimmed name equals the trimmed `name` without regard to
// case; -1 when none.
int FindProgramByName(const std::vector<TExpertProgram>& programs, const QString& name);

// What the program page shows of one program.
struct TProgramDetail {
  QString ProData;
  QByteArray ProPict;
  bool ProScal = false;
  QString ProFN;
  std::array<QString, 4> ProScrp, ProPrg, ProParm;
};
bool LoadProgramDetail(const QString& connection, qint64 mkey, TProgramDetail* detail,
                       QString* error = nullptr);

}  // namespace ruto
