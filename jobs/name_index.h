// Lookup of a name among a folder's names, letter case not counting, for the "only
// updated" tests of a level: a search through every name per file costs the square of
// the folder's size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/text_case.h"

class NameIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  // A name's key under tc: equal keys for names tc finds equal (the system's sort keys).
  // Keys are made once per name, where sorting and searching by tc itself compares each
  // name about twenty times, and every comparison converts both names under Wine.
  using Key = std::string (*)(const std::string& name);
  // names are read, not kept: the index holds its own copies. tc must outlive the index.
  NameIndex(const std::vector<std::string>& names, const TextCase& tc, Key key);
  // Moved, never copied: the names it looks up by are held where the entries hold them.
  NameIndex(NameIndex&&) = default;
  NameIndex& operator=(NameIndex&&) = default;
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;
  // The position of the first name equal to name under tc's comparison (the one a search
  // from the front would find), or kNone.
  size_t Find(const std::string& name) const;

 private:
  // A name's key is kept as a hash: names tc finds equal share it, and the few that share
  // it otherwise are told apart by tc. Keys themselves are long and compared byte by byte.
  struct Entry {
    std::string name;
    size_t position;
    uint64_t hash;
  };
  static uint64_t HashOf(const std::string& key);
  const TextCase* tc_;
  Key key_;
  std::vector<Entry> sorted_;  // by hash, equal hashes by position
  // Each name as it is, to the place in sorted_ of one entry of that name. A name asked
  // for just as it is listed (the usual find) needs no key made for it.
  std::unordered_map<std::string_view, size_t> exact_;
};
