#pragma once
// Reading the bitmap entries of a skin package into images.

#include <QByteArrayView>
#include <QImage>

namespace ruto {

// The bitmap file in bytes as an RGB32 image; null when it cannot be read. Plain 24-bit
// bitmaps, which every skin image of the program is, are read directly: going through the
// image reader costs more per image than the pixels do, and a skin holds dozens. Any other
// kind goes through Qt's reader, with the same result as before; a file that lacks some of
// its pixels is refused whatever its kind.
QImage DecodeSkinBitmap(QByteArrayView bytes);

}  // namespace ruto
