// What the dialogs do with typed text, without a window system.
#include <gtest/gtest.h>

#include "config/connect_fields.h"
#include "config/dialog_text.h"
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
