#include "plugins/nkf32/nkf_library.h"

#include <cstring>
#include <string>

#include "plugins/nkf32/kanji_converter.h"

namespace nkf {
namespace {

// The library's one setting, as the exported interface has it. ISO-2022-JP until set.
OutputCode g_outputCode = OutputCode::Jis;

size_t WriteWithinLimit(char* output, const std::string& result, size_t inputLength) {
  if (result.size() > 2 * inputLength) {
    output[0] = '\0';
    return 0;
  }
  std::memcpy(output, result.data(), result.size());
  output[result.size()] = '\0';
  return result.size();
}

}  // namespace

int LibrarySetOption(const char* option) {
  if (!option) return -1;
  OutputCode code;
  if (!ParseOutputOption(option, &code)) return -1;
  g_outputCode = code;
  return 0;
}

size_t LibraryConvert(char* output, const char* input) {
  if (!output) return 0;
  if (!input) {
    output[0] = '\0';
    return 0;
  }
  size_t length = std::strlen(input);
  std::string result;
  if (!ConvertKanjiText(std::string_view(input, length), g_outputCode, &result)) result.clear();
  return WriteWithinLimit(output, result, length);
}

size_t LibraryWidenKana(char* output, const char* input) {
  if (!output) return 0;
  if (!input) {
    output[0] = '\0';
    return 0;
  }
  size_t length = std::strlen(input);
  return WriteWithinLimit(output, WidenHalfwidthKana(std::string_view(input, length)), length);
}

}  // namespace nkf
