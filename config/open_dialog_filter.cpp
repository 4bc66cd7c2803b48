#include "config/open_dialog_filter.h"

#include "text/sjis.h"

std::string OpenDialogFilter(const std::string& text) {
  std::string filter = text;
  for (size_t i = 0; i < filter.size(); i += CharWidthAt(filter, i))
    if (CharWidthAt(filter, i) == 1 && filter[i] == '|') filter[i] = '\0';
  filter.append(2, '\0');
  return filter;
}
