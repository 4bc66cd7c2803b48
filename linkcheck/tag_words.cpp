#include "linkcheck/tag_words.h"

#include "linkcheck/link_tables.h"
#include "text/sjis.h"

void JoinEqualsWords(TagWords& words) {
  // After a join the word that moves into place k is not looked at again.
  for (size_t k = 2; k < words.size(); ++k) {
    if (words[k] != "=") continue;
    const bool hasValue = k + 1 < words.size();
    words[k - 1] += "=";
    if (hasValue) words[k - 1] += words[k + 1];
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(k), words.begin() + static_cast<std::ptrdiff_t>(k + (hasValue ? 2 : 1)));
  }
}

bool FindAttribute(const TagWords& words, std::string_view name, std::string& value) {
  for (size_t i = 1; i < words.size(); ++i) {
    std::string_view word = words[i];
    size_t equals = FindLastSingleByteChar(word, "=");
    if (equals == std::string_view::npos) {
      if (!SameTextNoCase(word, name)) continue;
      value = std::string(word);
      return true;
    }
    if (!SameTextNoCase(word.substr(0, equals), name)) continue;
    value = std::string(word.substr(equals + 1));
    return true;
  }
  return false;
}
