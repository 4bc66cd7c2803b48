// String-table texts a job shows for every file (the progress formats), loaded once per
// job rather than once per file.
#pragma once
#include <string>

// The text of the id: kept from its first use to the end of the running job; loaded at
// every call outside a job (the language cannot change while a job runs).
std::string JobResourceText(int id);
