#pragma once

// Identifiers of the resources built into Glimra.scr.
#define IDI_GLIMRA 1
#define IDR_START_PICTURE 101
#define IDR_BLANK_PICTURE 102
#define IDI_HELP_LINK 2
#define IDI_DOWNLOAD_LINK 3
#define IDR_PREVIEW_MINIATURE 103
#define IDR_ABOUT_MINIATURE 104
#define IDR_PORTRAIT 105
#define IDC_POINTING_HAND 201
