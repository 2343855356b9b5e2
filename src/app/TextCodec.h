#pragma once
// Reference texts are stored scrambled: hexadecimal pairs of a keyed, chained byte
// substitution over Big5 text. Readers turn them back into text here.

#include <QByteArray>
#include <QString>
#include <optional>

namespace ruto {

// Plain Big5 bytes of `src`; nullopt (and `error` set) when a pair is not hexadecimal.
std::optional<QByteArray> UnscrambleBytes(const QString& src, QString* error = nullptr);

// Readable text of `src`. A value that does not decode (a pair that is not hexadecimal, or
// bytes that are not Big5 text) gives an empty text, `ok` false and the reason in `error`.
QString UnscrambleText(const QString& src, bool* ok = nullptr, QString* error = nullptr);

// The inverse, for building reference data: scrambles `plain` (Big5 bytes) with the given
// start value. A zero byte can only follow a pair of value 255 and is refused otherwise.
std::optional<QString> ScrambleBytes(const QByteArray& plain, unsigned char start = 0x5A);
// Encodes `text` to Big5 and scrambles it; nullopt when it has characters Big5 lacks.
std::optional<QString> ScrambleText(const QString& text, unsigned char start = 0x5A);

// Big5 (code page 950) conversions shared by the codec and the settings file.
QString decodeBig5(const QByteArray& bytes, bool* ok = nullptr);
std::optional<QByteArray> encodeBig5(const QString& text);

}  // namespace ruto
