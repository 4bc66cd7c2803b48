// The platform-neutral rules, case by case from the tables in tests/core/data: listings and
// passive replies, per-file transfer rules, job rules, tree-cache and tree paths, the help
// file, row order, menu and command states, layout and split bars.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/caption_ink.h"
#include "app/command_table.h"
#include "app/help_file.h"
#include "app/layout.h"
#include "app/local_tree_paths.h"
#include "app/menu_state_table.h"
#include "app/remote_tree_model.h"
#include "app/row_compare.h"
#include "app/split_bars.h"
#include "app/tree_cache.h"
#include "app/tree_cache_rename.h"
#include "app/window_placement.h"
#include "config/host_profile.h"
#include "ftp/certificate_trust.h"
#include "ftp/listing_parser.h"
#include "ftp/mlsd_listing.h"
#include "ftp/passive_reply.h"
#include "ftp/transfer_type.h"
#include "jobs/job_rules.h"
#include "jobs/name_index.h"
#include "jobs/transfer_rules.h"
#include "lha/plugin_test_support.h"
#include "support/code_page_cases.h"

namespace {

using namespace case_table;
using Texts = std::vector<std::string>;

const TextCase& tc = ShiftJisAsciiCase();
Texts Rest(const Args& a, size_t from) { return Texts(a.begin() + from, a.end()); }
std::string Rect(const PaneRect& r) { return Numbers(",", r.left, r.top, r.width, r.height); }

// Applies the words "member" (= 1) and "member=value" through the table of members.
template <typename T>
void SetMembers(T& in, const std::string& text, const std::map<std::string, int T::*>& members) {
  for (const std::string& word : SplitOn(text, ' ')) {
    const std::string member = word.substr(0, word.find('='));
    if (members.count(member)) in.*members.at(member) = member == word ? 1 : Int(word.substr(member.size() + 1));
  }
}

// "kind|size|date|permissions|name" of every row, joined by " + ".
std::string Rows(const std::string& text) {
  Texts rows;
  for (const ListedEntry& e : ParseListing(text, ListingClock{2024, 3})) {
    rows.push_back(Join({e.entry.attributes == 0x10 ? "d" : "f", RemoteSizeText(e.entry),
                         RemoteDateText(e.date, 0), e.permissions, e.entry.name}, "|"));
  }
  return Join(rows, " + ");
}

// "name|size|type|date|attributes"; size D makes a folder row, missing fields are a file's.
RowTexts Row(const std::string& text) {
  Texts f = SplitOn(text, '|');
  bool folder = f.size() > 1 && f[1] == "D";
  const Texts defaults = folder ? Texts{"", "   ", "Folder", "   ", "drwxr-xr-x"}
                                : Texts{"", "1", "ASCII", "2024/01/01 00:00", "-rw-r--r--"};
  RowTexts r;
  for (size_t i = 0; i < 5; ++i) r.column[i] = i < f.size() && !(folder && i == 1) ? f[i] : defaults[i];
  return r;
}

// A state is words: connected, remote, job, archive, member=value.
MenuStateInput State(const std::string& text) {
  MenuStateInput in;
  SetMembers<MenuStateInput>(in, text, {
      {"connected", &MenuStateInput::connected}, {"remote", &MenuStateInput::activePane},
      {"job", &MenuStateInput::jobRunning}, {"archive", &MenuStateInput::archiveMode},
      {"toolbar", &MenuStateInput::toolbarHeight}, {"tree", &MenuStateInput::treeView},
      {"sortLocal", &MenuStateInput::sortTypeLocal}, {"sortRemote", &MenuStateInput::sortTypeRemote},
      {"listLocal", &MenuStateInput::localListType}, {"listRemote", &MenuStateInput::remoteListType},
      {"sortSub", &MenuStateInput::sortSub}, {"nkfUp", &MenuStateInput::nkfUp}, {"nkfDown", &MenuStateInput::nkfDown}});
  return in;
}

// The answers for each of the space-separated ids, joined; empty answers are left out.
std::string EachId(const std::string& ids, const std::function<std::string(int)>& answer) {
  Texts answers;
  for (const std::string& id : SplitOn(ids, ' '))
    if (!answer(Int(id)).empty()) answers.push_back(answer(Int(id)));
  return Join(answers, " ");
}

// A layout is "sbs" (800x600, side by side, split at 300) or "stacked" (640x480, no toolbar
// or trees), then member=value words.
LayoutInput Layout(const std::string& text) {
  LayoutInput in;
  if (text.rfind("sbs", 0) == 0) {
    in.width = 800, in.height = 600, in.windowDiv = 0, in.splitPos = 300;
  } else {
    in.width = 640, in.height = 480, in.toolbarHeight = 0, in.treeView = 0;
  }
  SetMembers<LayoutInput>(in, text, {{"tb", &LayoutInput::toolbarHeight}, {"split", &LayoutInput::splitPos}, {"split2", &LayoutInput::splitPos2},
                                     {"tl", &LayoutInput::tl}, {"tree", &LayoutInput::treeView},
                                     {"label", &LayoutInput::labelHeight}, {"status", &LayoutInput::statusHeight}});
  return in;
}

// A tree-cache file operation in a fresh folder whose working file holds the first argument
// ("-": no file): "append" or "remove" a line, "add" lines once through a loaded line set,
// "copy" the working file over a kept file holding the third argument. Answers the results,
// then every file left in the folder with what it holds.
std::string CacheFile(const Args& a) {
  const ScratchFolder dir;
  const std::string work = dir / "work.tmp", kept = dir / "host.tre";
  if (a[0] != "-") WriteFile(work, a[0]);
  Texts answer;
  if (a[1] == "append") answer.push_back(Numbers("", AppendTreeCacheLine(work, a[2])));
  if (a[1] == "remove") answer.push_back(Numbers("", RemoveTreeCacheLine(work, a[2])));
  if (a[1] == "copy") {
    if (a[2] != "-") WriteFile(kept, a[2]);
    answer.push_back(Numbers("", CopyTreeCacheFile(work, kept)));
  }
  if (a[1] == "add") {
    TreeCacheLineSet set;
    answer.push_back(Numbers("", set.Load(work)));
    for (const std::string& line : Rest(a, 2)) answer.push_back(Numbers("", set.AddIfMissing(work, line)));
  }
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files.insert(entry.path().filename().string() + "=" + ReadFile(entry.path()));
  return Join(answer, " ") + " | " + Join(Texts(files.begin(), files.end()), " ");
}

size_t SearchFromTheFront(const Texts& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (EqualNoCase(tc, names[i], name)) return i;
  return NameIndex::kNone;
}

// A key for NameIndex: the name folded as tc folds it.
std::string FoldedKey(const std::string& name) {
  std::string key = name;
  tc.upper(key);
  return key;
}

// The position NameIndex finds, checked against a search from the front.
std::string LookUp(const Texts& names, const std::string& name) {
  const size_t found = NameIndex(names, tc, FoldedKey).Find(name);
  const std::string text = found == NameIndex::kNone ? "none" : Numbers("", found);
  return found == SearchFromTheFront(names, name) ? text : text + " (a search from the front differs)";
}

std::string TreeText(const RemoteTreeNode& node) {
  Texts children;
  for (const RemoteTreeNode& c : node.children) children.push_back(TreeText(c));
  return node.text + (children.empty() ? "" : "(" + Join(children, " ") + ")");
}

const std::map<std::string, Routine> kRoutines = {
    // Listings (the clock is March 2024) and passive replies.
    {"Listing", [](const Args& a) { return Rows(a[0]); }},
    {"Hidden", [](const Args& a) {
       Texts hidden;
       ParseListing(a[0], ListingClock{2024, 3}, &hidden);
       return Join(hidden, "|");
     }},
    {"Lag", [](const Args& a) {
       Texts d = SplitOn(a[0], ' ');
       return RemoteDateText(EntryDate{Int(d[0]), Int(d[1]), Int(d[2]), Int(d[3]), Int(d[4])}, std::stoll(a[1]));
     }},
    {"LineDate", [](const Args& a) {
       ListedEntry e;
       return ParseListingLine(a[0], ListingClock{2024, 3}, e) ? RemoteDateText(e, std::stoll(a[1])) : "none";
     }},
    // "Receive only updated" on a listed entry: listing line, time lag, local Date text.
    {"ReceiveListed", [](const Args& a) {
       ListedEntry e;
       if (!ParseListingLine(a[0], ListingClock{2024, 3}, e)) return std::string("none");
       return Bool(ShouldReceiveFile(1, RemoteDateText(e, std::stoll(a[1])), true, a[2], tc));
     }},
    {"MlstFeature", [](const Args& a) {
       const MachineListingFeature f = ReadMachineListingFeature(a[0]);
       return f.usable ? Join({"yes", Bool(f.needsOpts), f.optsCommand}, "|") : "no";
     }},
    {"SafeName", [](const Args& a) { return Bool(IsSafeRemoteName(a[0])); }},
    // The port, then the host the reply names, if any.
    {"Epsv", [](const Args& a) {
       uint16_t port = 0;
       HostAddress named;
       if (!ParseEpsvReply(a[0], port, &named)) return std::string("no");
       return Numbers("", port) + (named.family ? " " + AddressText(named) : "");
     }},
    {"Pasv", [](const Args& a) {
       unsigned char h[4] = {};
       uint16_t port = 0;
       return ParsePasvReply(a[0], h, port) ? Numbers(".", h[0], h[1], h[2], h[3]) + ":" + Numbers("", port) : "no";
     }},
    // Server certificates and the Security setting.
    {"Certificate", [](const Args& a) {
       const char* verdicts[] = {"accept", "ask", "ask-changed"};
       return std::string(verdicts[JudgeCertificate(a[0] == "trusted", a[1], a[2])]);
     }},
    {"Fingerprint", [](const Args& a) {
       std::string digest;
       for (size_t i = 0; i + 1 < a[0].size(); i += 2) digest += static_cast<char>(std::stoi(a[0].substr(i, 2), nullptr, 16));
       const std::string text = FingerprintText(reinterpret_cast<const unsigned char*>(digest.data()), digest.size());
       return text.empty() ? "none" : text + " " + FingerprintForDisplay(text);
     }},
    {"CertificateKey", [](const Args& a) { return CertificateKey(a[0], Int(a[1])); }},
    {"Security", [](const Args& a) { return Numbers("", ValidSecurity(Int(a[0]))); }},
    {"SecurityPort", [](const Args& a) { return Numbers("", PortForSecurity(Int(a[0]), Int(a[1]))); }},
    // Per-file rules, with the default options changed as the arguments say.
    {"ExtensionKey", [](const Args& a) { return ExtensionKey(a[0]); }},
    {"In1252", [](const Args& a) { return InCodePage(1252, kRoutines, a); }},
    {"Match", [](const Args& a) { return Bool(MatchExtensionList(a[0], a[1], tc, a.size() > 2 ? Int(a[2]) : kTypeKeyLimit)); }},
    {"Classify", [](const Args& a) {
       OptionsRecord o;
       if (a.size() > 2) o.AsciiType += a[2];
       const char* names[] = {"folder", "ascii", "binary", "other", "parent"};
       return std::string(names[ClassifyEntry(std::stoul(a[0], nullptr, 16), a[1], o, tc)]);
     }},
    {"Mode", [](const Args& a) {
       OptionsRecord o;
       o.Auto = Int(a[2]);
       return Numbers("", ChooseTransferMode(a[0], Int(a[1]), o, tc));
     }},
    {"NameCase", [](const Args& a) {
       OptionsRecord o;
       o.CapitalMode = Int(a[1]);
       std::string name = a[0];
       return ApplyNameCase(name, o, tc);
     }},
    {"Newer", [](const Args& a) { return Bool(IsNewerDateText(a[0], a[1], tc)); }},
    {"Send", [](const Args& a) { return Bool(ShouldSendFile(Int(a[0]), a[1], a[2], a[3] == "1", a[4], a[5], tc)); }},
    {"Receive", [](const Args& a) { return Bool(ShouldReceiveFile(Int(a[0]), a[1], a[2] == "1", a[3], tc)); }},
    {"Permission", [](const Args& a) {
       OptionsRecord o;
       if (a.size() > 1) o.ChmodType2 += a[1];
       return Numbers("", FindPermissionRule(a[0], o, tc));
     }},
    // "Only updated" lookups: names (split at "/"), the name looked for; the position found.
    {"Lookup", [](const Args& a) { return LookUp(SplitOn(a[0], '/'), a[1]); }},
    // TYPE on change: steps A or I (a file in that mode; the server says 200 to any TYPE), or
    // "COMMAND=reply" ('_' for blanks, an empty reply for a broken connection). For each
    // file the TYPE sent ("-" for none), "." for the other steps.
    {"Types", [](const Args& a) {
       TransferTypeMemory memory;
       Texts sent;
       for (std::string step : SplitOn(a[0], ' ')) {
         if (step == "A" || step == "I") {
           const std::string command = memory.CommandFor(step == "A" ? 1 : 2);
           sent.push_back(command.empty() ? "-" : command.substr(5, 1));
           if (!command.empty()) memory.NoteExchange(command, "200 ok");
           continue;
         }
         std::replace(step.begin(), step.end(), '_', ' ');
         const size_t equals = step.find('=');
         memory.NoteExchange(step.substr(0, equals) + "\r\n", step.substr(equals + 1));
         sent.push_back(".");
       }
       return Join(sent, " ");
     }},
    // Job rules.
    {"PlainName", [](const Args& a) { return Bool(IsPlainEntryName(a[0])); }},
    {"ChildPath", [](const Args& a) { return RemoteChildPath(a[0], a[1]); }},
    {"DropLocal", [](const Args& a) {
       return Bool(DropIsOnLocalPane(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]), Int(a[5])));
     }},
    {"UploadOption", [](const Args& a) {
       const char* o = UploadConversionOption(Int(a[0]), a[1] == "1");
       return std::string(o ? o : "none");
     }},
    {"Gone", [](const Args& a) {
       Texts gone;
       bool keptByCase = false;
       for (size_t i : RemoteNamesWithoutCounterpart(SplitOn(a[0], '/'), a[1].empty() ? Texts{} : SplitOn(a[1], '/'),
                                                     tc, &keptByCase))
         gone.push_back(Numbers("", i));
       if (keptByCase) gone.push_back("case");
       return Join(gone, " ");
     }},
    {"Numbered", [](const Args& a) { return FormatWithNumber(a[0], Int(a[1])); }},
    {"PanesDelay", [](const Args& a) { return Numbers("", JobPanesDelay(std::stoul(a[0]), std::stoul(a[1]), std::stoul(a[2]))); }},
    // Tree cache lines and files, the remote tree, local and remote path texts.
    {"TreeLine", [](const Args& a) { return TreeCacheLineOf(a[0], a[1]); }},
    {"SplitTree", [](const Args& a) { return List(SplitTreeCacheText(a[0])); }},
    {"TreeFile", [](const Args& a) { return TreeCachePathOfHost(a[0], a[1]); }},
    {"CacheFile", CacheFile},
    {"Tree", [](const Args& a) { return TreeText(BuildRemoteTreeModel(a)); }},
    {"FindTree", [](const Args& a) { return List(FindRemoteTreePath(BuildRemoteTreeModel(Rest(a, 1)), a[0])); }},
    {"RemotePath", [](const Args& a) { return RemotePathOfTexts(a); }},
    {"SplitLocal", [](const Args& a) { return List(SplitLocalPath(a[0])); }},
    {"LocalPath", [](const Args& a) { return LocalPathOfTexts(a); }},
    {"FolderOf", [](const Args& a) { return FolderOfPath(a[0]); }},
    {"Drive", [](const Args& a) { return Bool(IsDriveComponent(a[0])); }},
    {"RenameTree", [](const Args& a) { return List(RenameTreeCacheDescendants(Rest(a, 2), a[0], a[1])); }},
    // The help F1 opens for a language, with these files beside the program in C:\Vako\.
    {"Help", [](const Args& a) {
       const std::set<std::string> files(a.begin() + 1, a.end());
       const HelpToOpen h = ChooseHelp("C:\\Vako\\", a[0], [&](const std::string& p) { return files.count(p) > 0; });
       return h.file + " in " + h.folder;
     }},
    // Row order: sort key command, descending, rows.
    {"Sort", [](const Args& a) {
       std::vector<RowTexts> rows;
       for (const std::string& text : Rest(a, 2)) rows.push_back(Row(text));
       SortRows(rows, Int(a[0]), a[1] == "1", tc);
       Texts names;
       for (const RowTexts& r : rows) names.push_back(r.column[0]);
       return Join(names, " ");
     }},
    {"Compare", [](const Args& a) {
       int c = CompareRows(Row(a[2]), Row(a[3]), Int(a[0]), a[1] == "1", tc);
       return Numbers("", c < 0 ? -1 : c > 0);
     }},
    // Menu and command states: which of the ids are grayed, their buttons, checks, gates.
    {"Grayed", [](const Args& a) {
       return EachId(a[1], [&](int id) { return ComputeMenuState(State(a[0])).Grayed(id) ? Numbers("", id) : ""; });
     }},
    {"Button", [](const Args& a) {
       const std::map<int, std::string> names = {{kButtonEnabled, "enabled"}, {kButtonPressed, "pressed"},
           {kButtonIndeterminate, "gray"}, {kButtonIndeterminatePressed, "gray-pressed"}};
       return EachId(a[1], [&](int id) { return names.at(ComputeMenuState(State(a[0])).Button(id)); });
     }},
    {"Radio", [](const Args& a) { return Numbers("", ComputeMenuState(State(a[0])).RadioChecked(Int(a[1]))); }},
    {"Checked", [](const Args& a) { return Bool(ComputeMenuState(State(a[0])).Checked(Int(a[1]))); }},
    {"Gate", [](const Args& a) {
       const char* names[] = {"runs", "refused", "unhandled", "favorite"};
       const MenuStateInput in = State(a[0]);
       const CommandState state{in.jobRunning, in.connected, in.activePane, in.archiveMode};
       return EachId(a[1], [&](int id) { return names[GateCommand(id, state)]; });
     }},
    {"Captions", [](const Args& a) {
       PaneCaptions c = ComputePaneCaptions(a[0], Int(a[1]), a[2], Int(a[3]), a[4], "[UNCONNECTED]");
       return c.local + " | " + c.remote;
     }},
    // Layout and split bars: layout, then the part, or bar and mouse position.
    {"Layout", [](const Args& a) {
       PaneLayout p = ComputeLayout(Layout(a[0]));
       const std::map<std::string, PaneRect PaneLayout::*> parts = {
           {"localLabel", &PaneLayout::localLabel}, {"localList", &PaneLayout::localList},
           {"localTree", &PaneLayout::localTree}, {"remoteLabel", &PaneLayout::remoteLabel},
           {"remoteList", &PaneLayout::remoteList}, {"remoteTree", &PaneLayout::remoteTree},
           {"status", &PaneLayout::statusBar}, {"progress", &PaneLayout::progressBar}};
       if (a[1] == "toolbar") return p.toolbarShown ? Rect(p.toolbar) : "hidden";
       return Rect(p.*parts.at(a[1]));
     }},
    {"Press", [](const Args& a) {
       SplitPress p = PressSplitBar(Layout(a[0]), Int(a[1]), Int(a[2]), std::stoul(a[3]));
       return Numbers(" ", p.bar, p.cursor) + " " + Rect(p.rect) + " " + Numbers("", p.activatePane);
     }},
    {"Move", [](const Args& a) { return Rect(MoveSplitBar(Layout(a[0]), SplitBarId(Int(a[1])), Int(a[2]), Int(a[3]))); }},
    {"Cursor", [](const Args& a) { return Numbers("", CursorForMove(Layout(a[0]), SplitBarId(Int(a[1])), Int(a[2]), Int(a[3]))); }},
    {"Release", [](const Args& a) {
       LayoutInput in = Layout(a[0]);
       ReleaseSplitBar(in, SplitBarId(Int(a[1])), Int(a[2]), Int(a[3]));
       return Numbers(" ", in.splitPos, in.splitPos2, in.tl, in.tr);
     }},
    {"Ink", [](const Args& a) {
       char ink[16];
       snprintf(ink, sizeof ink, "0x%06X", static_cast<unsigned>(ReadableInkOn(std::stoul(a[0], nullptr, 16))));
       return std::string(ink);
     }},
    // A saved window rectangle fitted to a work area, both as left,top,right,bottom.
    {"Fit", [](const Args& a) {
       auto placement = [](const std::string& text) {
         const Texts v = SplitOn(text, ',');
         return Placement{Int(v[0]), Int(v[1]), Int(v[2]), Int(v[3])};
       };
       const Placement p = FitPlacement(placement(a[0]), placement(a[1]));
       return Numbers(",", p.left, p.top, p.right, p.bottom);
     }},
    {"Center", [](const Args& a) {
       const Texts owner = SplitOn(a[0], ','), size = SplitOn(a[1], ','), work = SplitOn(a[2], ',');
       const Placement p = CenteredOnWindow({Int(owner[0]), Int(owner[1]), Int(owner[2]), Int(owner[3])},
                                            Int(size[0]), Int(size[1]), {Int(work[0]), Int(work[1]), Int(work[2]), Int(work[3])});
       return Numbers(",", p.left, p.top, p.right, p.bottom);
     }},
    {"Mouse", [](const Args& a) {
       MousePoint m = MousePointOfParam(std::stoul(a[0], nullptr, 16));
       return Numbers(",", m.x, m.y);
     }},
};

