#pragma once
// Decompression of skin packages: LZSS over a 4096-byte ring, adaptive Huffman codes for
// literals and match lengths, and a fixed prefix code for the upper bits of distances
// (the kind that LHA archives call -lh1-).
//
// No widgets here: the skin layer unpacks packages before any window exists.

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace ruto {

namespace lzh {

// Every constant below is part of the stream format; an encoder must use the same.
inline constexpr int N = 4096;                      // ring size; distances are 12 bits
inline constexpr int F = 60;                        // longest match
inline constexpr int THRESHOLD = 2;                 // a match codes lengths 3 to F
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols: literals and lengths
inline constexpr int T = N_CHAR * 2 - 1;            // 627 nodes of the Huffman tree
inline constexpr int R = T - 1;                     // root node
inline constexpr std::uint16_t MAX_FREQ = 0x8000;   // root frequency that forces a rebuild
inline constexpr std::uint8_t RingFill = 0x20;      // the ring starts as blanks
inline constexpr int StartPosition = N - F;         // first ring position written

// Length in bits of the prefix code of the upper 6 bits u of a distance; the codes are
// assigned in increasing order of u.
constexpr int DistanceCodeLength(int u) {
  return u < 1 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
}

namespace detail {
// Indexed by the next 8 input bits: each code covers 2^(8 - length) entries.
constexpr std::array<std::uint8_t, 256> MakeDistanceTable(bool lengths) {
  std::array<std::uint8_t, 256> t{};
  int index = 0;
  for (int u = 0; u < 64; ++u) {
    const int length = DistanceCodeLength(u);
    for (int k = 0; k < (1 << (8 - length)); ++k, ++index)
      t[index] = static_cast<std::uint8_t>(lengths ? length : u);
  }
  return t;
}
}  // namespace detail

// Upper 6 bits of a distance and its code length, indexed by the next 8 input bits.
inline constexpr std::array<std::uint8_t, 256> d_code = detail::MakeDistanceTable(false);
inline constexpr std::array<std::uint8_t, 256> d_len = detail::MakeDistanceTable(true);

// The adaptive Huffman tree. Decoder and encoder must update it in lock-step, so both use
// this one implementation. Siblings always sit at node pairs (2m, 2m + 1) and son[] of the
// parent points at the even one; the encoder relies on that to read a code's bits.
struct HuffTree {
  std::uint16_t freq[T + 1];       // entry T is a sentinel that stops the sibling scan
  std::uint16_t prnt[T + N_CHAR];  // T.. T + N_CHAR - 1: the node of each symbol's leaf
  std::uint16_t son[T];            // >= T marks a leaf: symbol + T

  void StartHuff();
  // Counts one more occurrence of symbol c and restores the sibling order.
  void UpdateTree(int c);
  void Reconst();
};

}  // namespace lzh

// Decoder of one stream. The tables live only while a stream is decoded.
class TLZH {
 public:
  TLZH();
  ~TLZH();

  // Decodes exactly output.size() bytes from input. Returns false with a reason in *error
  // when the input ends before the last of those bytes is decoded (a damaged stream) or
  // the tables cannot be allocated; output is then undefined.
  bool Decode(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
              QString* error = nullptr);

 private:
  struct Tables;

  bool AllocTables();
  void FreeTables();
  void StartHuff();
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();
  void FillBits();
  bool Overrun() const;

  std::unique_ptr<Tables> tables_;
  std::span<const std::uint8_t> input_;
  std::size_t inPos_ = 0;     // bytes pulled, those past the end counted as zeros
  std::uint32_t bitBuf_ = 0;  // pending bits, most significant first
  int bitCount_ = 0;
};

// Convenience: one decoder for one stream (see TLZH::Decode).
bool LzhDecode(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
               QString* error = nullptr);

}  // namespace ruto
