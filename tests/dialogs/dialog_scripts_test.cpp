// Every dialog and property sheet opened as its command opens it and driven from its own
// message loop by the scripts of data/dialog_scripts.tsv: what each shows in the edition of
// the system (English, or Japanese under code page 932), what typing and pressing does, and
// what reaches the options, the host profile, the favorite file and the shared buffer; also
// the sheet a favorite file opens.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "app/app_state_win.h"
#include "config/about_dialog_win.h"
#include "config/add_favorite_dialog_win.h"
#include "config/change_permission_dialog_win.h"
#include "config/connect_dialog_win.h"
#include "config/favorite_host_file_win.h"
#include "config/favorites_win.h"
#include "config/goto_folder_dialog_win.h"
#include "config/host_profile.h"
#include "config/host_settings_sheet_win.h"
#include "config/options.h"
#include "config/options_sheet_win.h"
#include "config/password.h"
#include "dialog_driver_win.h"
#include "support/case_table.h"
#include "profile_keys_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

namespace {

// Control ids by name, as resources/resource_ids.h defines them; numbers stand for themselves.
int ControlId(const std::string& name) {
  static std::map<std::string, int> ids = [] {
    std::map<std::string, int> found{{"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}};
    std::string define, key;
    for (const std::string& line : SplitOn(ReadTestFile("../resources/resource_ids.h"), '\n')) {
      std::istringstream words(line);
      int value;
      if (words >> define >> key >> value && define == "#define") found[key] = value;
    }
    return found;
  }();
  if (ids.count(name)) return ids[name];
  EXPECT_TRUE(isdigit(static_cast<unsigned char>(name[0]))) << "no control " << name;
  return std::stoi(name, nullptr, 0);
}

// A cell's text in the code page: "{N*s}" stands for s repeated N times.
std::string Value(const std::string& cell) {
  std::string text = cell;
  for (size_t open; (open = text.find('{')) != std::string::npos;) {
    const size_t star = text.find('*', open), close = text.find('}', open);
    std::string repeated;
    for (int n = std::stoi(text.substr(open + 1, star - open - 1)); n > 0; --n)
      repeated += text.substr(star + 1, close - star - 1);
    text.replace(open, close - open + 1, repeated);
  }
  return InCodePage(text.c_str());
}

// A file's text written on one line: "|" ends each line.
std::string Lines(const std::string& cell) { return case_table::Join(SplitOn(cell, '|'), "\r\n"); }

class DialogScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(sizeof savedFolder_, savedFolder_);
    SetCurrentDirectoryA(folder_.path().c_str());  // a bare ".tre" would land here
    ProgramFolder = folder_.path();                 // no unlha32.dll there
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedFolder_);
    ProgramFolder.clear();
    CurrentFavoritePath.clear();
  }

  void Reset() {
    Options = OptionsRecord();
    Options.EMail = "guest@example.net";
    CurrentHost = HostProfile();
    const std::string profile = folder_.path() + "profile.ini";
    WriteWholeFile(profile, Lines("[Vako]|HostName=Work|HostAddr=ftp.example.org|UserID=alice|UserPass=" +
                                  ScramblePassword("secret") + "|InitialLocalFolder=C:\\sites|InitialRemoteFolder=/pub|"
                                  "TimeLag=-60|iPort=2121|List=1|ProxyServer=proxy.example.org|ProxyUser=puser|"
                                  "ProxyPass=ppass|ProxyPort=8021|ProxyType=2|"));
    ReadFavoriteFile(profile, CurrentHost);
    favorite_ = folder_.path() + "Work.BOK";
    WriteWholeFile(favorite_, "[Vako]\r\nComment=kept\r\n");  // a key no page shows
    CurrentFavoritePath = favorite_;
    CurrentLocalFolder = "C:\\local";
    CurrentRemoteFolder = "/pub/incoming";
    SharedNameBuffer = "untouched";
    boxesBefore_ = boxes_.boxes().size();
  }

