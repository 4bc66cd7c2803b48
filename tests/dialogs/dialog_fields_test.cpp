// What the dialogs do with typed text, without a window system.
#include <gtest/gtest.h>

#include "config/connect_fields.h"
#include "config/dialog_text.h"
#include "config/host_sheet_keys.h"
#include "config/sheet_fields.h"
#include "support/case_table.h"
#include "resources/resource_ids.h"

// Texts fitted to their capacities, number fields and the time lag's bounds (a table).
TEST(SheetFields, EveryCaseOfTheTable) {
  using case_table::Args;
  case_table::RunCases("dialogs/data/field_rules.tsv",
                       {{"fit", [](const Args& a) { return FitFieldText(a[0], std::stoul(a[1])); }},
                        {"number", [](const Args& a) {
                          return case_table::Numbers(" ", ParseSignedField(a[0]), ParseUnsignedField(a[0]));
                        }},
                        {"clamp", [](const Args& a) { return std::to_string(ClampOptionsTimeLag(std::stoi(a[0]))); }}});
}

// The Connect dialog's checks: address, login name, password, each stopping at its message
// with the fields before it kept; an empty host name allowed; texts cut to their capacities.
TEST(ConnectFields, EachMissingFieldStopsAtItsMessageKeepingTheFieldsBeforeIt) {
  OptionsRecord options;
  options.HostName = "old name";
  options.UserPass = "oldpass";
  options.SavePass = 1;
  ConnectFields typed{"", "", "", "", 0};
  EXPECT_EQ(ApplyConnectFields(typed, options), IDS_TYPE_HOST_ADDRESS);
  typed.hostAddr = "new.example";
  EXPECT_EQ(ApplyConnectFields(typed, options), IDS_TYPE_LOGIN_NAME);
  EXPECT_EQ(options.HostAddr, "new.example");
  typed.userId = "newuser";
  EXPECT_EQ(ApplyConnectFields(typed, options), IDS_TYPE_LOGIN_PASSWORD);
  EXPECT_EQ(options.UserID, "newuser");
  EXPECT_EQ(options.UserPass + options.HostName + std::to_string(options.SavePass), "oldpassold name1");
  typed.userPass = std::string(400, 'p');
  typed.hostAddr = std::string(400, 'a');
  EXPECT_EQ(ApplyConnectFields(typed, options), 0);
  EXPECT_EQ(options.HostName, "");
  EXPECT_EQ(options.SavePass, 0);
  EXPECT_EQ(options.HostAddr.size(), 127u);
  EXPECT_EQ(options.UserPass.size(), 127u);
}

// The Security chosen in Connect is stored; only a change of it moves the usual port along.
TEST(ConnectFields, SecurityIsStoredAndAChangeMovesTheUsualPort) {
  OptionsRecord options;
  ConnectFields typed{"", "host", "user", "pass", 1, kSecurityImplicitTls};
  const std::vector<std::pair<int, int>> steps = {  // security typed, port before
      {kSecurityImplicitTls, 21}, {kSecurityImplicitTls, 21}, {kSecurityExplicitTls, 990}, {7, 2121}, {2, 2121}};
  std::string seen;
  for (const auto& [security, port] : steps) {
    typed.security = security;
    options.Port = port;
    EXPECT_EQ(ApplyConnectFields(typed, options), 0);
    seen += std::to_string(options.Security) + "/" + std::to_string(options.Port) + " ";
  }
  EXPECT_EQ(seen, "2/990 2/21 1/21 0/2121 2/2121 ");
}

TEST(HostSheetKeys, EachPageWritesItsOwnKeysAsTheFavoriteFileHoldsThem) {
  HostProfile host;
  host.HostName = " spaced ";
  host.UserPass = "ab";
  host.TimeLag = -60;
  host.Port = 2121;
  host.List = 1;
  host.NameEncoding = kNamesCodePage;
  host.Proxy.ProxyPass = "plain";
  host.Proxy.ProxyType = 3;
  ProfileEntries basic = BasicPageEntries(host);
  ASSERT_EQ(basic.size(), 6u);
  EXPECT_EQ(basic[0], (std::pair<std::string, std::string>{"HostName", "\" spaced \""}));
  EXPECT_EQ(basic[3], (std::pair<std::string, std::string>{"UserPass", "cb"}));  // reversed, each byte + 1
  EXPECT_EQ(DetailsPageEntries(host),
            (ProfileEntries{{"TimeLag", "-60"}, {"iPort", "2121"}, {"List", "1"}, {"NameEncoding", "2"}, {"Security", "0"}}));
  ProfileEntries proxy = ProxyPageEntries(host.Proxy, 1);
  ASSERT_EQ(proxy.size(), 8u);
  // The proxy password as the login password is kept; the older key holds it no longer.
  EXPECT_EQ(proxy[4], (std::pair<std::string, std::string>{"ScrambledProxyPass", "ojbmq"}));
  EXPECT_EQ(proxy[5], (std::pair<std::string, std::string>{"ProxyPass", ""}));
  EXPECT_EQ(proxy[6], (std::pair<std::string, std::string>{"ProxyType", "3"}));
  EXPECT_EQ(proxy[7], (std::pair<std::string, std::string>{"Pasv", "1"}));
}
