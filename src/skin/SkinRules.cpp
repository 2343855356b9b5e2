#include "skin/SkinRules.h"

#include "skin/SkinData.h"

namespace ruto {

TSkinData* ChooseSkinData(const std::vector<TSkinData*>& datas, const WindowFacts& w,
                          bool isStandardDialog) {
  auto last = [&](TSkinFormType type, bool needOwner) -> TSkinData* {
    TSkinData* found = nullptr;
    for (TSkinData* d : datas)
      if (d->SkinFormtype == type && (!needOwner || (w.window && d->parent() == w.window)))
        found = d;
    return found;
  };
  if (TSkinData* d = last(TSkinFormType::sfOnlyThisForm, true)) return d;
  if (isStandardDialog)
    if (TSkinData* d = last(TSkinFormType::sfDialog, false)) return d;
  if (TSkinData* d = last(TSkinFormType::sfMainform, false)) return d;
  return datas.empty() ? nullptr : datas.front();
}

SkinRefusal SkinWindowTests(bool active, bool forceAll, const WindowFacts& w,
                            TSkinData* mainSkinData, const TSkinData* chosen) {
  if (!active) return SkinRefusal::Inactive;
  if (w.alreadySkinned) return SkinRefusal::AlreadySkinned;
  if (!forceAll && w.childWindow) return SkinRefusal::ChildWindow;
  if (!w.windowKind) return SkinRefusal::NotAWindow;
  if (w.size.width() <= 0 || w.size.height() <= 0) return SkinRefusal::ZeroSize;
  if (w.tag == kNeverSkinTag) return SkinRefusal::DisabledTag;
  if (w.className.contains(QLatin1String("TcxPopupEditPopupWindow")) ||
      w.className.contains(QLatin1String("TTERenderWindow")) ||
      w.className == QLatin1String("Application"))
    return SkinRefusal::ClassExcluded;
  if (mainSkinData) {
    if (!mainSkinData->Options.test(xoPreview) &&
        w.className.toLower().contains(QLatin1String("preview")))
      return SkinRefusal::Filtered;
    if (!mainSkinData->DoFormSkin(w.className)) return SkinRefusal::Filtered;
  }
  if (!chosen || !chosen->SkinLoaded()) return SkinRefusal::NoSkin;
  return SkinRefusal::None;
}

}  // namespace ruto
