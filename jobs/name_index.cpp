#include "jobs/name_index.h"

#include <algorithm>

// Sorted by key and position. A name found by its key is still confirmed by tc (the
// system's own comparison on Windows, which is not a plain byte folding), so a name found
// is exactly one a search from the front finds, and among equal names the first.
NameIndex::NameIndex(const std::vector<std::string>& names, const TextCase& tc, Key key) : tc_(&tc), key_(key) {
  sorted_.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) sorted_.push_back({names[i], i, key(names[i])});
  std::sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.position < b.position;
  });
  exact_.reserve(sorted_.size());
  for (size_t i = 0; i < sorted_.size(); ++i) exact_.emplace(sorted_[i].name, i);
}

size_t NameIndex::Find(const std::string& name) const {
  // A name listed just so shares its key with the name asked for: when it comes first
  // under that key it is the find, and tc has nothing to confirm (a name equals itself).
  const auto same = exact_.find(name);
  const std::string key = same != exact_.end() ? sorted_[same->second].key : key_(name);
  auto at = std::lower_bound(sorted_.begin(), sorted_.end(), key,
                             [](const Entry& e, const std::string& k) { return e.key < k; });
  if (same != exact_.end() && at->name == name) return at->position;
  for (; at != sorted_.end() && at->key == key; ++at)
    if (tc_->compare(at->name.c_str(), name.c_str()) == 0) return at->position;
  return kNone;
}
