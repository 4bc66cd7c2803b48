// The words of one HTML tag as the link analyzer reads them: word 0 is the tag name, the
// others are attributes such as href=a.html (quotes already dropped).
#pragma once
#include <string>
#include <string_view>
#include <vector>

using TagWords = std::vector<std::string>;

// Joins attributes written with spaces around their "=": the words href, "=" and a.html
// become href=a.html. A "=" right after the tag name is left alone, and so is a "=" that
// follows a join at once. A "=" as the last word joins with nothing (href=).
void JoinEqualsWords(TagWords& words);

// The first word after the tag name whose attribute name (the part before its last "=")
// is `name`, letter case not counting; a word without "=" matches when it is `name` itself,
// and is then its own value. On a match `value` is the part after that "=".
bool FindAttribute(const TagWords& words, std::string_view name, std::string& value);
