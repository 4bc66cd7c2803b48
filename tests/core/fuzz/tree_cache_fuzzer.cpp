// Any bytes as a tree cache file: the line reader, the tree built from its lines and the
// path lookups never crash, and every line that names a folder is found in the tree.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/remote_tree_model.h"
#include "app/tree_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = SplitTreeCacheText(text);
  size_t total = 0;
  for (const std::string& l : lines) {
    if (l.find('\n') != std::string::npos) std::abort();
    total += l.size();
  }
  if (total > text.size()) std::abort();
  RemoteTreeNode root = BuildRemoteTreeModel(lines);
  for (const std::string& l : lines) {
    // The folders of each line alone must all be in the tree of every line.
    RemoteTreeNode probe;
    if (!AddTreeCacheLineToTree(probe, l)) continue;
    const RemoteTreeNode *want = &probe, *have = &root;
    std::vector<std::string> texts;
    while (!want->children.empty()) {
      if (want->children.size() != 1) std::abort();
      want = &want->children[0];
      have = have->Child(want->text);
      if (!have || want->text.empty()) std::abort();
      texts.push_back(want->text);
    }
    if (RemotePathOfTexts(texts).empty()) std::abort();
    FindRemoteTreePath(root, l);
  }
  TreeCacheLineOf(text, text);
  return 0;
}
