// Our decoder against `lha p` unpacking the same stream wrapped as an -lh1- member.
// The LHA figures include starting the process and the pipe, which is small next to
// decoding a few megabytes.

#include "lzh/LhaArchive.h"
#include "lzh/LzhEncoder.h"
#include "skin/LZH.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

constexpr qsizetype kSize = 4 * 1024 * 1024;

// kind 0: bitmap-like (long runs and repeated rows); kind 1: random bytes (all literals);
// kind 2: text-like words.
QByteArray makeData(int kind) {
  QRandomGenerator gen(42 + kind);
  QByteArray a;
  a.reserve(kSize);
  if (kind == 0) {
    QByteArray row;
    while (a.size() < kSize) {
      if (row.isEmpty() || gen.bounded(8) == 0) {
        row.clear();
        while (row.size() < 960)
          row += QByteArray(gen.bounded(1, 64), static_cast<char>(gen.bounded(256)));
        row.truncate(960);
      }
      a += row;
    }
  } else if (kind == 1) {
    while (a.size() < kSize) a += static_cast<char>(gen.bounded(256));
  } else {
    static const char* words[] = {
        "frame ",    "button ", "scroll ",         "Caption=", "\r\n",
        "menu.bmp ", "[Form]",  "Color=$00FF00FF", "  ",       "meridian "};
    while (a.size() < kSize) {
      a += words[gen.bounded(10)];
      if (gen.bounded(4) == 0) a += static_cast<char>('a' + gen.bounded(26));
    }
  }
  a.truncate(kSize);
  return a;
}

struct Fixture {
  QByteArray data;
  QByteArray stream;
};

const Fixture& fixture(int kind) {
  static Fixture f[3];
  if (f[kind].data.isEmpty()) {
    f[kind].data = makeData(kind);
    f[kind].stream = ruto::LzhEncode(f[kind].data);
  }
  return f[kind];
}

const char* kindName(int kind) {
  return kind == 0 ? "bitmap-like" : kind == 1 ? "random" : "text-like";
}

void BM_LzhDecode(benchmark::State& state) {
  const Fixture& f = fixture(static_cast<int>(state.range(0)));
  std::vector<std::uint8_t> out(static_cast<std::size_t>(f.data.size()));
  std::span<const std::uint8_t> in(reinterpret_cast<const std::uint8_t*>(f.stream.constData()),
                                   static_cast<std::size_t>(f.stream.size()));
  for (auto _ : state) {
    if (!ruto::LzhDecode(in, out)) state.SkipWithError("decoding failed");
    benchmark::DoNotOptimize(out.data());
  }
  if (std::memcmp(out.data(), f.data.constData(), out.size()) != 0)
    state.SkipWithError("decoded bytes differ");
  state.SetBytesProcessed(state.iterations() * f.data.size());
  state.SetLabel(QStringLiteral("%1, %2 -> %3 bytes")
                     .arg(QLatin1String(kindName(static_cast<int>(state.range(0)))))
                     .arg(f.stream.size())
                     .arg(f.data.size())
                     .toStdString());
}

void BM_LhaExtract(benchmark::State& state) {
  const QString lha = QStandardPaths::findExecutable(QStringLiteral("lha"));
  if (lha.isEmpty()) {
    state.SkipWithError("lha is not installed");
    return;
  }
  const int kind = static_cast<int>(state.range(0));
  const Fixture& f = fixture(kind);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bench.lzh"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(ruto::MakeLh1Archive("bench.dat", f.data, f.stream)) < 0) {
      state.SkipWithError("cannot write the archive");
      return;
    }
  }
  const QByteArray command = (lha + QStringLiteral(" pq ") + path).toLocal8Bit();
  std::vector<char> buffer(1 << 16);
  QByteArray got;
  for (auto _ : state) {
    got.clear();
    FILE* pipe = popen(command.constData(), "r");
    if (!pipe) {
      state.SkipWithError("cannot start lha");
      break;
    }
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      got.append(buffer.data(), static_cast<qsizetype>(n));
    pclose(pipe);
  }
  if (got != f.data) state.SkipWithError("lha unpacked other bytes");
  state.SetBytesProcessed(state.iterations() * f.data.size());
  state.SetLabel(kindName(kind));
}

}  // namespace

BENCHMARK(BM_LzhDecode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LhaExtract)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
