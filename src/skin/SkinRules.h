#pragma once
// Which top-level windows get a skin and which skin data they take: the manager's tests
// as a pure function over what the manager knows of a window.

#include <QObject>
#include <QSize>
#include <QString>
#include <vector>

namespace ruto {

class TSkinData;

// What the manager knows of a window when it is shown or activated.
struct WindowFacts {
  bool alreadySkinned = false;
  bool childWindow = false;  // not a top-level window
  bool windowKind = true;    // an ordinary window or dialog (not a popup, tool tip, tool, splash)
  QSize size;
  int tag = 0;
  QString className;
  // The window itself: an sfOnlyThisForm entry made with it as its owner (parent) is its own.
  const QObject* window = nullptr;
};

enum class SkinRefusal {
  None,
  Inactive,
  AlreadySkinned,
  ChildWindow,
  NotAWindow,
  ZeroSize,
  DisabledTag,
  ClassExcluded,
  Filtered,
  NoSkin
};

// Tag value that keeps a window unskinned whatever the skin data's DisableTag says.
inline constexpr int kNeverSkinTag = 99;

// The skin data a window takes: an sfOnlyThisForm entry the window owns, then an sfDialog
// entry for the standard dialogs, then an sfMainform entry, else the first; the last match
// wins.
TSkinData* ChooseSkinData(const std::vector<TSkinData*>& datas, const WindowFacts& w,
                          bool isStandardDialog);

// The tests in order; the first that fails is returned.
SkinRefusal SkinWindowTests(bool active, bool forceAll, const WindowFacts& w,
                            TSkinData* mainSkinData, const TSkinData* chosen);

}  // namespace ruto
