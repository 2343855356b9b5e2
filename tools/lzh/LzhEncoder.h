#pragma once
// Encoder of the skin layer's LZH streams: greedy LZSS matching over the same blank-filled
// 4096-byte ring the decoder keeps, coded with the decoder's adaptive tree.

#include <QByteArray>
#include <QByteArrayView>

namespace ruto {

struct LzhEncodeStats {
  long long literals = 0;
  long long matches = 0;
  long long rebuilds = 0;  // times the adaptive tree was rebuilt
};

// A stream from which LzhDecode gives back data when asked for data.size() bytes.
QByteArray LzhEncode(QByteArrayView data, LzhEncodeStats* stats = nullptr);

}  // namespace ruto
