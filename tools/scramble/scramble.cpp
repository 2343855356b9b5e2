// ruto_scramble [-d] [TEXT]
// Prints TEXT (or standard input, read as UTF-8) in the stored form of reference texts;
// with -d, reads a stored form and prints the text. Exit code 1 when the input does not
// convert (characters Big5 lacks, or a stored form that is not hexadecimal).
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include "app/TextCodec.h"

using namespace ruto;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  const bool decode = !args.isEmpty() && args.first() == QLatin1String("-d");
  if (decode) args.removeFirst();
  QString input;
  if (!args.isEmpty()) {
    input = args.join(QLatin1Char(' '));
  } else {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return 2;
    input = QString::fromUtf8(in.readAll());
    if (input.endsWith(QLatin1Char('\n'))) input.chop(1);
  }
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (decode) {
    QString error;
    const auto bytes = UnscrambleBytes(input.trimmed(), &error);
    if (!bytes) {
      err << error << Qt::endl;
      return 1;
    }
    out << decodeBig5(*bytes) << Qt::endl;
    return 0;
  }
  const auto scrambled = ScrambleText(input);
  if (!scrambled) {
    err << "the text has characters that Big5 cannot hold" << Qt::endl;
    return 1;
  }
  out << *scrambled << Qt::endl;
  return 0;
}
