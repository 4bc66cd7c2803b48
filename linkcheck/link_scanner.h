// Reads the bytes of an HTML file and finds the links of its tags: for each tag of the
// rule table that carries its link attribute, one link, in the order of the document.
// The bytes may come in pieces of any size; a tag may span pieces.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "linkcheck/tag_words.h"

// A word keeps at most this many bytes (a longer one is cut between characters).
constexpr size_t kWordRoom = 1023;

struct FoundLink {
  int tagIndex;      // in the tag table
  std::string link;  // the attribute's value, cut at "#", a trailing "/" made ".../index.html"
};

// The Link text of an attribute value: the value up to its first "#"; a value (still not
// empty) that ends in "/" names the folder's index.html.
std::string LinkOfValue(std::string_view value);

class LinkScanner {
 public:
  void Feed(std::string_view bytes);
  // The links found so far, handed over (the scanner keeps reading where it was).
  std::vector<FoundLink> TakeLinks();

 private:
  void Append(char c);
  void EndWord();
  void EndTag();

  bool inTag_ = false;
  bool skippingBlanks_ = false;  // after a space: further spaces and quotes are dropped
  TagWords words_;
  std::vector<FoundLink> links_;
};
