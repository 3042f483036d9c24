#include "files/open_request.h"

#include "files/file_names.h"

namespace pictornx {

FileNames& Names() {
  static FileNames names;
  return names;
}

void ForgetOpenedFileNames() {
  FileNames& names = Names();
  names.scratchPath[0] = L'\0';
  names.scratchTitle[0] = L'\0';
}

}  // namespace pictornx
