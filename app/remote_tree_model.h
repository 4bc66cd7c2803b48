// The remote folder tree as the tree cache lines describe it, before any tree control
// sees it: a root "/" and one node per path component, each folder once.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Folders deeper than this below the root are left out: a kept tree cache may come from
// anywhere, and every level costs the tree control (and the model) a little stack.
constexpr size_t kRemoteTreeDepthLimit = 256;

struct RemoteTreeNode {
  std::string text;
  std::vector<RemoteTreeNode> children;  // in the order first seen; the control sorts
  std::map<std::string, size_t> index;   // child text -> position in children
  uintptr_t shownAs = 0;                 // the window's item that shows the folder, once shown

  RemoteTreeNode* Child(const std::string& name);
  const RemoteTreeNode* Child(const std::string& name) const;
  RemoteTreeNode& AddChild(const std::string& name);
};

// The folders one tree cache line names, from the root down: the line is cut at its last
// slash and split at slashes, empty components skipped. None for a line without a slash,
// one whose only slash is its first character, or one deeper than kRemoteTreeDepthLimit.
std::vector<std::string> TreeCacheLineFolders(const std::string& line);

// Adds the folders of one tree cache line below the root. The line is cut at its last
// slash; a line without a slash, or whose only slash is its first character, adds
// nothing. Components are matched letter case counting; empty ones are skipped.
// Answers whether the line named any folder.
bool AddTreeCacheLineToTree(RemoteTreeNode& root, const std::string& line);

// The whole tree of a tree cache's lines, the root's text being "/".
RemoteTreeNode BuildRemoteTreeModel(const std::vector<std::string>& lines);

// The components of a remote path ("home/user", "/home/user/"), split at slashes.
std::vector<std::string> SplitRemotePath(const std::string& path);

// The texts from the root's child down to the deepest node that the path reaches
// (empty for the root itself or when the first component has no node).
std::vector<std::string> FindRemoteTreePath(const RemoteTreeNode& root, const std::string& path);

// "/a/b" for the texts {"a", "b"} below the root; "/" for none.
std::string RemotePathOfTexts(const std::vector<std::string>& texts);
