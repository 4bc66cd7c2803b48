#include "ftp/server_names_win.h"

#include <windows.h>

#include <mutex>
#include <set>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "config/host_profile.h"
#include "ftp/control_connection_win.h"
#include "ftp/feature_list.h"
#include "ftp/data_connection_win.h"
#include "ftp/listing_parser.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/server_features_win.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"

bool ServerNamesAreUtf8 = false;

namespace {

// UTF-8 taken on the server's word alone (automatic choice): it holds until the first name
// that is not UTF-8.
bool Utf8OnlyAsListed = false;

std::mutex LossyLock;
std::set<std::string> LossyNames;  // names shown with a replacement mark

// Shown in place of a character the code page lacks: the geta mark where there is one.
std::string ReplacementMark() { return GetACP() == 932 ? "\x81\xac" : "_"; }

std::wstring Widen(UINT codePage, DWORD flags, const std::string& text, bool& ok) {
  ok = true;
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) {
    ok = false;
    return std::wstring();
  }
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

// Into the code page; characters it lacks (and U+FFFD, the mark of bytes that were not
// UTF-8) become the replacement mark.
std::string Narrow(const std::wstring& wide, bool& lossy) {
  lossy = false;
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, &usedDefault);
  if (n > 0 && !usedDefault && wide.find(L'\xFFFD') == std::wstring::npos) {
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), &out[0], n,
                        nullptr, nullptr);
    return out;
  }
  // Character by character (a surrogate pair is one character).
  std::string out;
  const std::string mark = ReplacementMark();
  for (size_t i = 0; i < wide.size();) {
    size_t length = (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) ? 2 : 1;
    char bytes[16];
    BOOL missing = FALSE;
    int got = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data() + i, static_cast<int>(length), bytes,
                                  sizeof bytes, nullptr, &missing);
    if (got <= 0 || missing || wide[i] == L'\xFFFD') {
      out += mark;
      lossy = true;
    } else {
      out.append(bytes, static_cast<size_t>(got));
    }
    i += length;
  }
  return out;
}

bool ListsUtf8(const std::string& featReply) { return FeatureListed(featReply, "UTF8"); }

std::string ConvertFromServer(const std::string& text, bool& lossy) {
  lossy = false;
  if (!ServerNamesAreUtf8) return text;
  bool ok = false;
  // Bytes that are not UTF-8 come out as U+FFFD and so are marked, never passed on raw.
  const std::wstring wide = Widen(CP_UTF8, 0, text, ok);
  if (!ok) return text.empty() ? text : ReplacementMark();
  return Narrow(wide, lossy);
}

bool IsUtf8(const std::string& text) {
  return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0) > 0;
}

// Servers that list UTF8 yet hand over the bytes their disk holds (pure-ftpd does, by
// default) give legacy names in the code page: from here on names are read and sent as
// its own bytes, and the protocol log says so once.
bool NamesTurnedOutNotUtf8(const std::string& text) {
  if (!Utf8OnlyAsListed || IsUtf8(text)) return false;
  ServerNamesAreUtf8 = false;
  Utf8OnlyAsListed = false;
  {
    std::lock_guard<std::mutex> hold(LossyLock);
    LossyNames.clear();
  }
  WriteProtocolLog(LoadResourceText(IDS_NAMES_NOT_UTF8), 1);
  return true;
}

}  // namespace

void ForgetServerNames() {
  ForgetServerFeatures();
  ServerNamesAreUtf8 = false;
  Utf8OnlyAsListed = false;
  std::lock_guard<std::mutex> hold(LossyLock);
  LossyNames.clear();
}

void NegotiateServerNames() {
  ServerNamesAreUtf8 = false;
  Utf8OnlyAsListed = false;
  const int choice = ValidNameEncoding(CurrentHost.NameEncoding);
  // FEAT is asked whatever the names: it also says whether the server gives machine listings
  // and can restart transfers.
  const bool answered = SendFormattedCommand("FEAT") && ReplyBuffer.compare(0, 3, "211") == 0;
  const std::string features = answered ? ReplyText : std::string();
  RememberServerFeatures(features);
  const bool listed = ListsUtf8(features);
  if (choice != kNamesCodePage && (listed || choice == kNamesUtf8)) {
    SendFormattedCommand("OPTS UTF8 ON");
    ServerNamesAreUtf8 = true;
    Utf8OnlyAsListed = choice == kNamesAutomatic;
  }
  ChooseMachineListing(features);
}

int ToServerName(const std::string& name, std::string& out) {
  if (!ServerNamesAreUtf8) {
    out = name;
    return 1;
  }
  bool refused = false;
  {
    std::lock_guard<std::mutex> hold(LossyLock);
    for (const std::string& lossy : LossyNames) {
      if (name.find(lossy) != std::string::npos) {
        refused = true;
        break;
      }
    }
  }
  bool ok = false;
  const std::wstring wide = refused ? std::wstring() : Widen(CP_ACP, MB_ERR_INVALID_CHARS, name, ok);
  if (refused || !ok) {
    ShowProgramMessageBox(FormatWithName(LoadResourceText(IDS_NAME_HAS_NO_LOCAL_FORM), name), VAKO_CAPTION,
                          MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  out.clear();
  if (wide.empty()) return 1;
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return 0;
  out.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return 1;
}

std::string FromServerText(const std::string& text, bool& lossy) {
  NamesTurnedOutNotUtf8(text);
  return ConvertFromServer(text, lossy);
}

bool ConvertListingFromServer(std::string& listing) {
  if (NamesTurnedOutNotUtf8(listing)) return false;
  if (!ServerNamesAreUtf8) return true;
  std::string out;
  out.reserve(listing.size());
  ListingClock clock;
  ListedEntry entry;
  size_t start = 0;
  while (start < listing.size()) {
    size_t end = listing.find_first_of("\r\n", start);
    if (end == std::string::npos) end = listing.size();
    bool lossy = false;
    const std::string line = ConvertFromServer(listing.substr(start, end - start), lossy);
    if (lossy && ParseListingLine(line, clock, entry)) {
      std::lock_guard<std::mutex> hold(LossyLock);
      LossyNames.insert(entry.entry.name);
    }
    out += line;
    if (end < listing.size()) out += listing[end];
    start = end + 1;
  }
  listing.swap(out);
  return true;
}
