#include "lzh/LzhEncoder.h"

#include "skin/LZH.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace ruto {

namespace {

class BitWriter {
 public:
  explicit BitWriter(QByteArray& out) : out_(out) {}

  // Appends the low `count` bits of `bits` (count <= 24), most significant first.
  void Put(std::uint32_t bits, int count) {
    acc_ = (acc_ << count) | (bits & ((1u << count) - 1));
    pending_ += count;
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.append(static_cast<char>((acc_ >> pending_) & 0xFF));
    }
    acc_ &= (1u << pending_) - 1;
  }

  // The last byte is padded with zero bits.
  void Flush() {
    if (pending_ > 0) out_.append(static_cast<char>((acc_ << (8 - pending_)) & 0xFF));
    acc_ = 0;
    pending_ = 0;
  }

 private:
  QByteArray& out_;
  std::uint32_t acc_ = 0;
  int pending_ = 0;
};

struct DistanceCode {
  std::uint8_t code[64];  // left-aligned in 8 bits
  std::uint8_t len[64];
};

constexpr DistanceCode makeDistanceCode() {
  DistanceCode p{};
  for (int i = 255; i >= 0; --i) {
    p.code[lzh::d_code[i]] = static_cast<std::uint8_t>(i);
    p.len[lzh::d_code[i]] = lzh::d_len[i];
  }
  return p;
}

constexpr DistanceCode kDistance = makeDistanceCode();

class Encoder {
 public:
  Encoder(QByteArray& out, LzhEncodeStats& stats) : bits_(out), stats_(stats) {
    tree_ = std::make_unique<lzh::HuffTree>();
    tree_->StartHuff();
  }

  void EncodeChar(int c) {
    lzh::HuffTree& t = *tree_;
    // Bits from the leaf up; the parity of a node tells which child of its parent it is.
    std::uint8_t path[lzh::T];
    int depth = 0;
    for (int k = t.prnt[c + lzh::T]; k != lzh::R; k = t.prnt[k]) path[depth++] = k & 1;
    while (depth > 0) bits_.Put(path[--depth], 1);
    if (t.freq[lzh::R] == lzh::MAX_FREQ) ++stats_.rebuilds;
    t.UpdateTree(c);
  }

  void EncodePosition(int position) {
    const int u = position >> 6;
    const int len = kDistance.len[u];
    bits_.Put(static_cast<std::uint32_t>(kDistance.code[u] >> (8 - len)), len);
    bits_.Put(static_cast<std::uint32_t>(position & 63), 6);
  }

  void Flush() { bits_.Flush(); }

 private:
  BitWriter bits_;
  LzhEncodeStats& stats_;
  std::unique_ptr<lzh::HuffTree> tree_;
};

constexpr int kHashBits = 15;
constexpr int kMaxChain = 256;

inline unsigned hash3(const std::uint8_t* p) {
  return ((static_cast<unsigned>(p[0]) << 10) ^ (static_cast<unsigned>(p[1]) << 5) ^ p[2]) &
         ((1u << kHashBits) - 1);
}

}  // namespace

QByteArray LzhEncode(QByteArrayView data, LzhEncodeStats* stats) {
  LzhEncodeStats local;
  LzhEncodeStats& st = stats ? *stats : local;
  st = {};
  QByteArray out;
  out.reserve(data.size() / 2 + 16);
  Encoder enc(out, st);

  // The decoder's ring starts as N blanks; matching against that history lets the first
  // bytes refer to it just as later bytes refer to earlier output.
  constexpr int N = lzh::N;
  std::vector<std::uint8_t> hist(
      static_cast<std::size_t>(N) + static_cast<std::size_t>(data.size()), lzh::RingFill);
  std::copy(data.begin(), data.end(), hist.begin() + N);
  const std::int64_t total = static_cast<std::int64_t>(hist.size());

  std::vector<std::int64_t> head(1u << kHashBits, -1);
  std::vector<std::int64_t> prev(N, -1);
  auto insert = [&](std::int64_t p) {
    if (p + 2 >= total) return;
    const unsigned h = hash3(&hist[p]);
    prev[p & (N - 1)] = head[h];
    head[h] = p;
  };
  for (std::int64_t p = 0; p < N; ++p) insert(p);

  std::int64_t p = N;
  while (p < total) {
    const int maxLen = static_cast<int>(std::min<std::int64_t>(lzh::F, total - p));
    int bestLen = 0;
    std::int64_t bestPos = 0;
    if (maxLen > lzh::THRESHOLD) {
      std::int64_t s = head[hash3(&hist[p])];
      for (int chain = kMaxChain; s >= 0 && p - s <= N && chain > 0; --chain) {
        int len = 0;
        while (len < maxLen && hist[s + len] == hist[p + len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestPos = s;
          if (len == maxLen) break;
        }
        s = prev[s & (N - 1)];
      }
    }
    if (bestLen > lzh::THRESHOLD) {
      enc.EncodeChar(255 - lzh::THRESHOLD + bestLen);
      enc.EncodePosition(static_cast<int>(p - bestPos - 1));
      ++st.matches;
      for (int k = 0; k < bestLen; ++k) insert(p + k);
      p += bestLen;
    } else {
      enc.EncodeChar(hist[p]);
      ++st.literals;
      insert(p);
      ++p;
    }
  }
  enc.Flush();
  return out;
}

}  // namespace ruto
