// Any bytes as a settings file or a host list to import: the section reader, the import
// plan and the value rules never crash; a value written with QuoteForProfile reads back
// unchanged under the profile functions' rules (blanks around it and one pair of
// enclosing quotes dropped).
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "config/host_list_import.h"
#include "config/options.h"
#include "config/profile_value.h"
#include "text/sjis.h"

namespace {

std::string ReadAsProfile(std::string value) {
  const size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
    value = value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const HostListSections sections = ReadHostListSections(text);
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::string section;
  for (size_t from = 0; from < text.size();) {
    size_t to = text.find('\n', from);
    if (to == std::string::npos) to = text.size();
    std::string line = text.substr(from, to - from);
    from = to + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line.substr(1, line.size() > 1 ? line.size() - 2 : 0);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string value = line.substr(equals + 1);
    values[{section, line.substr(0, equals)}] = ReadAsProfile(value);
    ParseProfileInt(value);
    if (value.find_first_of(std::string("\r\0", 2)) == std::string::npos && ReadAsProfile(QuoteForProfile(value)) != value)
      std::abort();
    for (const SettingKey& key : SettingKeys())
      if (key.capacity && CutToCapacity(value, key.capacity).size() >= key.capacity) std::abort();
  }
  for (HostListKind kind : {HostListKind::WsFtp, HostListKind::MatuFtp, HostListKind::Ffftp}) {
    const HostListImport plan = PlanHostListImport(
        kind, sections.names,
        [&](const std::string& s, const std::string& k) {
          auto found = values.find({s, k});
          return found == values.end() ? std::string() : found->second;
        },
        size % 101, [](const std::string&) { return false; }, ShiftJisAsciiCase());
    if (plan.hosts.size() + size % 101 > 100) std::abort();
    for (size_t i = 0; i < plan.hosts.size(); ++i) {
      for (char c : {'\\', '/', ':'})
        if (FindSingleByteChar(plan.hosts[i].fileName, c) != std::string::npos) std::abort();
      for (size_t j = 0; j < i; ++j)  // every host a file of its own
        if (EqualNoCase(ShiftJisAsciiCase(), plan.hosts[i].fileName, plan.hosts[j].fileName)) std::abort();
    }
  }
  return 0;
}
