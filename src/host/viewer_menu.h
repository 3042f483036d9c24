// The viewer's menu and the other hooks by which the viewer reaches the operations above it.
#pragma once

namespace pictornx {

// Registers the viewer's hooks; the library's start-up does this once.
void RegisterViewerMenu();

}  // namespace pictornx
