// What the file-open request remembers between requests.
#pragma once

namespace pictornx {

// Empties the scratch copies of name and path; every capture or open request does. The
// names the dialogs remember (file_names.h) live as long as the library.
void ForgetOpenedFileNames();

}  // namespace pictornx
