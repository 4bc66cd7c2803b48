// What the dialogs do with typed text, without a window system.
#include <gtest/gtest.h>

#include "config/connect_fields.h"
#include "config/dialog_text.h"
#include "config/host_sheet_keys.h"
#include "config/sheet_fields.h"
#include "support/case_table.h"
#include "resources/resource_ids.h"

TEST(FitFieldText, KeepsCapacityMinusOneBytesWithoutSplittingACharacter) {
  const std::vector<Case> rows = ReadCases("dialogs/data/fitted_texts.tsv");
  for (const Case& row : rows) EXPECT_EQ(FitFieldText(row.at(0), std::stoul(row.at(1))), row.at(2)) << row[0] << " " << row[1];
  EXPECT_GT(rows.size(), 5u);
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

TEST(SheetNumberFields, ANumberFieldThatIsNotANumberReadsAsZeroAndTheTimeLagStaysWithin359Minutes) {
  const std::vector<Case> rows = ReadCases("dialogs/data/number_fields.tsv");
  for (const Case& row : rows) {
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(ParseSignedField(row[0]), std::stoll(row[1])) << "\"" << row[0] << "\"";
    EXPECT_EQ(ParseUnsignedField(row[0]), std::stoll(row[2])) << "\"" << row[0] << "\"";
  }
  EXPECT_GT(rows.size(), 10u);
  for (auto [typed, kept] : {std::pair{400, 359}, {359, 359}, {358, 358}, {-359, -359}, {-360, -359}, {-400, -359}})
    EXPECT_EQ(ClampOptionsTimeLag(typed), kept) << typed;
}

TEST(HostSheetKeys, EachPageWritesItsOwnKeysAsTheFavoriteFileHoldsThem) {
  HostProfile host;
  host.HostName = " spaced ";
  host.UserPass = "ab";
  host.TimeLag = -60;
  host.Port = 2121;
  host.List = 1;
  host.Proxy.ProxyPass = "plain";
  host.Proxy.ProxyType = 3;
  ProfileEntries basic = BasicPageEntries(host);
  ASSERT_EQ(basic.size(), 6u);
  EXPECT_EQ(basic[0], (std::pair<std::string, std::string>{"HostName", "\" spaced \""}));
  EXPECT_EQ(basic[3], (std::pair<std::string, std::string>{"UserPass", "cb"}));  // reversed, each byte + 1
  EXPECT_EQ(DetailsPageEntries(host), (ProfileEntries{{"TimeLag", "-60"}, {"iPort", "2121"}, {"List", "1"}}));
  ProfileEntries proxy = ProxyPageEntries(host.Proxy, 1);
  ASSERT_EQ(proxy.size(), 7u);
  EXPECT_EQ(proxy[4], (std::pair<std::string, std::string>{"ProxyPass", "plain"}));
  EXPECT_EQ(proxy[5], (std::pair<std::string, std::string>{"ProxyType", "3"}));
  EXPECT_EQ(proxy[6], (std::pair<std::string, std::string>{"Pasv", "1"}));
}
