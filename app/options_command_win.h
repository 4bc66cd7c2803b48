// The Options command (40078): the Options sheet, then the views rebuilt so that what
// changed shows at once.
#pragma once

void OpenOptions();
