// The raw text of one folder listing.
#include <vector>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "config/host_profile.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/data_socket_win.h"
#include "ftp/listing_limit.h"
#include "ftp/reply_line.h"
#include "ftp/server_names_win.h"
#include "ftp/socket_wait_win.h"
#include "resources/resource_ids.h"

namespace {

// Waits for the next piece of a job's listing in slices of 100 ms, so that Stop is seen
// during a long listing too. False when Stop was pressed.
bool WaitUnlessStopped(SOCKET s, const WaitDeadline& deadline) {
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval slice{0, 100000};
    if (select(0, &readable, nullptr, nullptr, &slice) != 0) return true;  // recv tells what came
    if (StopRequested) return false;
    if (deadline.Left() == 0) return true;  // recv's own time limit answers
  }
}

}  // namespace

std::string ListingBuffer;
bool ListingWasCut = false;
uint64_t ListingLimit = kListingLimit;

int FetchListing() {
  ListingBuffer.clear();
  ListingWasCut = false;
  SocketHandle data;
  std::string command;
  FormatCommandLine(command, CurrentHost.List ? "NLST -alL" : "LIST");
  if (!OpenDataListener(command, 1, data)) return 0;

  // The window waits for the listing, so even a server that drips it slowly is given up
  // on in the end.
  WaitDeadline deadline(static_cast<DWORD>(NetworkTimeoutSeconds()) * 5000);
  // Large pieces whatever "ReceiveBuf" says: a listing shows no progress, and a folder of
  // 50,000 entries took thousands of receives in pieces of 1,024 bytes.
  std::vector<char> chunk(65536);
  uint64_t total = 0;
  bool complete = true;
  DWORD applied = static_cast<DWORD>(NetworkTimeoutSeconds()) * 1000;  // as the data connection came
  for (;;) {
    if (!LimitReceiveWait(data.s, deadline, applied)) {
      EndBrokenTransfer(data, true);
      return 0;
    }
    if (JobRunning && !WaitUnlessStopped(data.s, deadline)) {
      data.Close();
      AbortTransfer();
      return 0;
    }
    int got = recv(data.s, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (got == 0) break;
    if (got < 0) {
      EndBrokenTransfer(data, LastCallTimedOut());
      return 0;
    }
    if (!AppendListingPiece(ListingBuffer, total, chunk.data(), static_cast<size_t>(got), ListingLimit)) {
      ShowMessage(IDS_OUT_OF_MEMORY);
      ListingWasCut = true;
      complete = false;
      break;
    }
  }
  data.Close();
  // The final reply stays out of the protocol log and out of ReplyBuffer, unless it came
  // in place of the preliminary reply.
  std::string finalReply = FinalReplyReadEarly();
  if (finalReply.empty() && !ReadReplyQuietly(finalReply)) return 0;
  StripBeforeFirstDigit(finalReply);
  const bool confirmed = complete && ReplyIsPositive(finalReply);
  // Once only: after the names turned out not to be UTF-8 they are never converted again.
  if (!ConvertListingFromServer(ListingBuffer) && confirmed) return FetchListing();
  return confirmed ? 1 : 0;
}
