// F1 and Help > Contents.
#pragma once

// Opens the help through the shell; a failure is not reported.
void OpenHelpContents();
