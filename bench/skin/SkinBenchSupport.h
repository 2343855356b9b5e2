#pragma once
// Ground shared by the skin benches: letting shown windows paint, and the program's own skin
// loaded into a fresh manager.

#include <QApplication>
#include <cstdio>

#include "skin/SkinData.h"
#include "skin/ui/SkinManager.h"
#include "skin/ui/SkinSetup.h"

inline void settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Loads the program's own skin into `skin` and switches it on; says so on stderr when it fails.
inline bool loadOwnSkin(ruto::TSkinData& skin) {
  ruto::InstallSkinManager([](const QString& t) { std::fprintf(stderr, "%s\n", qPrintable(t)); });
  skin.SkinStream = ruto::OwnSkinPackage();
  skin.SetActive(true);
  ruto::SkinManager()->AddSkinData(&skin);
  skin.Loaded();
  ruto::SkinManager()->runPendingCommand();
  if (!skin.SkinLoaded() || !ruto::SkinManager()->Active()) {
    std::fprintf(stderr, "the skin did not load\n");
    return false;
  }
  return true;
}
