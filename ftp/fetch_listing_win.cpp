// The raw text of one folder listing.
#include <algorithm>
#include <vector>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/data_socket_win.h"
#include "ftp/listing_limit.h"
#include "ftp/reply_line.h"
#include "ftp/socket_wait_win.h"
#include "resources/resource_ids.h"

std::string ListingBuffer;

namespace {

// The final reply of a listing: read line by line like any reply but kept out of the
// protocol log and out of ReplyBuffer. 0 on a closed or silent connection (then closed).
int ReadListingFinalReply(std::string& line) {
  for (;;) {
    line.clear();
    char chunk[1024];
    bool complete = false;
    while (!complete) {
      if (!WaitReadable(ControlSocket)) {
        CloseControlConnection();
        return 0;
      }
      int peeked = recv(ControlSocket, chunk, sizeof chunk, MSG_PEEK);
      if (peeked <= 0) {
        if (peeked < 0) CloseControlConnection();
        return peeked == 0 ? 1 : 0;
      }
      int take = peeked;
      for (int i = 0; i < peeked; ++i) {
        if (chunk[i] == '\n') {
          take = i + 1;
          break;
        }
      }
      int got = recv(ControlSocket, chunk, take, 0);
      if (got <= 0) {
        if (got < 0) CloseControlConnection();
        return got == 0 ? 1 : 0;
      }
      if (line.size() < kReplyBufferSize - 1)
        line.append(chunk, std::min<size_t>(static_cast<size_t>(got), kReplyBufferSize - 1 - line.size()));
      complete = chunk[got - 1] == '\n';
    }
    if (!IsContinuationLine(line)) return 1;
  }
}

}  // namespace

int FetchListing() {
  ListingBuffer.clear();
  SocketHandle data;
  std::string command;
  FormatCommandLine(command, CurrentHost.List ? "NLST -alL" : "LIST");
  if (!OpenDataListener(command, 1, data)) return 0;

  std::vector<char> chunk(static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf)));
  uint64_t total = 0;
  bool complete = true;
  for (;;) {
    int got = recv(data.s, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (got == 0) break;
    if (got < 0) {
      EndBrokenTransfer(data, LastCallTimedOut());
      return 0;
    }
    if (!AppendListingPiece(ListingBuffer, total, chunk.data(), static_cast<size_t>(got))) {
      ShowMessage(IDS_OUT_OF_MEMORY);
      complete = false;
      break;
    }
  }
  data.Close();
  std::string finalReply;
  if (!ReadListingFinalReply(finalReply)) return 0;
  StripBeforeFirstDigit(finalReply);
  return complete && ReplyIsPositive(finalReply) ? 1 : 0;
}

