// Japanese code conversion of a whole file through nkf32.dll, for text transfers.
#pragma once

// Converts SOURCE into TARGET (an existing empty file) with OPTION ("-s", "-e" or "-j"),
// widening half-width katakana first when the "NKFKana" setting asks for it.
// 0 on success, -1 on failure (also for a file holding a zero byte, which the library
// would see cut short), -2 when nkf32.dll is not beside the program.
// The source file is never changed.
int ConvertKanjiFile(const char* sourcePath, const char* targetPath, const char* option);
