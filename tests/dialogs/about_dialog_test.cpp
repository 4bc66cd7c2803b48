#include <gtest/gtest.h>

#include "config/about_dialog_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"

TEST(AboutDialog, ShowsTheProgramIconAndLineCentredAndClosesOnOk) {
  StandInMainWindow main(-60, 50, 801, 501);  // left of the screen edge, odd sizes
  bool ran = false;
  {
    DialogDriver driver({[&](HWND d) {
      ran = true;
      EXPECT_EQ(Text(d), "About Vako FTP");
      EXPECT_NE(FindChildWithText(d, "FTP Client Profram VakoFTP v2.06 for Windows95/NT"), nullptr);
      HWND icon = FindWindowExA(d, nullptr, "Static", nullptr);
      bool hasIcon = false;
      for (; icon; icon = FindWindowExA(d, icon, "Static", nullptr))
        hasIcon |= SendMessageA(icon, STM_GETICON, 0, 0) != 0;
      EXPECT_TRUE(hasIcon);
      RECT m, r;
      GetWindowRect(main.handle(), &m);
      GetWindowRect(d, &r);
      EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
      EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
      SaveScreenshot(d, "dialog-about-en");
      Click(d, IDOK);
    }});
    ShowAboutDialog();
  }
  EXPECT_TRUE(ran);
}
