#include "library.h"

#include "module.h"
#include "resource_ids.h"

namespace pictornx {
namespace {
wchar_t g_hintClassName[12] = L"";
}  // namespace

void StartLibrary(HINSTANCE instance) {
  SetModuleInstance(instance);
  LoadResString(IDS_HINT_CLASS, g_hintClassName, 12);
}

const wchar_t* HintClassName() {
  if (!g_hintClassName[0]) LoadResString(IDS_HINT_CLASS, g_hintClassName, 12);
  return g_hintClassName;
}

}  // namespace pictornx
