// The add-cursor command: a picker of twelve system cursors and six icons, the outline
// that follows the pointer over the viewer, and the stamp of the picture into the image.
#pragma once

#include <windows.h>

namespace pictornx {

// Command 32815: opens the picker at 100 %, else says the zoom must be 100 %.
void AddCursorCommand(HWND viewer);

// True from the pick in the picker until the next click, right click or viewer command.
bool CursorPlacing();
void EndCursorPlacing();

// The viewer's mouse messages while CursorPlacing() holds (client coordinates).
void MoveCursorOutline(HWND viewer, int x, int y);
void PlaceCursor(HWND viewer);

// The picture last picked (0 to 17).
int CursorShape();

// Draws the picked picture into CursorTile and copies its non-key pixels into WorkImage
// and ScreenImage with its top-left at the last outline position plus the scroll offsets.
void StampCursor();

}  // namespace pictornx
