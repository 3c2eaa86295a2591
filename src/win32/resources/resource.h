#pragma once

// Identifiers of the resources built into Glimra.scr.
#define IDI_GLIMRA 1
#define IDR_START_PICTURE 101
#define IDR_BLANK_PICTURE 102
