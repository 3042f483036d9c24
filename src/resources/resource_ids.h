// Identifiers of the library's resources, used by the resource script and by the code.
// Every value is fixed: hosts and earlier versions of the library know the same numbers.
// Prefixes: IDS_ strings, IDR_ the menu, IDM_ menu commands, IDD_ dialog templates,
// IDC_ controls (named after their template), IDB_ bitmaps, IDI_ icons, IDCUR_ cursors.
// The resource compiler reads this file too: only #define lines and comments here.
#pragma once

// ---- Strings -----------------------------------------------------------------------------
// Pairs named _LINE1/_LINE2 are the two lines of one pop-up message.
#define IDS_HOST_NAME_PICTORN          1  // caption name when HostIdentity is 0
#define IDS_HOST_NAME_MURAFEX          2  // caption name otherwise
#define IDS_ERROR_CAPTION              3
#define IDS_MEMORY_ERROR               4
#define IDS_CLIPBOARD_BUSY             5
#define IDS_POPUP_FONT_FACE            8  // face of the pop-up and hint fonts
#define IDS_VIEWER_IS_OPEN             9
#define IDS_PLEASE_CLOSE_VIEWER        10
#define IDS_VIEWER_TITLE               13
#define IDS_HINT_CLASS                 14  // window class name of the hint window
#define IDS_HINT_SIZE_SLOT1            15
#define IDS_HINT_SIZE_SLOT2            16
#define IDS_HINT_SIZE_SLOT3            17
#define IDS_HINT_SIZE_RECORD           18
#define IDS_HINT_STEP_10_PIXELS        19
#define IDS_HINT_STEP_1_PIXEL          20
#define IDS_HINT_DRAG_PANEL            21
#define IDS_SCOPE_BUILT_IN_LINE1       22  // external scope asked for by the capture host
#define IDS_SCOPE_BUILT_IN_LINE2       23
#define IDS_ZOOM_CHANGED               24
#define IDS_SET_ZOOM_100               25
#define IDS_HINT_POSTER_DIAGRAM        26
#define IDS_HINT_POSTER_LEVELS         27
#define IDS_HINT_POSTER_ONES           28
#define IDS_HINT_POSTER_TENS           29
#define IDS_TITLE_COPY_RANGE           30  // title while a copy range is dragged; the width follows
#define IDS_TITLE_COPY_RANGE_NEGATIVE  31
#define IDS_RANGE_COPIED               32
#define IDS_COPIED_TO_CLIPBOARD        33
#define IDS_COPY_RANGE_CANCELLED_LINE1 34
#define IDS_COPY_RANGE_CANCELLED_LINE2 35
#define IDS_WHOLE_IMAGE_COPIED         36
#define IDS_SCOPE_MISSING_LINE1        37
#define IDS_SCOPE_MISSING_LINE2        38
#define IDS_CAUTION_CAPTION            39
#define IDS_CLIPBOARD_TOO_LARGE        40
#define IDS_HINT_COLOUR_COUNT          41
#define IDS_PIXELS_SUFFIX              42  // slot labels of the zoom menu
#define IDS_FIXED_WIDTH_SUFFIX         43
#define IDS_TITLE_SHOW_RANGE           44  // title while a range to show is dragged; the width follows
#define IDS_TITLE_SHOW_RANGE_NEGATIVE  45
#define IDS_OPEN_DIALOG_TITLE          46
#define IDS_CANNOT_OPEN_IMAGE          47
#define IDS_FILE_MISSING_OR_BAD        48
#define IDS_EXTENSION_CONTENT_MISMATCH 49
#define IDS_THE_IMAGE                  50  // first line of the GIF messages
#define IDS_CANNOT_BE_READ             51
#define IDS_SIZE_TOO_LARGE             52
#define IDS_CANNOT_ENLARGE             53
#define IDS_LABEL_FONT_FACE            54  // face of LabelFont and the gauge window font
#define IDS_GAUGE_LIGHT                55
#define IDS_GAUGE_LEVEL_COUNT          56
#define IDS_GAUGE_RED                  57
#define IDS_GAUGE_GREEN                58
#define IDS_GAUGE_BLUE                 59
#define IDS_HINT_GAUGE_RED             60
#define IDS_HINT_GAUGE_GREEN           61
#define IDS_HINT_GAUGE_BLUE            62
#define IDS_HINT_CLOSE_WINDOW          63
#define IDS_SAVE_DIALOG_TITLE          64
#define IDS_CANNOT_WRITE_FILE          65
#define IDS_MAYBE_WRITE_PROTECTED      66
#define IDS_CONFIRM_OVERWRITE          67  // the file title in brackets follows
#define IDS_INVALID_FILE_NAME          70
#define IDS_CHARACTER_NOT_ALLOWED      71
#define IDS_FILE_RANGE_CANCELLED       72
#define IDS_SAVE_CANCELLED             73
#define IDS_VERSION_MISMATCH           74
#define IDS_PLEASE_REINSTALL           75
#define IDS_EXTENSION_MISMATCH_LINE1   76
#define IDS_EXTENSION_MISMATCH_LINE2   77
#define IDS_CANCELLED_MARK             78
#define IDS_WRITE_INCOMPLETE           79
#define IDS_MAYBE_DISK_FAULT           80
#define IDS_SAVED                      81
#define IDS_NOT_A_GIF                  82
#define IDS_IMAGE_UNREADABLE           83
#define IDS_MAYBE_TOO_SMALL            84
#define IDS_SAVE_FAILED                85
#define IDS_MAYBE_DISK_PROBLEM         86
#define IDS_PREVIEW_HELP               87  // help text of the JPEG preview
#define IDS_JPEG_QUALITY               88
#define IDS_JPEG_LOW_QUALITY           89
#define IDS_JPEG_HIGH_QUALITY          90
#define IDS_JPEG_PROGRESSIVE           91
#define IDS_JPEG_GREY                  92
#define IDS_PREVIEW_FILE_SIZE          95
#define IDS_PREVIEW_IMAGE_SIZE         96
#define IDS_PREVIEW_WIDTH              97
#define IDS_PREVIEW_HEIGHT             98
#define IDS_PREVIEW_PIXELS             99
#define IDS_PROCESSING_NOTICE          100
#define IDS_PREVIEW_NOT_WRITABLE       101
#define IDS_PANEL_RED_DIFFERENCE       102
#define IDS_PANEL_GREEN_DIFFERENCE     103
#define IDS_PANEL_BLUE_DIFFERENCE      104
#define IDS_HINT_PREVIEW_SAVE          105
#define IDS_TAB_IMAGE                  106
#define IDS_TAB_DIFFERENCE_A           107
#define IDS_TAB_DIFFERENCE_B           108
#define IDS_PREVIEW_FOR_JPG            109
#define IDS_HINT_TAB_IMAGE             110
#define IDS_HINT_TAB_DIFFERENCE_A      111
#define IDS_HINT_TAB_DIFFERENCE_B      112
#define IDS_HINT_WHOLE_BUTTON          113
#define IDS_HINT_RANGE_BUTTON          114
#define IDS_HINT_GAIN_BUTTON           115
#define IDS_HINT_CHOOSE_RANGE          116
#define IDS_RANGE_TOO_SMALL            117
#define IDS_PREVIEW_PAT_MARK           118
#define IDS_INSPECTOR_PIXEL_COUNT      119
#define IDS_INSPECTOR_WIDTH            120
#define IDS_INSPECTOR_READOUT          121
#define IDS_INSPECTOR_HEX              122
#define IDS_HINT_INSPECTOR_APPLY       123
#define IDS_HINT_INSPECTOR_PIXEL_COUNT 124
#define IDS_HINT_INSPECTOR_WIDTH       125
#define IDS_HINT_INSPECTOR_READOUT     126
#define IDS_READOUT_WIDTH_MARK         127
#define IDS_READOUT_HEIGHT_MARK        128
#define IDS_QUALITY_INFINITY           129  // the JPEG preview's measures: PSNR of equal pictures
#define IDS_QUALITY_RANGE              130  // heads the measures of the selected range
#define IDS_QUALITY_BITS_PER_PIXEL     131  // the file's bits per pixel, after the number
#define IDS_SUGGEST_LEAD               132  // heads the lowest quality that still looks the same
#define IDS_SUGGEST_BYTES              133  // its file size's unit
#define IDS_SUGGEST_OF_CURRENT         134  // before that size as a percentage of the current one
#define IDS_SUGGEST_AT_OR_BELOW        135  // the current quality is not above the suggestion
#define IDS_SUGGEST_NONE               136  // not even quality 100 looks the same

