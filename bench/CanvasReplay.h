#pragma once
// Canvas styles as bare QPainter takes them, for the benches that replay recorded primitives.

#include <Qt>

#include "base/Canvas.h"

inline Qt::BrushStyle replayBrushStyle(ruto::TBrushStyle s) {
  using ruto::TBrushStyle;
  switch (s) {
    case TBrushStyle::bsSolid:
      return Qt::SolidPattern;
    case TBrushStyle::bsClear:
      return Qt::NoBrush;
    case TBrushStyle::bsHorizontal:
      return Qt::HorPattern;
    case TBrushStyle::bsVertical:
      return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
      return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
      return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
      return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
      return Qt::DiagCrossPattern;
  }
  return Qt::NoBrush;
}
