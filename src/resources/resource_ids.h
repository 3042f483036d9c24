// Identifiers of the library's resources: strings, menus, dialog templates, controls,
// commands, bitmaps, icons and cursors. Shared by the resource script and the code.
#pragma once

// Strings
#define IDS_HOST_NAME_PICTORN 1
#define IDS_HOST_NAME_MURAFEX 2
#define IDS_HINT_CLASS 14