// ---- Menu of the viewer window -------------------------------------------------------------
#define IDR_VIEWER_MENU 132

// Commands of the viewer menu. The pop-ups of the menu bar, by position: 0 copy and save,
// 1 the reset command itself, 2 flip and rotate, 3 zoom, 4 processing, 5 image quality.
#define IDM_COPY_WHOLE     32790
#define IDM_COPY_RANGE     32846
#define IDM_SHOW_RANGE     32847  // drag a range; it becomes the image
#define IDM_CLOSE_VIEWER   32793
#define IDM_SAVE_WHOLE     32864
#define IDM_SAVE_RANGE     32865
#define IDM_RESET          32814  // an item of the menu bar itself
#define IDM_FLIP_LEFT_RIGHT 32785
#define IDM_FLIP_UP_DOWN   32786
#define IDM_ROTATE_RIGHT   32787
#define IDM_ROTATE_LEFT    32791
#define IDM_RESAMPLE_NONE            32800  // ResampleMode 0
#define IDM_RESAMPLE_CORRECT         32801  // 1
#define IDM_RESAMPLE_CORRECT_SHARPEN 32811  // 2
#define IDM_RESAMPLE_AVERAGE         32859  // 3
#define IDM_RESAMPLE_AVERAGE_SHARPEN 32860  // 4
#define IDM_ZOOM_25        32798  // ZoomPreset 0
#define IDM_ZOOM_50        32788  // 1
#define IDM_ZOOM_75        32794  // 2
#define IDM_ZOOM_100       32795  // 3
#define IDM_ZOOM_150       32796  // 4
#define IDM_ZOOM_200       32797  // 5
#define IDM_ZOOM_ANY_SIZE  32799  // 6: opens the arbitrary-size panel
#define IDM_SIZE_SLOT1     32848  // 7 to 9: stretched to a remembered size
#define IDM_SIZE_SLOT2     32849
#define IDM_SIZE_SLOT3     32850
#define IDM_SIZE_SLOT1_FIXED_WIDTH 32855  // 10 to 12: a remembered width, proportions kept
#define IDM_SIZE_SLOT2_FIXED_WIDTH 32856
#define IDM_SIZE_SLOT3_FIXED_WIDTH 32857
#define IDM_ADD_CURSOR     32815
#define IDM_INVERT         32816
#define IDM_SEPIA          32817
#define IDM_GREY           32818
#define IDM_RGB_GAUGE      32868  // "Orvix Light"
#define IDM_EXTERNAL_SCOPE 32819  // "Orvix": the host's external scope tool
#define IDM_DELVANE        32869  // greyed in the resource, no handler
#define IDM_POSTERISE      32844
#define IDM_COUNT_COLOURS  32845
#define IDM_JPEG_PREVIEW   32874
#define IDM_TEMP_FILE      32872  // no menu item carries it

