#include "app/ui/SharedPrinter.h"

#include <QPrinter>

namespace ruto {

QPrinter& SharedPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

}  // namespace ruto
