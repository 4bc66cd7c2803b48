#include "jobs/name_index.h"

#include <algorithm>

// Sorted by the same comparison that decides equality (the system's own on Windows,
// which is not a plain byte folding), so a name found is exactly one a search from the
// front finds, and among equal names the first. With keys, sorted by key and position: a
// name found by its key is still confirmed by tc.
NameIndex::NameIndex(const std::vector<std::string>& names, const TextCase& tc, Key key) : tc_(&tc), key_(key) {
  sorted_.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) sorted_.push_back({names[i], i, key ? key(names[i]) : std::string()});
  if (key) {
    std::sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) {
      return a.key != b.key ? a.key < b.key : a.position < b.position;
    });
    exact_.reserve(sorted_.size());
    for (size_t i = 0; i < sorted_.size(); ++i) exact_.emplace(sorted_[i].name, i);
    return;
  }
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [&tc](const Entry& a, const Entry& b) { return tc.compare(a.name.c_str(), b.name.c_str()) < 0; });
}

size_t NameIndex::Find(const std::string& name) const {
  const TextCase& tc = *tc_;
  if (key_) {
    // A name listed just so shares its key with the name asked for: when it comes first
    // under that key it is the find, and tc has nothing to confirm (a name equals itself).
    const auto same = exact_.find(name);
    const std::string key = same != exact_.end() ? sorted_[same->second].key : key_(name);
    auto at = std::lower_bound(sorted_.begin(), sorted_.end(), key,
                               [](const Entry& e, const std::string& k) { return e.key < k; });
    if (same != exact_.end() && at->name == name) return at->position;
    for (; at != sorted_.end() && at->key == key; ++at)
      if (tc.compare(at->name.c_str(), name.c_str()) == 0) return at->position;
    return kNone;
  }
  auto at = std::lower_bound(sorted_.begin(), sorted_.end(), name, [&tc](const Entry& e, const std::string& n) {
    return tc.compare(e.name.c_str(), n.c_str()) < 0;
  });
  if (at == sorted_.end() || tc.compare(at->name.c_str(), name.c_str()) != 0) return kNone;
  return at->position;
}
