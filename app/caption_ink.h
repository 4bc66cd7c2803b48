// The ink of the caption strips above the panes: black or white, whichever reads better on
// the strip's colour (the system's caption colours pair dark text with blue in some themes,
// grey with grey in others).
#pragma once
#include <cstdint>

// 0x00BBGGRR colours, as the system gives them.
uint32_t ReadableInkOn(uint32_t background);
