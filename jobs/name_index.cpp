#include "jobs/name_index.h"

#include <algorithm>

// Sorted by the same comparison that decides equality (the system's own on Windows,
// which is not a plain byte folding), so a name found is exactly one a search from the
// front finds, and among equal names the first.
NameIndex::NameIndex(const std::vector<std::string>& names, const TextCase& tc) : tc_(&tc) {
  sorted_.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) sorted_.push_back({names[i], i});
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [&tc](const Entry& a, const Entry& b) { return tc.compare(a.name.c_str(), b.name.c_str()) < 0; });
}

size_t NameIndex::Find(const std::string& name) const {
  const TextCase& tc = *tc_;
  auto at = std::lower_bound(sorted_.begin(), sorted_.end(), name, [&tc](const Entry& e, const std::string& n) {
    return tc.compare(e.name.c_str(), n.c_str()) < 0;
  });
  if (at == sorted_.end() || tc.compare(at->name.c_str(), name.c_str()) != 0) return kNone;
  return at->position;
}