// ---- Dialog templates ---------------------------------------------------------------------
#define IDD_VIEWER             132
#define IDD_CAPTURE            137  // full-screen range capture and window pick
#define IDD_POPUP              140  // the timed two-line message
#define IDD_ANY_SIZE           143  // arbitrary size and size memory panel
#define IDD_CURSOR_PICKER      145
#define IDD_PROGRESS           149
#define IDD_POSTERISE          150
#define IDD_COLOUR_COUNT       151
#define IDD_RGB_GAUGE          153
#define IDD_OPEN_OWNER         154  // hidden owner of the open-file dialog
#define IDD_JPEG_PREVIEW       159
#define IDD_JPEG_SETTINGS      167  // child panel inside the JPEG preview
#define IDD_PIXEL_INSPECTOR    190
#define IDD_INSPECTOR_READOUT  203  // child window of the pixel inspector

// ---- Controls -----------------------------------------------------------------------------
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// IDD_PROGRESS
#define IDC_PROGRESS_BAR 1038

// IDD_ANY_SIZE. The up-downs have no buddy: each pair shows one size as tens and ones.
#define IDC_SIZE_WIDTH_EDIT   1036
#define IDC_SIZE_HEIGHT_EDIT  1037
#define IDC_SIZE_WIDTH_TENS   1021
#define IDC_SIZE_WIDTH_ONES   1024
#define IDC_SIZE_HEIGHT_TENS  1025
#define IDC_SIZE_HEIGHT_ONES  1026
#define IDC_SIZE_RATIO_LOCK   1022
#define IDC_SIZE_EXECUTE      1023
#define IDC_SIZE_CANCEL       1027
#define IDC_SIZE_SLOT1        1029
#define IDC_SIZE_SLOT2        1030
#define IDC_SIZE_SLOT3        1031
#define IDC_SIZE_RECORD       1034  // push-like check box: the next slot button stores
#define IDC_SIZE_TITLE        1035  // the panel's title label, carries the drag hint