  // What a name of the scripts reads now: an option by its key, "host.X", "file.KEY" and
  // "file-keys" of the favorite file, "exists.NAME" beside it, "favorite" (the current
  // favorite file's name), "buffer", "boxes" and "box" (the last box's text).
  std::string Read(const std::string& name) {
    const std::map<std::string, std::function<std::string()>> others = {
        {"buffer", [] { return SharedNameBuffer; }},
        {"boxes", [&] { return std::to_string(boxes_.boxes().size() - boxesBefore_); }},
        {"box", [&] { return boxes_.boxes().size() > boxesBefore_ ? boxes_.boxes().back().text : "<none>"; }},
        {"file-keys", [&] {
           std::string names;
           for (const auto& key : ProfileKeys(favorite_)) names += (names.empty() ? "" : " ") + key.first;
           return names;
         }},
        {"favorite", [&] { return CurrentFavoritePath.substr(CurrentFavoritePath.rfind('\\') + 1); }},
        {"host.HostName", [] { return CurrentHost.HostName; }},
        {"host.HostAddr", [] { return CurrentHost.HostAddr; }},
        {"host.UserPass", [] { return CurrentHost.UserPass; }},
        {"host.InitialLocalFolder", [] { return CurrentHost.InitialLocalFolder; }},
        {"host.TimeLag", [] { return std::to_string(CurrentHost.TimeLag); }},
        {"host.Port", [] { return std::to_string(CurrentHost.Port); }},
        {"host.Proxy", [] { return std::to_string(CurrentHost.Proxy.Proxy); }},
        {"host.NameEncoding", [] { return std::to_string(CurrentHost.NameEncoding); }},
        {"host.Security", [] { return std::to_string(CurrentHost.Security); }},
    };
    if (others.count(name)) return others.at(name)();
    if (name.rfind("file.", 0) == 0) {
      auto keys = ProfileKeys(favorite_);
      return keys.count(name.substr(5)) ? keys[name.substr(5)] : "<none>";
    }
    if (name.find(".BOK:") != std::string::npos) {  // a key of another favorite file beside it
      auto keys = ProfileKeys(folder_.path() + name.substr(0, name.find(':')));
      const std::string key = name.substr(name.find(':') + 1);
      return keys.count(key) ? keys[key] : "<none>";
    }
    if (name.rfind("exists.", 0) == 0) return FileExists(folder_.path() + name.substr(7)) ? "1" : "0";
    const SettingKey* key = FindSettingKey(name.c_str());
    if (!key) {
      ADD_FAILURE() << "nothing named " << name;
      return "";
    }
    return key->kind == SettingKey::Text ? Options.*key->text : std::to_string(Options.*key->integer);
  }

  // One step inside the dialog; `target` is the dialog or the sheet page shown.
  void Step(HWND dialog, HWND& target, const Case& s) {
    const std::string& op = s[2];
    auto arg = [&](size_t i) { return i + 3 < s.size() ? Value(s[i + 3]) : std::string(); };
    auto id = [&](size_t i) { return ControlId(s.at(i + 3)); };
    if (op == "page") target = ShowPage(dialog, std::stoi(s.at(3)));
    else if (op == "caption") EXPECT_EQ(Text(dialog), arg(0));
    else if (op == "tabs") EXPECT_EQ(case_table::Join(TabTitles(dialog), " "), arg(0));
    else if (op == "shows") EXPECT_NE(FindChildWithText(target, arg(0)), nullptr) << arg(0);
    else if (op == "field") EXPECT_EQ(ItemText(target, id(0)), arg(1)) << s[3];
    else if (op == "type") SetDlgItemTextA(target, id(0), arg(1).c_str());
    else if (op == "key-in") {  // through the edit control, so that its limit applies
      SendDlgItemMessageA(target, id(0), EM_SETSEL, 0, -1);
      SendDlgItemMessageA(target, id(0), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(arg(1).c_str()));
    } else if (op == "check") CheckDlgButton(target, id(0), arg(1) == "1" ? BST_CHECKED : BST_UNCHECKED);
    else if (op == "radio") CheckRadioButton(target, id(0), id(1), id(2));
    else if (op == "press") Click(target, id(0));
    else if (op == "state") EXPECT_EQ(State(GetDlgItem(target, id(0)), arg(1)), arg(2)) << s[3] << " " << s[4];
    else if (op == "is-open") EXPECT_EQ(IsOpen(dialog), arg(0) == "1");
    else if (op == "centred") {
      RECT m, r;
      GetWindowRect(main_.handle(), &m);
      GetWindowRect(dialog, &r);
      EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
      EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
    } else if (op == "expect") EXPECT_EQ(Read(s.at(3)), arg(1)) << s[3];
    else ADD_FAILURE() << "no step " << op;
  }

  static std::string State(HWND control, const std::string& what) {
    if (!control) return "<no control>";
    if (what == "checked") return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    if (what == "enabled") return IsWindowEnabled(control) ? "1" : "0";
    if (what == "visible") return IsWindowVisible(control) ? "1" : "0";
    if (what == "password") return GetWindowLongA(control, GWL_STYLE) & ES_PASSWORD ? "1" : "0";
    if (what == "limit") return std::to_string(SendMessageA(control, EM_GETLIMITTEXT, 0, 0));
    return "<no state " + what + ">";
  }

