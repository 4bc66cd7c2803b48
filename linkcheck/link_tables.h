// The fixed tables of the link analyzer: the tags it knows, which attribute of each tag
// holds a link, and the prefixes that mark a link leaving this machine.
#pragma once
#include <string_view>

// The tag table, in its order. "/a" is never matched; it keeps the places of the others.
constexpr int kLinkTagCount = 13;
extern const char* const kLinkTags[kLinkTagCount];

// One row of the rule table: a tag (by its index in the tag table) and its link attribute.
struct LinkRule {
  int tagIndex;
  const char* attribute;
};

// The rule for a tag name (letter case not counting), or null for a tag that yields nothing.
const LinkRule* FindLinkRule(std::string_view tagName);

// True when the link begins with one of the eight scheme prefixes, byte for byte.
bool IsExternalLink(std::string_view link);

// Equal but for the case of the ASCII letters; both bytes of a two-byte Shift-JIS character
// are compared as they are (their second byte may look like a letter).
bool SameTextNoCase(std::string_view a, std::string_view b);
