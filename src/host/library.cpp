#include "host/library.h"

#include "win/module.h"
#include "ui/hint.h"

namespace pictornx {
void StartLibrary(HINSTANCE instance) {
  SetModuleInstance(instance);
  HintClassName();
}

}  // namespace pictornx