// IDD_POSTERISE. The two scroll bars serve as up/down buttons only.
#define IDC_POSTER_EVEN          1041
#define IDC_POSTER_GAMMA         1051
#define IDC_POSTER_DIAGRAM       1044  // static, subclassed: the level diagram
#define IDC_POSTER_LEVELS        1045
#define IDC_POSTER_ONES          1052
#define IDC_POSTER_TENS          1053
#define IDC_POSTER_SPARE_SCROLL  1054  // in the template, not used
#define IDC_POSTER_PREVIEW       1049
#define IDC_POSTER_EXECUTE       1050
#define IDC_POSTER_PROGRESS      1055  // hidden until a large run
#define IDC_POSTER_COLOUR_COUNT  1058  // hidden until a run has counted

// IDD_COLOUR_COUNT
#define IDC_COUNT_VALUE  1056
#define IDC_COUNT_CLOSE  1057

// IDD_RGB_GAUGE
#define IDC_GAUGE_CLOSE  1059  // owner-drawn
#define IDC_GAUGE_RED    1060  // statics, subclassed: the three level gauges
#define IDC_GAUGE_GREEN  1061
#define IDC_GAUGE_BLUE   1062

// IDD_JPEG_PREVIEW: statics created hidden, placed and subclassed by the program.
#define IDC_PREVIEW_VIEW         1075
#define IDC_PREVIEW_RED_PANEL    1077
#define IDC_PREVIEW_GREEN_PANEL  1079
#define IDC_PREVIEW_BLUE_PANEL   1080

// IDD_JPEG_SETTINGS (1079 and 1080 again, in another template)
#define IDC_JPEG_PROGRESSIVE   1079
#define IDC_JPEG_GREY          1080
#define IDC_JPEG_QUALITY_DOWN  1084  // owner-drawn
#define IDC_JPEG_QUALITY_UP    1085  // owner-drawn

// ---- Bitmaps (24 bits; sizes in pixels, width x height) ---------------------------------
// Where a picture has pure blue pixels (red 0, green 0, blue 255) they are its key colour:
// cut out of a window shape or not copied, as noted. No other pixel of those pictures has
// blue 255.
#define IDB_EMBLEM               155  // 71 x 42, the emblem of the preview and gauge windows
#define IDB_GAUGE_CLOSE_BUTTON   156  // 63 x 53: released face rows 0-25, pressed rows 27-52
#define IDB_PREVIEW_CORNERS      160  // 40 x 40: the four 20 x 20 corners of the preview frame;
                                      // inside the frame the ground is 0x010101
