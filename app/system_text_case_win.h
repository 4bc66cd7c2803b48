// The system's own case rules of the user's code page (lstrcmpiA, CharLowerBuffA,
// CharUpperBuffA), as the program hands them to the platform-neutral rules.
#pragma once
#include "app/text_case.h"

const TextCase& SystemTextCase();
