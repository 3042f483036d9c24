#include "files/open_request.h"

#include "files/open_state.h"

namespace pictornx {

OpenState& Opened() {
  static OpenState state;
  return state;
}

void ForgetOpenedFileNames() {
  OpenState& state = Opened();
  state.lastPath[0] = L'\0';
  state.lastFileTitle[0] = L'\0';
}

}  // namespace pictornx