#define IDB_PREVIEW_RAMP         166  // 1 x 250: ground colours, top row = bottom of the window
#define IDB_JPEG_SETTINGS_HEADER 168  // 125 x 25: key cuts the panel's rounded top corners
#define IDB_JPEG_ARROW_BUTTON    169  // 22 x 10: released 11 x 10 at column 0, pressed at 11
#define IDB_PREVIEW_SAVE_CLOSE   170  // 125 x 54: save columns 0-61, close 62-124; rows 0-2 and
                                      // 24-26 the rims (key not copied), 3-23 up, 30-50 pressed
#define IDB_PREVIEW_TABS         171  // 81 x 17: three 27 x 17 tab grounds side by side:
                                      // normal, selected, pressed; the middle column stretches
#define IDB_PREVIEW_TAB_MARKS    172  // 22 x 11: two 11 x 11 marks side by side (image,
                                      // difference); key = transparent
#define IDB_PREVIEW_BUTTON_PLATE 173  // 15 x 19: columns 0-6 the plate's left end, 7-14 repeat;
                                      // key not copied
#define IDB_PREVIEW_BUTTON_FACE  175  // 23 x 16: the small button face; key not copied
#define IDB_PREVIEW_GAIN_GLYPHS  176  // 30 x 9: glyphs x2 (columns 0-14) and x1 (15-29);
                                      // key = transparent
#define IDB_INSPECTOR_TITLE      192  // 124 x 17: the title tab; the key in its last 11 columns
                                      // is cut out of the inspector's shape
#define IDB_INSPECTOR_PAGE_BUTTONS 194  // 76 x 30: four 19 x 15 buttons at columns 0, 19, 38,
                                        // 57 (pixel count, width, readout, apply); released
                                        // rows 0-14, pressed rows 15-29
#define IDB_INSPECTOR_PANEL      196  // 29 x 37: left end in columns 0-11, 12-28 repeat
#define IDB_INSPECTOR_SETTINGS_BUTTON 197  // 13 x 20: released rows 0-9, pressed rows 10-19
#define IDB_INSPECTOR_SLIDER     199  // 34 x 10: minus released (columns 0-10), minus pressed
                                      // (11-21), track end (22-26), track (27-33, repeats)
#define IDB_INSPECTOR_SWITCHES   201  // 29 x 46: five 29 x 9 images at rows 0 (hex off),
                                      // 9 (hex on), 18 (readout on), 27 (pressed),
                                      // 36 (readout off)
#define IDB_READOUT_PLATE        204  // 36 x 16: left end in columns 0-10, then repeats
#define IDB_INSPECTOR_THUMB      206  // 20 x 6: thumb (columns 0-9), the track under it (10-19)

// ---- Icons (32 x 32 and 16 x 16) ---------------------------------------------------------
#define IDI_MURAFEX      134  // viewer class icon when the host is the wallpaper maker
#define IDI_PICTORN      135  // viewer class icon when the host is the capture program
#define IDI_STAMP_ARROW  146  // pictures the cursor stamp offers beside the system ones
#define IDI_STAMP_CHECK  147

// ---- Cursors (32 x 32) --------------------------------------------------------------------
#define IDCUR_HAND            178  // over the JPEG preview's image
#define IDCUR_GRAB            184  // while dragging scrolls the image
#define IDCUR_RANGE_CROSS     185  // choosing a range
#define IDCUR_NO_SCROLL       187  // a drag that cannot scroll
#define IDCUR_CROSS_OUTSIDE   188  // dragging a range beyond the image
#define IDCUR_HAND_RELEASED   191  // after the button is released over the image
