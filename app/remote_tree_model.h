// The remote folder tree as the tree cache lines describe it, before any tree control
// sees it: a root "/" and one node per path component, each folder once.
#pragma once
#include <map>
#include <string>
#include <vector>

struct RemoteTreeNode {
  std::string text;
  std::vector<RemoteTreeNode> children;  // in the order first seen; the control sorts
  std::map<std::string, size_t> index;   // child text -> position in children

  RemoteTreeNode* Child(const std::string& name);
  const RemoteTreeNode* Child(const std::string& name) const;
  RemoteTreeNode& AddChild(const std::string& name);
};

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
