// State of the file-open request.
#pragma once

namespace pictornx {

struct OpenState {
  wchar_t lastPath[260] = L"";       // the remembered path, also the dialog's start folder
  wchar_t lastFileTitle[260] = L"";  // its file title, offered by the save dialog
};

OpenState& Opened();

}  // namespace pictornx
