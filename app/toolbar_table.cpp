#include "app/toolbar_table.h"

namespace {

const ToolbarButtonSpec kButtons[] = {
    {-1, 0},     {0, 40019},  {-1, 0},     {1, 40005},  {2, 40006},  {3, 40009},  {4, 40010},
    {-1, 0},     {5, 40013},  {-1, 0},     {6, 40001},  {7, 40002},  {8, 40003},  {9, 40004},
    {-1, 0},     {10, 40020}, {11, 40021}, {12, 40080}, {-1, 0},     {13, 40079},
};

}  // namespace

const ToolbarButtonSpec* ToolbarButtons(size_t* count) {
  *count = sizeof kButtons / sizeof kButtons[0];
  return kButtons;
}

int TooltipStringOfCommand(int command) {
  switch (command) {
    case 40001: return 57;  // "Large Icons"
    case 40002: return 58;  // "Small Icons"
    case 40003: return 59;  // "List"
    case 40004: return 60;  // "Details"
    case 40005: return 52;  // "Connect"
    case 40006: return 53;  // "Disconnect"
    case 40009: return 54;  // "Upload"
    case 40010: return 55;  // "Download"
    case 40013: return 56;  // "Delete"
    case 40019: return 51;  // "Previous Folder"
    case 40020: return 61;  // "ASCII"
    case 40021: return 62;  // "BINARY"
    case 40079: return 63;  // "Synchronize"
    case 40080: return 78;  // "Auto Detect"
    default: return 0;
  }
}
