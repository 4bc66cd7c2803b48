#include "jobs/job_rules.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "ftp/transfer_progress.h"
#include "text/sjis.h"

bool IsPlainEntryName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A doubtful second byte is taken for a character of its own: the code page may read it so.
  for (size_t i = 0; i < name.size(); i += CheckedCharWidthAt(name, i)) {
    const char c = name[i];
    if (c == '\\' || c == '/' || c == ':') return false;
  }
  return true;
}

std::string RemoteChildPath(const std::string& parent, const std::string& name) {
  if (!parent.empty() && parent.back() == '/') return parent + name;
  return parent + "/" + name;
}

bool DropIsOnLocalPane(int x, int y, int windowDiv, int splitPos, int splitPos2, int toolbarHeight) {
  if (windowDiv == 1) return y < toolbarHeight + splitPos2;
  return x < splitPos;
}

const char* UploadConversionOption(int nkfUp, bool convertAlways) {
  if (nkfUp == 1) return "-e";
  if (nkfUp == 2) return "-j";
  return convertAlways ? "-s" : nullptr;
}

static std::string FoldedCase(std::string name, const TextCase& tc) {
  tc.lower(name);
  return name;
}

// Sorted views of the names: a mirror asks this for every folder, and a set of strings costs
// an allocation for every name.
static std::vector<std::string_view> SortedViews(const std::vector<std::string>& names) {
  std::vector<std::string_view> views(names.begin(), names.end());
  std::sort(views.begin(), views.end());
  return views;
}

static bool Holds(const std::vector<std::string_view>& sorted, std::string_view name) {
  return std::binary_search(sorted.begin(), sorted.end(), name);
}

std::vector<size_t> RemoteNamesWithoutCounterpart(const std::vector<std::string>& remoteNames,
                                                  const std::vector<std::string>& localConverted,
                                                  const TextCase& tc, bool* keptByCase) {
  const std::vector<std::string_view> local = SortedViews(localConverted), remote = SortedViews(remoteNames);
  // The local names the remote side shows under another letter case at most.
  std::unordered_set<std::string> withoutExactNamesake;
  for (const std::string& name : localConverted)
    if (!Holds(remote, name)) withoutExactNamesake.insert(FoldedCase(name, tc));
  if (keptByCase) *keptByCase = false;
  std::vector<size_t> gone;
  for (size_t i = 0; i < remoteNames.size(); ++i) {
    const std::string& name = remoteNames[i];
    if (name == "." || name == ".." || Holds(local, name)) continue;
    if (!withoutExactNamesake.empty() && withoutExactNamesake.count(FoldedCase(name, tc))) {
      if (keptByCase) *keptByCase = true;
      continue;
    }
    gone.push_back(i);
  }
  return gone;
}

std::string FormatWithNumber(const std::string& format, long number) {
  return FormatWithValue(format, 'd', std::to_string(number));
}

unsigned JobPanesDelay(unsigned lastCostMs, unsigned sinceLastMs, unsigned sinceStartMs) {
  unsigned long long wait = kJobPanesSettleMs;
  if (sinceStartMs < kJobPanesFirstMs) wait = std::max<unsigned long long>(wait, kJobPanesFirstMs - sinceStartMs);
  // Costs beyond a minute are a clock gone wrong, not a refresh: they must not stop the
  // panes following for long.
  const unsigned long long quiet = 4ull * std::min(lastCostMs, 60000u);
  if (quiet > sinceLastMs) wait = std::max<unsigned long long>(wait, quiet - sinceLastMs);
  return static_cast<unsigned>(wait);
}
