// What the dialogs do with typed text, without a window system.
#include <gtest/gtest.h>

#include "config/connect_fields.h"
#include "config/dialog_text.h"
#include "config/host_sheet_keys.h"
#include "config/sheet_fields.h"
#include "resources/resource_ids.h"

TEST(FitFieldText, KeepsCapacityMinusOneBytesWithoutSplittingACharacter) {
  EXPECT_EQ(FitFieldText("abcdef", 4), "abc");
  EXPECT_EQ(FitFieldText("abc", 4), "abc");
  EXPECT_EQ(FitFieldText("abc", 1), "");
  EXPECT_EQ(FitFieldText("abc", 0), "");
  const std::string hyo = "\x95\x5c";  // a two-byte character whose second byte is a backslash
  EXPECT_EQ(FitFieldText("a" + hyo + hyo, 5), "a" + hyo);       // room 4: 'a', one character, not half
  EXPECT_EQ(FitFieldText("a" + hyo + hyo, 6), "a" + hyo + hyo);
  EXPECT_EQ(FitFieldText(hyo + "\xb1" + hyo, 4), hyo + "\xb1");  // half-width kana is one byte
  // a lone lead byte at the very end is kept as one byte (it is all there is)
  EXPECT_EQ(FitFieldText("ab\x82", 10), "ab\x82");
}

class ConnectFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.HostName = "old name";
    options.HostAddr = "old.example";
    options.UserID = "olduser";
    options.UserPass = "oldpass";
    options.SavePass = 1;
    typed.hostName = "New";
    typed.hostAddr = "new.example";
    typed.userId = "newuser";
    typed.userPass = "newpass";
    typed.savePass = 0;
  }
  OptionsRecord options;
  ConnectFields typed;
};

TEST_F(ConnectFieldsTest, EachMissingFieldStopsAtItsMessageKeepingTheFieldsBeforeIt) {
  ConnectFields t = typed;
  t.hostAddr = "";
  t.userId = "";
  EXPECT_EQ(ApplyConnectFields(t, options), IDS_TYPE_HOST_ADDRESS);
  EXPECT_EQ(options.HostAddr, "old.example");
  EXPECT_EQ(options.UserID, "olduser");

  t.hostAddr = "new.example";
  EXPECT_EQ(ApplyConnectFields(t, options), IDS_TYPE_LOGIN_NAME);
  EXPECT_EQ(options.HostAddr, "new.example");
  EXPECT_EQ(options.UserID, "olduser");

  t.userId = "newuser";
  t.userPass = "";
  EXPECT_EQ(ApplyConnectFields(t, options), IDS_TYPE_LOGIN_PASSWORD);
  EXPECT_EQ(options.UserID, "newuser");
  EXPECT_EQ(options.UserPass, "oldpass");
  EXPECT_EQ(options.HostName, "old name");
  EXPECT_EQ(options.SavePass, 1);
}

TEST_F(ConnectFieldsTest, AllPresentStoresEverythingAnEmptyHostNameIncluded) {
  typed.hostName = "";
  EXPECT_EQ(ApplyConnectFields(typed, options), 0);
  EXPECT_EQ(options.HostName, "");
  EXPECT_EQ(options.HostAddr, "new.example");
  EXPECT_EQ(options.UserID, "newuser");
  EXPECT_EQ(options.UserPass, "newpass");
  EXPECT_EQ(options.SavePass, 0);
  typed.savePass = 1;
  EXPECT_EQ(ApplyConnectFields(typed, options), 0);
  EXPECT_EQ(options.SavePass, 1);
}

TEST_F(ConnectFieldsTest, TextsAreCutToTheCapacitiesOfTheirKeys) {
  typed.hostName = std::string(400, 'n');
  typed.hostAddr = std::string(400, 'a');
  typed.userId = std::string(400, 'u');
  typed.userPass = std::string(400, 'p');
  EXPECT_EQ(ApplyConnectFields(typed, options), 0);
  EXPECT_EQ(options.HostName.size(), 255u);
  EXPECT_EQ(options.HostAddr.size(), 127u);
  EXPECT_EQ(options.UserID.size(), 127u);
  EXPECT_EQ(options.UserPass.size(), 127u);
}

TEST(SheetNumberFields, ANumberFieldThatIsNotANumberReadsAsZero) {
  EXPECT_EQ(ParseSignedField("-400"), -400);
  EXPECT_EQ(ParseSignedField(" +12 "), 12);
  EXPECT_EQ(ParseUnsignedField("65536"), 65536);
  EXPECT_EQ(ParseSignedField("2147483647"), 2147483647);
  EXPECT_EQ(ParseSignedField("-2147483648"), -2147483647 - 1);
  for (const char* text : {"", " ", "-", "12a", "1 2", "0x10", "2147483648", "99999999999999999999"})
    EXPECT_EQ(ParseSignedField(text), 0) << text;
  EXPECT_EQ(ParseUnsignedField("-5"), 0);  // an unsigned field takes no sign
  EXPECT_EQ(ParseUnsignedField("+5"), 0);
}

TEST(SheetNumberFields, OptionsTimeLagStaysWithin359MinutesEitherWay) {
  EXPECT_EQ(ClampOptionsTimeLag(400), 359);
  EXPECT_EQ(ClampOptionsTimeLag(359), 359);
  EXPECT_EQ(ClampOptionsTimeLag(358), 358);
  EXPECT_EQ(ClampOptionsTimeLag(-359), -359);
  EXPECT_EQ(ClampOptionsTimeLag(-360), -359);
  EXPECT_EQ(ClampOptionsTimeLag(-400), -359);
}

TEST(HostSheetKeys, EachPageWritesItsOwnKeysAsTheFavoriteFileHoldsThem) {
  HostProfile host;
  host.HostName = " spaced ";
  host.HostAddr = "ftp.example.org";
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
  EXPECT_EQ(DetailsPageEntries(host),
            (ProfileEntries{{"TimeLag", "-60"}, {"iPort", "2121"}, {"List", "1"}}));
  ProfileEntries proxy = ProxyPageEntries(host.Proxy, 1);
  ASSERT_EQ(proxy.size(), 7u);
  EXPECT_EQ(proxy[4], (std::pair<std::string, std::string>{"ProxyPass", "plain"}));
  EXPECT_EQ(proxy[5], (std::pair<std::string, std::string>{"ProxyType", "3"}));
  EXPECT_EQ(proxy[6], (std::pair<std::string, std::string>{"Pasv", "1"}));
}
