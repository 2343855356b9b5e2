#include "app/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ruto {

namespace {

constexpr char kKey[] = "TheLampIsGood";
constexpr int kKeyLength = 13;

int hexValue(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

int pairAt(const QString& s, int i) {
  const int hi = hexValue(s.at(i)), lo = hexValue(s.at(i + 1));
  return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

}  // namespace

std::optional<QByteArray> UnscrambleBytes(const QString& src, QString* error) {
  if (src.isEmpty()) return QByteArray();
  if (src.size() < 2) return QByteArray();
  int prev = pairAt(src, 0);
  auto bad = [&](int i) -> std::optional<QByteArray> {
    if (error) *error = QStringLiteral("'%1' is not a valid integer value").arg(src.mid(i, 2));
    return std::nullopt;
  };
  if (prev < 0) return bad(0);
  QByteArray out;
  out.reserve(src.size() / 2);
  int k = 0;
  // Read pair by pair with a 1-based i while i < length: a whole pair must remain.
  for (int i = 2; i + 1 < src.size(); i += 2) {
    const int c = pairAt(src, i);
    if (c < 0) return bad(i);
    k = k % kKeyLength + 1;
    const int t = static_cast<unsigned char>(kKey[k - 1]) ^ c;
    const int plain = t > prev ? t - prev : t + 255 - prev;
    out.append(static_cast<char>(plain));
    prev = c;
  }
  return out;
}

QString UnscrambleText(const QString& src, bool* ok, QString* error) {
  QString reason;
  QString text;
  bool decoded = false;
  if (const std::optional<QByteArray> bytes = UnscrambleBytes(src, &reason)) {
    text = decodeBig5(*bytes, &decoded);
    if (!decoded) reason = QStringLiteral("the text is not valid Big5");
  }
  if (ok) *ok = decoded;
  if (error) *error = decoded ? QString() : reason;
  // Half-decoded text would read as nonsense; an empty one at least says nothing wrong.
  return decoded ? text : QString();
}

std::optional<QString> ScrambleBytes(const QByteArray& plain, unsigned char start) {
  static const char* digits = "0123456789ABCDEF";
  QString out;
  out.reserve(2 + plain.size() * 2);
  auto put = [&](int v) {
    out += QLatin1Char(digits[v >> 4]);
    out += QLatin1Char(digits[v & 15]);
  };
  int prev = start;
  put(prev);
  int k = 0;
  for (char ch : plain) {
    const int b = static_cast<unsigned char>(ch);
    int t;
    if (b == 0) {
      if (prev != 255) return std::nullopt;
      t = 0;
    } else {
      t = b + prev <= 255 ? b + prev : b + prev - 255;
    }
    k = k % kKeyLength + 1;
    const int c = t ^ static_cast<unsigned char>(kKey[k - 1]);
    put(c);
    prev = c;
  }
  return out;
}

std::optional<QString> ScrambleText(const QString& text, unsigned char start) {
  const std::optional<QByteArray> big5 = encodeBig5(text);
  if (!big5) return std::nullopt;
  return ScrambleBytes(*big5, start);
}

QString decodeBig5(const QByteArray& bytes, bool* ok) {
  QStringDecoder dec("Big5");
  if (!dec.isValid()) {
    if (ok) *ok = false;
    return QString::fromLatin1(bytes);
  }
  QString s = dec.decode(bytes);
  if (ok) *ok = !dec.hasError();
  return s;
}

std::optional<QByteArray> encodeBig5(const QString& text) {
  QStringEncoder enc("Big5");
  if (!enc.isValid()) return std::nullopt;
  QByteArray out = enc.encode(text);
  if (enc.hasError()) return std::nullopt;
  return out;
}

}  // namespace ruto
