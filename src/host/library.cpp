#include "host/library.h"

#include "host/viewer_menu.h"
#include "ui/hint.h"
#include "win/module.h"

namespace pictornx {

void StartLibrary(HINSTANCE instance) {
  if (instance) SetModuleInstance(instance);
  HintClassName();
  RegisterViewerMenu();
}

}  // namespace pictornx
