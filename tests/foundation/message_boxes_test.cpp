// Confirmations and completion messages: their texts, styles and when they show at all.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/message_boxes_win.h"
#include "config/options.h"
#include "support/message_box_recorder_win.h"

TEST(MessageBoxes, TextsStylesAndWhenTheyShow) {
  MessageBoxRecorder boxes(IDNO);
  Options.YesNo = 1;
  EXPECT_EQ(AskConfirmation(3, "/pub/x"), IDNO);
  AskConfirmation(2, "100%s%n");
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text, "There is no remote folder /pub/x.Could you make a new folder?");
  EXPECT_EQ(boxes.boxes()[0].caption, "Vako FTP");
  EXPECT_EQ(boxes.boxes()[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(boxes.boxes()[1].text, "Are you sure to send all files in folder 100%s%n ?");
  // Switched off, they answer Yes without a box.
  Options.YesNo = 0;
  EXPECT_EQ(AskConfirmation(6, ""), IDYES);
  EXPECT_EQ(boxes.boxes().size(), 2u);
  Options.YesNo = 1;
  // Completion messages only when asked for.
  Options.OK = 0;
  EXPECT_EQ(ShowCompletion(1), 1);
  Options.OK = 1;
  ShowCompletion(2);
  ShowMessage(20);
  ASSERT_EQ(boxes.boxes().size(), 4u);
  EXPECT_EQ(boxes.boxes()[2].text, "Completed to delete");
  EXPECT_EQ(boxes.boxes()[3].text, "An unknown error has occured");
  EXPECT_EQ(boxes.boxes()[3].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
}
