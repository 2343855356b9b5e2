#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <utility>

namespace ruto {

namespace {

enum class Kind { Input, Output, Feature };

struct Globals {
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint32_t reportId = 0;
};

int longestReport(const std::map<std::pair<Kind, std::uint32_t>, std::uint64_t>& bits, Kind kind) {
  std::uint64_t longest = 0;
  bool any = false;
  for (const auto& [key, count] : bits) {
    if (key.first != kind) continue;
    any = true;
    longest = std::max(longest, (count + 7) / 8);
  }
  if (!any) return 0;
  // The id byte is counted whether or not the device numbers its reports.
  return static_cast<int>(std::min<std::uint64_t>(longest + 1, 1u << 20));
}

}  // namespace

HidReportLengths ParseReportDescriptor(const std::uint8_t* Data, std::size_t Size) {
  HidReportLengths result;
  std::map<std::pair<Kind, std::uint32_t>, std::uint64_t> bits;
  Globals globals;
  std::vector<Globals> stack;
  std::size_t pos = 0;
  while (pos < Size) {
    const std::uint8_t prefix = Data[pos];
    if (prefix == 0xFE) {  // long item: size, tag, data; carries nothing we count
      if (pos + 2 >= Size) break;
      pos += 3 + Data[pos + 1];
      continue;
    }
    static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
    const std::size_t size = kSizes[prefix & 3];
    if (pos + 1 + size > Size) break;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t(Data[pos + 1 + i]) << (8 * i);
    const int type = (prefix >> 2) & 3;
    const int tag = prefix >> 4;
    pos += 1 + size;
    if (type == 0) {  // main
      Kind kind;
      if (tag == 0x8)
        kind = Kind::Input;
      else if (tag == 0x9)
        kind = Kind::Output;
      else if (tag == 0xB)
        kind = Kind::Feature;
      else
        continue;
      bits[{kind, globals.reportId}] += std::uint64_t(globals.reportSize) * globals.reportCount;
    } else if (type == 1) {  // global
      switch (tag) {
        case 0x7:
          globals.reportSize = value;
          break;
        case 0x8:
          globals.reportId = value;
          result.Numbered = true;
          break;
        case 0x9:
          globals.reportCount = value;
          break;
        case 0xA:
          stack.push_back(globals);
          break;
        case 0xB:
          if (!stack.empty()) {
            globals = stack.back();
            stack.pop_back();
          }
          break;
        default:
          break;
      }
    }
  }
  result.InputReportByteLength = longestReport(bits, Kind::Input);
  result.OutputReportByteLength = longestReport(bits, Kind::Output);
  result.FeatureReportByteLength = longestReport(bits, Kind::Feature);
  return result;
}

std::vector<std::uint8_t> FrameInputReport(const std::uint8_t* Data, std::size_t Size,
                                           bool Numbered) {
  std::vector<std::uint8_t> report;
  report.reserve(Size + 1);
  if (!Numbered) report.push_back(0);
  report.insert(report.end(), Data, Data + Size);
  return report;
}

}  // namespace ruto
