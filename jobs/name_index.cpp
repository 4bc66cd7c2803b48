#include "jobs/name_index.h"

#include <algorithm>

// FNV-1a: keys differ mostly in their first bytes, and any spread will do, since tc has the
// last word on every name that shares a hash.
uint64_t NameIndex::HashOf(const std::string& key) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : key) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// Sorted by hash and position. A name found by its hash is still confirmed by tc (the
// system's own comparison on Windows, which is not a plain byte folding), so a name found
// is exactly one a search from the front finds, and among equal names the first: names tc
// finds equal have equal keys, so they all stand under one hash, in the order of the list.
NameIndex::NameIndex(const std::vector<std::string>& names, const TextCase& tc, Key key) : tc_(&tc), key_(key) {
  sorted_.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) sorted_.push_back({names[i], i, HashOf(key(names[i]))});
  std::sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.position < b.position;
  });
  exact_.reserve(sorted_.size());
  for (size_t i = 0; i < sorted_.size(); ++i) exact_.emplace(sorted_[i].name, i);
}

size_t NameIndex::Find(const std::string& name) const {
  // A name listed just so shares its hash with the name asked for: when it comes first
  // under that hash it is the find, and tc has nothing to confirm (a name equals itself).
  const auto same = exact_.find(name);
  const uint64_t hash = same != exact_.end() ? sorted_[same->second].hash : HashOf(key_(name));
  auto at = std::lower_bound(sorted_.begin(), sorted_.end(), hash,
                             [](const Entry& e, uint64_t h) { return e.hash < h; });
  if (same != exact_.end() && at->name == name) return at->position;
  for (; at != sorted_.end() && at->hash == hash; ++at)
    if (tc_->compare(at->name.c_str(), name.c_str()) == 0) return at->position;
  return kNone;
}
