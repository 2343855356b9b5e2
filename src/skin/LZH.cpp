#include "skin/LZH.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ruto {

namespace lzh {

void HuffTree::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<std::uint16_t>(i + T);
    prnt[i + T] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<std::uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<std::uint16_t>(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

void HuffTree::Reconst() {
  // Leaves to the front, in order, with halved counts.
  int leaves = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[leaves] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
      son[leaves] = son[i];
      ++leaves;
    }
  }
  // Inner nodes, each inserted where its frequency keeps the list sorted.
  for (int i = 0, j = N_CHAR; j < T; i += 2, ++j) {
    const std::uint16_t f = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
    int k = j - 1;
    while (f < freq[k]) --k;
    ++k;
    const std::size_t moved = static_cast<std::size_t>(j - k) * sizeof(std::uint16_t);
    std::memmove(&freq[k + 1], &freq[k], moved);
    freq[k] = f;
    std::memmove(&son[k + 1], &son[k], moved);
    son[k] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      prnt[k] = static_cast<std::uint16_t>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<std::uint16_t>(i);
    }
  }
}

void HuffTree::UpdateTree(int c) {
  if (freq[R] == MAX_FREQ) Reconst();
  c = prnt[c + T];
  do {
    const std::uint16_t k = ++freq[c];
    int l = c + 1;
    if (k > freq[l]) {
      while (k > freq[++l]) {
      }
      --l;
      freq[c] = freq[l];
      freq[l] = k;

      const int i = son[c];
      prnt[i] = static_cast<std::uint16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<std::uint16_t>(l);

      const int j = son[l];
      son[l] = static_cast<std::uint16_t>(i);
      prnt[j] = static_cast<std::uint16_t>(c);
      if (j < T) prnt[j + 1] = static_cast<std::uint16_t>(c);
      son[c] = static_cast<std::uint16_t>(j);

      c = l;
    }
    c = prnt[c];
  } while (c != 0);
}

}  // namespace lzh

struct TLZH::Tables {
  lzh::HuffTree tree;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

bool TLZH::AllocTables() {
  bitBuf_ = 0;
  bitCount_ = 0;
  inPos_ = 0;
  tables_.reset(new (std::nothrow) Tables);
  return tables_ != nullptr;
}

void TLZH::FreeTables() { tables_.reset(); }

void TLZH::StartHuff() { tables_->tree.StartHuff(); }

inline void TLZH::FillBits() {
  // Keep at least 17 bits ready; bytes past the end of the input read as 0 and are
  // counted, so Overrun() can tell when one of them was actually used.
  while (bitCount_ <= 24) {
    const std::uint32_t b = inPos_ < input_.size() ? input_[inPos_] : 0;
    ++inPos_;
    bitBuf_ |= b << (24 - bitCount_);
    bitCount_ += 8;
  }
}

inline int TLZH::GetBit() {
  if (bitCount_ <= 8) FillBits();
  const int bit = static_cast<int>(bitBuf_ >> 31);
  bitBuf_ <<= 1;
  --bitCount_;
  return bit;
}

inline int TLZH::GetByte() {
  if (bitCount_ <= 8) FillBits();
  const int byte = static_cast<int>(bitBuf_ >> 24);
  bitBuf_ <<= 8;
  bitCount_ -= 8;
  return byte;
}

inline bool TLZH::Overrun() const {
  return inPos_ * 8 - static_cast<std::size_t>(bitCount_) > input_.size() * 8;
}

inline int TLZH::DecodeChar() {
  lzh::HuffTree& t = tables_->tree;
  int c = t.son[lzh::R];
  while (c < lzh::T) c = t.son[c + GetBit()];
  c -= lzh::T;
  t.UpdateTree(c);
  return c;
}

inline int TLZH::DecodePosition() {
  int i = GetByte();
  const int upper = lzh::d_code[i] << 6;
  int j = lzh::d_len[i] - 2;
  while (j-- > 0) i = (i << 1) + GetBit();
  return upper | (i & 63);
}

bool TLZH::Decode(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                  QString* error) {
  if (!AllocTables()) {
    if (error) *error = QStringLiteral("LZH : Cannot get memory for dictionary tables");
    return false;
  }
  input_ = input;
  StartHuff();
  // The ring of the format holds the last N bytes written, and a match reaching back
  // before the first output byte reads the blanks it starts with. The output holds every
  // byte written, so matches copy from it directly; a skin package is mostly long matches.
  const std::size_t size = output.size();
  std::uint8_t* out = output.data();
  std::size_t count = 0;
  bool ok = true;
  while (count < size) {
    const int c = DecodeChar();
    if (c < 256) {
      out[count++] = static_cast<std::uint8_t>(c);
    } else {
      const std::size_t back = static_cast<std::size_t>(DecodePosition()) + 1;
      // A match never writes past the announced size.
      const std::size_t length =
          std::min<std::size_t>(static_cast<std::size_t>(c - 255 + lzh::THRESHOLD), size - count);
      std::size_t k = 0;
      for (; k < length && back > count + k; ++k) out[count + k] = lzh::RingFill;
      if (k < length) {
        // Byte by byte where the match overlaps what it writes: a short distance repeats.
        const std::uint8_t* from = out + (count + k - back);
        std::uint8_t* to = out + count + k;
        if (back >= length - k) {
          std::memcpy(to, from, length - k);
        } else {
          for (std::size_t n = length - k; n > 0; --n) *to++ = *from++;
        }
      }
      count += length;
    }
    if (Overrun()) {
      ok = false;
      if (error) *error = QStringLiteral("LZH : Compressed data ends early");
      break;
    }
  }
  FreeTables();
  input_ = {};
  return ok;
}

bool LzhDecode(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
               QString* error) {
  TLZH decoder;
  return decoder.Decode(input, output, error);
}

}  // namespace ruto
