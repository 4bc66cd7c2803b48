// Active-mode data connections: a folder listing, one file from the server, one file to it.
// Each operation listens on a fresh port, announces it with PORT, sends the transfer command
// and, once the server has accepted that command, takes the server's connection.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ftp/listing_parser.h"

class FileIoHelper;

// Raw text of the last listing (at most ListingLimit bytes), filled by FetchListing.
extern std::string ListingBuffer;
// True when the last listing passed that limit: ListingBuffer keeps its first whole pieces.
extern bool ListingWasCut;
// kListingLimit; tests lower it to reach it without sending 64 MiB.
extern uint64_t ListingLimit;

// Lists the server's current folder into ListingBuffer: by MLSD when the server offers
// machine listings (and the host keeps the usual LIST), else "NLST -alL" when the host's
// List flag is set, else LIST. A server that refuses MLSD with a 5xx is listed by LIST at
// once and for the rest of the connection. 1 when the whole listing arrived and the server
// confirmed it. ParseListing reads either kind.
int FetchListing();

// After login, with the FEAT reply (empty when FEAT was refused): decides whether this
// connection lists by MLSD, turning the facts it reads on with OPTS MLST where needed.
void ChooseMachineListing(const std::string& featReply);

// True while this connection lists by MLSD.
extern bool MachineListingChosen;

// The local clock for parsing a listing, and the UTC to local time turn of machine
// listings, by the time zone's rule at each date.
ListingClock ListingClockNow();

// Receives remoteName into localPath in chunks of "ReceiveBuf" bytes; mode 1 is ASCII (TYPE A),
// anything else binary (TYPE I). size is the listed size, for the progress display and the
// size of the file blocks. The file is received beside localPath and replaces it only after
// the server confirmed the transfer; when it ends early an earlier file stays, and with none
// the partial file stays under localPath. 1 when the file arrived whole or the user stopped
// the transfer; 0 otherwise.
// listedDate, when given, is the file's date as listed: the file is then one that may go
// on from where it stopped. A binary download that ends early leaves what arrived as
// "<localPath>.vkpart" with its record (ftp/partial_record.h) instead, an earlier file of
// that name staying as it was; the next download of the same remote file (same path, size
// and listed date) sends REST and appends to it. A file of that partial name that the
// program did not leave is never continued nor replaced.
int RetrieveFile(const std::string& remoteName, const std::string& localPath, int mode, uint64_t size,
                 const std::string* listedDate = nullptr);

// Sends localPath as remoteName in chunks of "SendBuf" bytes, then applies the automatic
// permission rule. 1 when the file arrived whole or the user stopped; 0 otherwise (a local
// file that cannot be opened sends nothing at all; one that fails to read midway has its
// transfer aborted). The progress line names shownPath, or localPath when it is empty:
// a converted copy in the work folder is shown by its original's path.
// A binary upload that breaks or is stopped is recorded in the work folder; sending the
// same unchanged file to the same place again goes on with REST from the server's SIZE of
// it when the server's FEAT lists REST STREAM, and from the start otherwise.
int StoreFile(const std::string& localPath, const std::string& remoteName, int mode,
              const std::string& shownPath = std::string());

// True when the last RetrieveFile or StoreFile answered 1 because the user stopped it: the
// file did not arrive whole.
extern bool LastTransferWasStopped;
// True when the last RetrieveFile or StoreFile failed because its data connection broke
// or the server answered it with a 4xx (or not at all): another try may go through.
extern bool LastTransferBroke;

// A transfer job's frame, made when the job starts and ended with it: clears a Stop pressed
// while nothing ran, and keeps one file helper thread for all of the job's files.
// Transfers outside any job do both for themselves.
class TransferJobScope {
 public:
  TransferJobScope();
  ~TransferJobScope();
  TransferJobScope(const TransferJobScope&) = delete;
  TransferJobScope& operator=(const TransferJobScope&) = delete;

 private:
  std::unique_ptr<FileIoHelper> helper_;
};

// Telnet interrupt (IAC IP IAC as urgent data), DM, then ABOR; clears StopRequested. The
// control connection is brought back in step afterwards, or closed when that fails.
void AbortTransfer();
