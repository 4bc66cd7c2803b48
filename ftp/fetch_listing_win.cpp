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
#include "ftp/mlsd_listing.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/server_names_win.h"
#include "ftp/socket_wait_win.h"
#include "resources/resource_ids.h"

std::string ListingBuffer;
bool ListingWasCut = false;
uint64_t ListingLimit = kListingLimit;
bool MachineListingChosen = false;

namespace {

// The zone of the listing being read, taken once for it: asked for every entry, the
// system looks its zone up again each time (under Wine 9 microseconds an entry).
thread_local TIME_ZONE_INFORMATION ListingZone;

void UtcToLocalTime(EntryDate& date) {
  if (date.year < 1601 || date.year > 30827) return;
  SYSTEMTIME utc{};
  utc.wYear = static_cast<WORD>(date.year);
  utc.wMonth = static_cast<WORD>(date.month);
  utc.wDay = static_cast<WORD>(date.day);
  utc.wHour = static_cast<WORD>(date.hour);
  utc.wMinute = static_cast<WORD>(date.minute);
  SYSTEMTIME local;
  if (!SystemTimeToTzSpecificLocalTime(&ListingZone, &utc, &local)) return;
  date.year = local.wYear;
  date.month = local.wMonth;
  date.day = local.wDay;
  date.hour = local.wHour;
  date.minute = local.wMinute;
}

}  // namespace

ListingClock ListingClockNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  ListingClock clock;
  clock.year = now.wYear;
  clock.month = now.wMonth;
  GetTimeZoneInformation(&ListingZone);
  clock.toLocalTime = UtcToLocalTime;
  return clock;
}

void ChooseMachineListing(const std::string& featReply) {
  const MachineListingFeature feature = ReadMachineListingFeature(featReply);
  MachineListingChosen = feature.usable;
  if (!feature.usable || feature.optsCommand.empty()) return;
  const bool accepted = SendFormattedCommand(feature.optsCommand.c_str()) && ReplyIsPositive(ReplyBuffer);
  if (feature.needsOpts && !accepted) MachineListingChosen = false;
}

int FetchListing() {
  ListingBuffer.clear();
  ListingWasCut = false;
  SocketHandle data;
  std::string command;
  const bool machine = MachineListingChosen && !CurrentHost.List;
  FormatCommandLine(command, machine ? "MLSD" : CurrentHost.List ? "NLST -alL" : "LIST");
  if (!OpenDataListener(command, 1, data)) {
    // Offered in FEAT yet refused: this connection lists the old way from now on.
    if (machine && CommandBuffer == command && ReplyBuffer.compare(0, 1, "5") == 0 && !ConnectionWasLost()) {
      MachineListingChosen = false;
      return FetchListing();
    }
    return 0;
  }

  // The window waits for the listing, so even a server that drips it slowly is given up
  // on in the end.
  WaitDeadline deadline(static_cast<DWORD>(NetworkTimeoutSeconds()) * 5000);
  // Large pieces whatever "ReceiveBuf" says: a listing shows no progress, and a folder of
  // 50,000 entries took thousands of receives in pieces of 1,024 bytes.
  std::vector<char> chunk(65536);
  uint64_t total = 0;
  bool complete = true;
  for (;;) {
    // The window's own listing is never stopped: its thread is the one that would take
    // the click.
    int got = ReceiveDataUnlessStopped(data, chunk.data(), static_cast<int>(chunk.size()), deadline, JobRunning != 0);
    if (got == -2) {  // Stop
      data.Close();
      AbortTransfer();
      return 0;
    }
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
