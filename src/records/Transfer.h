#pragma once
// Export and import of the transfer file "VoTran.mdb": the work copy, the group copies, the
// checks of a file from outside, the safe write into the destination and the messages.

#include <QString>
#include <functional>

#include "app/KeyedMerge.h"

namespace ruto {

inline const QString kTransferFileName = QStringLiteral("VoTran.mdb");

// The error code of a failed copy, as the messages are keyed: the platform's numbers for the
// conditions the texts name, 0 for anything else (an errno value could be mistaken for one of
// those numbers).
int TransferErrorCode(int err);
// The message of an error code, with its closing sentence.
QString TransferErrorText(int code, bool exporting);
// The message of a copy that failed with the errno value `err`: the named conditions by
// their texts, anything else by the general text with the system's reason.
QString TransferFailureText(int err, bool exporting);

// File operations of a run; tests replace them to inject failures. Each returns 0 or an errno
// value.
class TransferFiles {
 public:
  virtual ~TransferFiles() = default;
  // Writes a copy of `from` at `to`, which must not exist yet, and flushes it to the disk.
  // Nothing is left at `to` on failure.
  virtual int copyFile(const QString& from, const QString& to);
  // Renames `from` over `to`, replacing it even when it is read-only.
  virtual int replaceFile(const QString& from, const QString& to);
};

// What a run did, for the window and for tests. Messages go through AskUser as they arise.
struct TTransferOutcome {
  bool asked = false;  // the question was answered "是"
  bool ok = false;     // finished with its success message
  QString message;     // the last message shown
  TMergeReport programs;
  TMergeReport records;
};

struct TTransferChoice {
  QString folder;  // the picked folder
  bool programs = false;
  bool records = false;
  bool replace = false;  // import only
};

class TransferRun {
 public:
  explicit TransferRun(const QString& mainConnection, TransferFiles* files = nullptr);

  // Called for each step (+5 on the bar) and when a run succeeds (full bar).
  std::function<void()> onStep;
  std::function<void()> onFull;

  TTransferOutcome exportTo(const TTransferChoice& choice);
  TTransferOutcome importFrom(const TTransferChoice& choice);

 private:
  void step() {
    if (onStep) onStep();
  }
  QString main_;
  TransferFiles ownFiles_;
  TransferFiles* files_;
};

}  // namespace ruto