  // Runs one case: steps before "open" set things up, the steps up to "close" run in the
  // dialog, the rest check what it left.
  void Run(const std::string& name, const std::vector<Case>& steps) {
    SCOPED_TRACE(name);
    Reset();
    size_t at = 0;
    for (; at < steps.size() && steps[at][2] != "open"; ++at) {
      const Case& s = steps[at];
      if (s[2] == "option") {
        const SettingKey* key = FindSettingKey(s.at(3).c_str());
        ASSERT_NE(key, nullptr) << s[3];
        if (key->kind == SettingKey::Text) Options.*key->text = Value(s.at(4));
        else Options.*key->integer = std::stoi(s.at(4));
      } else if (s[2] == "host" && s.at(3) == "Security") CurrentHost.Security = std::stoi(s.at(4));
      else if (s[2] == "host" && s.at(3) == "Port") CurrentHost.Port = std::stoi(s.at(4));
      else if (s[2] == "no-favorite") CurrentFavoritePath.clear();
      else if (s[2] == "make-file") WriteWholeFile(folder_.path() + s.at(3), "./\r\n");
      else if (s[2] == "favorite-file") WriteWholeFile(folder_.path() + "Other.BOK", Lines(Value(s.at(3))));
      else ADD_FAILURE() << "no set-up step " << s[2];
    }
    ASSERT_LT(at, steps.size()) << "no open step";
    const std::string what = steps[at][3], answer = steps[at].at(4);
    const size_t first = ++at;
    while (at < steps.size() && steps[at][2] != "close") ++at;
    ASSERT_LT(at, steps.size()) << "no close step";
    const OptionsRecord before = Options;
    const std::string file = ReadWholeFile(favorite_);
    INT_PTR result = -1;
    {
      DialogDriver driver({[&](HWND dialog) {
        HWND target = dialog;
        for (size_t i = first; i < at; ++i) Step(dialog, target, steps[i]);
        Click(dialog, ControlId(steps[at].at(3)));
      }});
      const std::map<std::string, std::function<INT_PTR()>> openers = {
          {"connect", [] { return ShowConnectDialog(); }},
          {"goto-local", [] { return ShowGoToFolderDialog(0); }},
          {"goto-remote", [] { return ShowGoToFolderDialog(1); }},
          {"about", [] { return ShowAboutDialog(), INT_PTR{0}; }},
          {"permission", [&] { return ShowChangePermissionDialog(main_.handle()); }},
          {"add-favorite", [] { return ShowAddFavoriteDialog(); }},
          {"add-favorites", [] { return AddFavorite(), INT_PTR{0}; }},  // the command: dialog and file
          {"options", [] { return ShowOptionsSheet(); }},
          {"host", [] { return ShowHostSettingsSheet(); }},
          {"favorite", [&] { return INT_PTR{ConnectFromFavorite((folder_.path() + "Other.BOK").c_str())}; }},
      };
      ASSERT_TRUE(openers.count(what)) << what;
      result = openers.at(what)();
    }
    EXPECT_EQ(std::to_string(result), answer);
    HWND none = nullptr;
    for (++at; at < steps.size(); ++at) {
      const Case& s = steps[at];
      if (s[2] == "unchanged") {  // every option but those named, as before the sheet
        const std::string named = " " + (s.size() > 3 ? s[3] : "") + " ";
        for (const SettingKey& k : SettingKeys()) {
          if (named.find(" " + std::string(k.key) + " ") != std::string::npos) continue;
          EXPECT_TRUE(k.kind == SettingKey::Text ? Options.*k.text == before.*k.text
                                                 : Options.*k.integer == before.*k.integer) << k.key;
        }
      } else if (s[2] == "file-unchanged") EXPECT_EQ(ReadWholeFile(favorite_), file);
      else Step(nullptr, none, s);
    }
  }

  char savedFolder_[MAX_PATH] = "";
  TempFolder folder_;
  std::string favorite_;
  StandInMainWindow main_{-60, 50, 801, 501};  // partly off the screen, odd sizes
  MessageBoxRecorder boxes_;
  size_t boxesBefore_ = 0;
};

TEST_F(DialogScripts, EveryCaseOfTheTable) {
  const std::string edition = GetACP() == 932 ? "ja" : "en";
  std::vector<std::pair<std::string, std::vector<Case>>> cases;
  for (const Case& row : ReadCases("dialogs/data/dialog_scripts.tsv", false)) {
    ASSERT_GE(row.size(), 3u);
    if (row[1] != "*" && row[1] != edition) continue;
    if (cases.empty() || cases.back().first != row[0]) cases.push_back({row[0], {}});
    cases.back().second.push_back(row);
  }
  EXPECT_GT(cases.size(), 10u);
  for (const auto& [name, steps] : cases) Run(name, steps);
}

}  // namespace
