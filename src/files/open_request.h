// What the file-open request remembers between requests.
#pragma once

namespace pictornx {

// Empties the remembered path and file title of the last opened file; every capture or
// open request starts with them empty.
void ForgetOpenedFileNames();

}  // namespace pictornx
