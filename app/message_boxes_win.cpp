#include "app/message_boxes_win.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/app_state_win.h"
#include "app/string_table_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

static std::atomic<MessageBoxObserver> Observer{nullptr};

void SetMessageBoxObserver(MessageBoxObserver observer) { Observer = observer; }

int ShowOwnedMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned style) {
  if (MessageBoxObserver observer = Observer.load()) return observer(text, caption, style);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

int ShowProgramMessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return ShowOwnedMessageBox(MainWindow, text, caption, style);
}

// The texts stay in locals rather than the shared ResourceTextBuffer: a job's thread and the
// main thread may show boxes at the same moment.
int ShowMessage(int id) {
  return ShowProgramMessageBox(LoadResourceText(id), VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}

int AskConfirmation(int index, const char* argument) {
  static const int kTexts[] = {IDS_ASK_DELETE_FILES,   IDS_ASK_SEND_DROPPED,  IDS_ASK_SEND_FOLDER,
                               IDS_ASK_MAKE_REMOTE_FOLDER, IDS_ASK_RECEIVE_FOLDER, IDS_ASK_DELETE_FOLDER,
                               IDS_ASK_STOP};
  if (Options.YesNo == 0) return IDYES;
  if (index < 0 || index >= static_cast<int>(sizeof kTexts / sizeof kTexts[0])) return IDNO;
  std::string format = LoadResourceText(kTexts[index]);
  char text[512];
  std::snprintf(text, sizeof text, format.c_str(), argument ? argument : "");
  return ShowProgramMessageBox(text, VAKO_CAPTION, MB_YESNO | MB_ICONQUESTION);
}

int ShowJobStopped() {
  if (Options.OK == 0) return 1;
  return ShowMessage(IDS_JOB_STOPPED);
}

int ShowCompletion(int index) {
  static const int kTexts[] = {IDS_COMPLETED_SEND, IDS_COMPLETED_RECEIVE, IDS_COMPLETED_DELETE};
  if (Options.OK == 0) return 1;
  if (index < 0 || index > 2) return 1;
  return ShowProgramMessageBox(LoadResourceText(kTexts[index]), VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}
