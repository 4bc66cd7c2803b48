// Extension lists and names of any bytes: no crash, no read outside either text, and the
// matcher agrees with itself on the rules that follow from its definition.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "jobs/transfer_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t cut = input.find('\0');
  std::string list = input.substr(0, cut);
  std::string name = cut == std::string::npos ? "" : input.substr(cut + 1);
  const TextCase& tc = ShiftJisAsciiCase();
  std::string key = ExtensionKey(name);
  bool match = MatchExtensionList(list, key, tc);
  // The key is a tail of the name.
  if (key.size() > name.size() || name.compare(name.size() - key.size(), key.size(), key) != 0) std::abort();
  // A list made of the key alone matches it; another entry in front never loses a match
  // (one behind could join a trailing lead byte of the list).
  if (key.size() <= kTypeKeyLimit && key.find(';') == std::string::npos &&
      !MatchExtensionList(key, key, tc)) {
    std::abort();
  }
  if (match && !MatchExtensionList("zz;" + list, key, tc)) std::abort();
  OptionsRecord o;
  o.AsciiType = list;
  o.ChmodType1 = list;
  ClassifyEntry(0, name, o, tc);
  FindPermissionRule(name, o, tc);
  o.CapitalMode = static_cast<int>(size % 3);
  std::string cased = name;
  ApplyNameCase(cased, o, tc);
  if (cased.size() != name.size()) std::abort();
  return 0;
}