// A kept tree cache may come from anywhere: a 100 KB line of 50,000 levels is left out, a
// line deeper than the limit adds nothing, one at the limit is whole.
TEST(CoreRules, DeepTreeCacheLinesStayWithinLimits) {
  auto depth = [](const RemoteTreeNode& root) {
    size_t d = 0;
    for (const RemoteTreeNode* n = &root; !n->children.empty(); n = &n->children[0]) ++d;
    return d;
  };
  auto levels = [](size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += "a/";
    return s;
  };
  EXPECT_EQ(depth(BuildRemoteTreeModel(SplitTreeCacheText(levels(50000) + "\r\nb/\r\n"))), 1u);
  EXPECT_EQ(depth(BuildRemoteTreeModel({levels(kRemoteTreeDepthLimit + 1)})), 0u);
  EXPECT_EQ(depth(BuildRemoteTreeModel({levels(kRemoteTreeDepthLimit)})), kRemoteTreeDepthLimit);
}

// A folder of many names, with case twins and Shift-JIS names whose second byte is a
// letter: the index finds what a search from the front finds, for every name and for misses.
TEST(CoreRules, NameLookupOfAWholeFolder) {
  Texts names;
  for (int i = 0; i < 3000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, i % 3 ? "f%04d.txt" : "F%04d.TXT", i / 2);
    names.push_back(name);
    if (i % 7 == 0) names.push_back(std::string("\x83") + static_cast<char>('A' + i % 26) + name);
  }
  // By keys: the names folded as tc folds them.
  const NameIndex keyed(names, tc, FoldedKey);
  // Keys that tell too little still find what tc finds: every name under one key.
  const NameIndex oneKey(names, tc, [](const std::string&) { return std::string(); });
  // An index moved (as a level's lookup is) still finds through the names it holds.
  std::vector<NameIndex> moved;
  moved.push_back(NameIndex(names, tc, FoldedKey));
  moved.reserve(moved.capacity() + 1);
  for (const NameIndex* by : {&keyed, &oneKey, static_cast<const NameIndex*>(&moved[0])}) {
    for (const std::string& name : names) ASSERT_EQ(by->Find(name), SearchFromTheFront(names, name)) << name;
    for (const char* miss : {"f9999.txt", "", "\x83", "\x83" "a"}) EXPECT_EQ(by->Find(miss), NameIndex::kNone);
  }
}

TEST(CoreRules, Listings) { RunCases("core/data/listings.tsv", kRoutines); }
TEST(CoreRules, TransferAndJobRules) { RunCases("core/data/transfer_rules.tsv", kRoutines); }
TEST(CoreRules, TreeCacheAndPaths) { RunCases("core/data/tree_paths.tsv", kRoutines); }
TEST(CoreRules, RowsMenusAndCommands) { RunCases("core/data/rows_menus.tsv", kRoutines); }
TEST(CoreRules, LayoutAndSplitBars) { RunCases("core/data/layout.tsv", kRoutines); }
TEST(CoreRules, SecurityAndCertificates) { RunCases("core/data/security.tsv", kRoutines); }

}  // namespace
