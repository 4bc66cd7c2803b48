#include "app/caption_ink.h"

uint32_t ReadableInkOn(uint32_t background) {
  const uint32_t r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
  // Perceived brightness (ITU-R BT.601 weights), 0-255.
  const uint32_t brightness = (299 * r + 587 * g + 114 * b) / 1000;
  return brightness >= 140 ? 0x000000u : 0xFFFFFFu;
}
