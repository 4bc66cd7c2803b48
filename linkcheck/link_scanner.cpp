#include "linkcheck/link_scanner.h"

#include "linkcheck/link_tables.h"
#include "text/sjis.h"

std::string LinkOfValue(std::string_view value) {
  std::string link(value.substr(0, FindSingleByteChar(value, '#')));
  if (!link.empty() && IsSingleByteChar(link.c_str(), link.size() - 1) && link.back() == '/') link += "index.html";
  return link;
}

// Every byte that steers the reading ('<', '>', '"', ' ') is below 0x40, so it can never be
// the second byte of a two-byte character: the bytes are taken one by one.
void LinkScanner::Feed(std::string_view bytes) {
  for (char c : bytes) {
    if (c == '<') {
      // A '<' inside a tag starts the tag afresh.
      inTag_ = true;
      skippingBlanks_ = false;
      words_.assign(1, std::string());
      continue;
    }
    if (!inTag_) continue;
    if (skippingBlanks_) {
      if (c == ' ' || c == '"') continue;
      skippingBlanks_ = false;
    }
    switch (c) {
      case '"': break;
      case ' ':
        EndWord();
        words_.emplace_back();
        skippingBlanks_ = true;
        break;
      case '>':
        EndWord();
        EndTag();
        inTag_ = false;
        break;
      default: Append(c); break;
    }
  }
}

std::vector<FoundLink> LinkScanner::TakeLinks() {
  std::vector<FoundLink> links;
  links.swap(links_);
  return links;
}

void LinkScanner::Append(char c) {
  // One byte beyond the room is kept until the word ends, to see whether the cut falls
  // inside a character.
  std::string& word = words_.back();
  if (word.size() <= kWordRoom) word.push_back(c);
}

void LinkScanner::EndWord() {
  std::string& word = words_.back();
  if (word.size() <= kWordRoom) return;
  size_t end = 0;
  while (end < word.size()) {
    size_t width = CharWidthAt(word, end);
    if (end + width > kWordRoom) break;
    end += width;
  }
  word.resize(end);
}

void LinkScanner::EndTag() {
  JoinEqualsWords(words_);
  const LinkRule* rule = FindLinkRule(words_[0]);
  std::string value;
  if (rule && FindAttribute(words_, rule->attribute, value)) links_.push_back({rule->tagIndex, LinkOfValue(value)});
  words_.clear();
}
