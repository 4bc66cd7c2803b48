// libFuzzer: any bytes through the library's operations with an output block of exactly
// the promised size, so that AddressSanitizer reports a single byte written past it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "plugins/nkf32/nkf_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* options[] = {"-s", "-e", "-j", "-x"};
  nkf::LibrarySetOption(options[data[0] % 4]);
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  input = input.c_str();  // the library sees text up to the first zero byte
  size_t limit = nkf::LibraryOutputLimit(input.size());
  std::unique_ptr<char[]> out(new char[limit]);
  size_t n = nkf::LibraryConvert(out.get(), input.c_str());
  if (n != std::strlen(out.get()) || n > 2 * input.size()) std::abort();
  n = nkf::LibraryWidenKana(out.get(), input.c_str());
  if (n != std::strlen(out.get()) || n > 2 * input.size()) std::abort();
  return 0;
}
