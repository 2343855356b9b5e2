#include "records/ui/RecordsWindows.h"

#include "app/WindowOpeners.h"

namespace ruto {

void registerRecordsWindows() {}

}  // namespace ruto
