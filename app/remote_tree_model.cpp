#include "app/remote_tree_model.h"

#include "text/sjis.h"

RemoteTreeNode* RemoteTreeNode::Child(const std::string& name) {
  auto it = index.find(name);
  return it == index.end() ? nullptr : &children[it->second];
}

const RemoteTreeNode* RemoteTreeNode::Child(const std::string& name) const {
  auto it = index.find(name);
  return it == index.end() ? nullptr : &children[it->second];
}

RemoteTreeNode& RemoteTreeNode::AddChild(const std::string& name) {
  if (RemoteTreeNode* existing = Child(name)) return *existing;
  index.emplace(name, children.size());
  children.push_back(RemoteTreeNode());
  children.back().text = name;
  return children.back();
}

namespace {

std::vector<std::string> SplitAtSlashes(const std::string& text) {
  return SplitAtSingleByteChar(text, '/', false);
}

}  // namespace

std::vector<std::string> TreeCacheLineFolders(const std::string& line) {
  const size_t slash = FindLastSingleByteChar(line, "/");
  if (slash == std::string::npos || slash == 0) return {};
  std::vector<std::string> parts = SplitAtSlashes(line.substr(0, slash));
  if (parts.size() > kRemoteTreeDepthLimit) parts.clear();
  return parts;
}

bool AddTreeCacheLineToTree(RemoteTreeNode& root, const std::string& line) {
  const std::vector<std::string> parts = TreeCacheLineFolders(line);
  RemoteTreeNode* node = &root;
  for (const std::string& part : parts) node = &node->AddChild(part);
  return !parts.empty();
}

RemoteTreeNode BuildRemoteTreeModel(const std::vector<std::string>& lines) {
  RemoteTreeNode root;
  root.text = "/";
  for (const std::string& line : lines) AddTreeCacheLineToTree(root, line);
  return root;
}

std::vector<std::string> SplitRemotePath(const std::string& path) { return SplitAtSlashes(path); }

std::vector<std::string> FindRemoteTreePath(const RemoteTreeNode& root, const std::string& path) {
  std::vector<std::string> found;
  const RemoteTreeNode* node = &root;
  for (const std::string& part : SplitAtSlashes(path)) {
    node = node->Child(part);
    if (!node) break;
    found.push_back(part);
  }
  return found;
}

std::string RemotePathOfTexts(const std::vector<std::string>& texts) {
  if (texts.empty()) return "/";
  std::string path;
  for (const std::string& t : texts) path += "/" + t;
  return path;
}
