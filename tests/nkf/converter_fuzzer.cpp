// libFuzzer: any bytes through the library's operations with an output block of exactly the
// promised size, so that AddressSanitizer reports a single byte written past it.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugins/nkf32/nkf_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* options[] = {"-s", "-e", "-j", "-x"};
  nkf::LibrarySetOption(options[data[0] % 4]);
  const std::string input(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
  std::vector<char> out(nkf::LibraryOutputLimit(input.size()));
  for (auto operation : {nkf::LibraryConvert, nkf::LibraryWidenKana}) {
    const size_t n = operation(out.data(), input.c_str());
    if (n != std::strlen(out.data()) || n > 2 * input.size()) std::abort();
  }
  return 0;
}
