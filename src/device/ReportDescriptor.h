#pragma once
// What the device link needs of a HID report descriptor: the byte lengths of the largest
// input, output and feature report (report id byte included, as the command protocol counts
// them) and whether the device numbers its reports.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ruto {

struct HidReportLengths {
  int InputReportByteLength = 0;
  int OutputReportByteLength = 0;
  int FeatureReportByteLength = 0;
  bool Numbered = false;  // the descriptor declares report ids
};

// Walks the items of a report descriptor. A truncated last item is ignored.
HidReportLengths ParseReportDescriptor(const std::uint8_t* Data, std::size_t Size);
inline HidReportLengths ParseReportDescriptor(const std::vector<std::uint8_t>& Data) {
  return ParseReportDescriptor(Data.data(), Data.size());
}

// hidraw hands over numbered reports with their id byte and unnumbered ones without it;
// the rest of the link always sees the id first (0 for unnumbered reports).
std::vector<std::uint8_t> FrameInputReport(const std::uint8_t* Data, std::size_t Size,
                                           bool Numbered);

}  // namespace ruto
