#include "app/ui/SharedPrinter.h"

#include <QPrinter>

namespace ruto {

QPrinter& SharedPrinter() {
  // Never destroyed: a printer torn down after the application object can crash in the print
  // system's plugins at exit.
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

bool SharedPrinterCanStart() {
  const QPrinter& printer = SharedPrinter();
  return printer.outputFormat() == QPrinter::PdfFormat ? !printer.outputFileName().isEmpty()
                                                       : !printer.printerName().isEmpty();
}

}  // namespace ruto
