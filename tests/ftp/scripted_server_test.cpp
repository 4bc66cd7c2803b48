// The engine against the scripted server, for what real servers do not do: odd login
// replies, a proxy, refused, broken and stalled transfers, the abort bytes, passive replies
// not to be believed, a listing past the cap. Not repeated here: the reply reader's own
// cases (the control connection's tests), a server ending the session (the browsing
// end-to-end tests), a stranger on the data port and data connections that never come (the
// hostile end-to-end suite).
#include <cstdio>
#include <string>

#include "engine_fixture_win.h"
#include "ftp/listing_limit.h"
#include "ftp/partial_files_win.h"
#include "ftp/partial_record.h"

namespace {

// Time-limit cases wait for the limit; keep it short here.
[[maybe_unused]] const int kShortTimeLimit = _putenv("VAKO_NET_TIMEOUT=3");

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Pattern(size_t count) {
  std::string p(count, '\0');
  for (size_t i = 0; i < count; ++i) p[i] = static_cast<char>(i % 251);
  return p;
}

using ScriptedServerTest = EngineTest;

// Free text and an indented code inside multi-line replies: the login is judged on its real
// last line, and a server that does not know FEAT is asked nothing more.
TEST_F(ScriptedServerTest, OddLoginsAndTheProxy) {
  ASSERT_EQ(LoginTo("multilinelogin"), 1);
  EXPECT_NE(Log().find("PASS ********\r\n230 Logged in\r\nFEAT\r\n500 Unknown command\r\nCWD ./\r\n250 "),
            std::string::npos)
      << Log();
  ExpectInStep("/", "sub");
  Disconnect();

  EXPECT_EQ(LoginTo("user230pass503"), 0);  // PASS is sent and judged even after USER's 230
  EXPECT_NE(Log().find("PASS ********\r\n503"), std::string::npos);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0].substr(0, BoxTexts()[0].find("\r\n")), "Failed to login.Invalid Password.");
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);

  CurrentHost.Proxy.Proxy = 1;
  CurrentHost.Proxy.ProxyServer = "127.0.0.1";
  CurrentHost.Proxy.ProxyPort = testenv::ScriptedPort("proxycheck");
  CurrentHost.Proxy.ProxyUser = "proxy-only-user";  // carried, never sent
  CurrentHost.HostAddr = "real.host.example";       // never looked up by us
  CurrentHost.UserID = "anna";
  CurrentHost.UserPass = "secret";
  ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  EXPECT_NE(Log().find("USER anna@real.host.example\r\n331"), std::string::npos);
  EXPECT_EQ(Log().find("proxy-only-user"), std::string::npos);
}

// RETR and STOR refused: the local file stays as it was, nothing is shown, and the next
// command gets its own reply. (150 then 425, and a data port never connected, are the
// hostile end-to-end suite's.)
TEST_F(ScriptedServerTest, RefusedTransfersKeepTheSessionInStep) {
  ASSERT_EQ(LoginTo("refuseretr"), 1);
  WriteWholeFile(Local("old.txt"), "old contents");
  EXPECT_EQ(RetrieveFile("old.txt", Local("old.txt"), 2, 100), 0);
  EXPECT_EQ(ReadWholeFile(Local("old.txt")), "old contents");
  EXPECT_EQ(StoreFile(Local("old.txt"), "up.txt", 2), 0);
  EXPECT_NE(Log().find("RETR old.txt\r\n550"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("ABOR"), std::string::npos) << Log();
  EXPECT_TRUE(BoxTexts().empty());
  ExpectInStep("/", "sub");
}

// Cut short or stalled: with no earlier file the partial one stays under the real name; an
// earlier file of that name is kept as it was.
TEST_F(ScriptedServerTest, TransfersCutShortOrStalledAreFailures) {
  ASSERT_EQ(LoginTo("midclose"), 1);
  EXPECT_EQ(RetrieveFile("file.bin", Local("cut.bin"), 2, 10000), 0);
  EXPECT_TRUE(ReadWholeFile(Local("cut.bin")) == Pattern(5000));
  WriteWholeFile(Local("good.bin"), "the good earlier file");
  EXPECT_EQ(RetrieveFile("file.bin", Local("good.bin"), 2, 10000), 0);
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_EQ(ListingBuffer, "-rw-r--r-- 1 u g 10 Jan 01 2020 partial.txt\r\n");
  ExpectInStep("/", "sub");
  Disconnect();

  ASSERT_EQ(LoginTo("stall"), 1);
  EXPECT_EQ(RetrieveFile("file.bin", Local("good.bin"), 2, 10000), 0);
  EXPECT_EQ(ReadWholeFile(Local("good.bin")), "the good earlier file");
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"cut.bin", "good.bin"}));
  // Both the transfer's 426 and the ABOR's 226 are read before the next command's reply.
  EXPECT_NE(Log().find("ABOR\r\n426 Transfer aborted\r\nPWD\r\n226 ABOR successful\r\n257"), std::string::npos)
      << Log();
  ExpectInStep("/", "sub");
  // A listing that stalls the same way is given up on too, and aborted.
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_NE(Log().find("LIST\r\n150 Opening data connection\r\nABOR\r\n426 Transfer aborted\r\nPWD\r\n"),
            std::string::npos)
      << Log();
  ExpectInStep("/", "sub");
  // So is an upload to a server that stops reading: more than the sockets hold between
  // them goes out only as far as they hold, and the send waits out the time limit.
  WriteWholeFile(Local("big.bin"), Pattern(48 << 20));
  EXPECT_EQ(StoreFile(Local("big.bin"), "big.bin", 2), 0);
  EXPECT_NE(Log().find("STOR big.bin\r\n150 Opening data connection\r\nABOR\r\n426 Transfer aborted\r\n"),
            std::string::npos)
      << Log();
  ExpectInStep("/", "sub");
}

// 226 confirms only as much as came: a binary file shorter than listed is a failure, and
// an earlier file stays. Without a listed size, or in ASCII mode (line ends may change),
// what came is taken.
TEST_F(ScriptedServerTest, BinaryFileShorterThanListedIsAFailure) {
  ASSERT_EQ(LoginTo("shortclose"), 1);
  WriteWholeFile(Local("good.bin"), "the good earlier file");
  EXPECT_EQ(RetrieveFile("file.bin", Local("good.bin"), 2, 10000), 0);
  EXPECT_TRUE(ReadWholeFile(Local("good.bin")) == "the good earlier file");
  EXPECT_EQ(RetrieveFile("file.bin", Local("new.bin"), 2, 10000), 0);
  EXPECT_TRUE(ReadWholeFile(Local("new.bin")) == Pattern(5000));
  EXPECT_EQ(RetrieveFile("file.bin", Local("text.txt"), 1, 10000), 1);
  EXPECT_EQ(RetrieveFile("file.bin", Local("unlisted.bin"), 2, 0), 1);
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"good.bin", "new.bin", "text.txt", "unlisted.bin"}));
  EXPECT_TRUE(BoxTexts().empty());
  ExpectInStep("/", "sub");
}

// A server that sends no 150: the final reply read in its place ends the transfer, with
// the data that came before it (RETR) or comes after it (LIST). Active and passive.
TEST_F(ScriptedServerTest, FinalReplyInPlaceOfThePreliminaryOneEndsTheTransfer) {
  for (int pasv : {0, 1}) {
    ASSERT_EQ(LoginTo("no150", pasv), 1);
    ASSERT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 1);
    EXPECT_TRUE(ReadWholeFile(Local("p.bin")) == Pattern(3000));
    ASSERT_EQ(FetchListing(), 1);
    EXPECT_EQ(ListingBuffer, "-rw-r--r-- 1 u g 3000 Jan 01 2020 p.bin\r\n");
    ExpectInStep("/", "sub");
    Disconnect();
  }
  EXPECT_EQ(Log().find("ABOR"), std::string::npos) << Log();
}

TEST_F(ScriptedServerTest, StopSendsTheAbortSequenceAsUrgentData) {
  ASSERT_EQ(LoginTo("abortcheck"), 1);
  StopAt(3);
  ASSERT_EQ(RetrieveFile("stream.bin", Local("stream.bin"), 2, 10 * 1024 * 1024), 1);
  const std::string part = ReadWholeFile(Local("stream.bin"));
  EXPECT_GT(part.size(), 0u);
  EXPECT_TRUE(part == Pattern(part.size()));
  EXPECT_NE(Log().find("\r\n426 Transfer aborted\r\nPWD\r\n226 ABOR sequence ok\r\n257"), std::string::npos)
      << Log();
  ExpectInStep("/", "sub");
}

// Pieces of at most 65,536 bytes: the one that passed the cap was dropped. The cap is
// lowered so the test need not send 64 MiB. The same over a passive connection.
TEST_F(ScriptedServerTest, ListingIsCappedAtWholePieces) {
  for (int pasv : {0, 1}) {
    ASSERT_EQ(LoginTo("hugelisting", pasv), 1);
    ListingLimit = 1280000;
    EXPECT_EQ(FetchListing(), 0);
    ListingLimit = kListingLimit;
    EXPECT_TRUE(ListingWasCut);
    EXPECT_EQ(BoxTexts().back(), "Out of Memory");
    EXPECT_LE(ListingBuffer.size(), 1280000u);
    EXPECT_GT(ListingBuffer.size(), 1280000u - 65536u);
    std::string expected;
    for (int i = 0; expected.size() < ListingBuffer.size(); ++i) {
      char line[64];
      std::snprintf(line, sizeof line, "-rw-r--r-- 1 user group 1234 Jan 01 2020 file%07d.txt\r\n", i);
      expected += line;
    }
    EXPECT_TRUE(expected.compare(0, ListingBuffer.size(), ListingBuffer) == 0);
    ExpectInStep("/", "sub");
    Disconnect();
  }
  EXPECT_NE(Log().find("EPSV\r\n229"), std::string::npos);
}

// EPSV refused: PASV from then on for this connection. PASV names 127.0.0.9, which is not
// the server: the data connection goes to the server's own address, and the log says so.
TEST_F(ScriptedServerTest, AnotherHostInPasvIsNotBelieved) {
  ASSERT_EQ(LoginTo("pasvforeign", 1), 1);
  ASSERT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 1);
  EXPECT_TRUE(ReadWholeFile(Local("p.bin")) == Pattern(3000));
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_EQ(ListingBuffer, "-rw-r--r-- 1 u g 3000 Jan 01 2020 p.bin\r\n");
  const std::string log = Log();
  EXPECT_NE(log.find("EPSV\r\n500"), std::string::npos) << log;
  EXPECT_EQ(Count(log, "EPSV"), 1u) << log;
  EXPECT_EQ(Count(log, "(PASV named 127.0.0.9; connecting to 127.0.0.1 instead)\r\n"), 2u) << log;
  Disconnect();
  ASSERT_EQ(LoginTo("pasvforeign", 1), 1);  // a new connection asks for EPSV again
  ASSERT_EQ(RetrieveFile("p.bin", Local("p2.bin"), 2, 3000), 1);
  EXPECT_EQ(Count(Log(), "EPSV"), 2u);
}

// An EPSV reply that names a host (127.0.0.9, not the server): only its port is taken; the
// data connection goes to the server's own address, and the log says so.
TEST_F(ScriptedServerTest, AnotherHostInEpsvIsNotBelieved) {
  ASSERT_EQ(LoginTo("epsvforeign", 1), 1);
  ASSERT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 1);
  EXPECT_TRUE(ReadWholeFile(Local("p.bin")) == Pattern(3000));
  const std::string log = Log();
  EXPECT_NE(log.find("(EPSV named 127.0.0.9:"), std::string::npos) << log;
  EXPECT_NE(log.find("; connecting to 127.0.0.1:"), std::string::npos) << log;
  EXPECT_EQ(log.find("PASV"), std::string::npos) << log;
}

// Passive replies that give no address, and a port nobody listens on: the transfer fails
// before its command is sent, and the next command gets its own reply.
TEST_F(ScriptedServerTest, UnusablePassiveRepliesFailTheTransfer) {
  for (const char* scenario : {"pasvgarbled", "epsvdeadport"}) {
    SCOPED_TRACE(scenario);
    DeleteFileA(LogPath.c_str());
    ASSERT_EQ(LoginTo(scenario, 1), 1);
    EXPECT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 0);
    EXPECT_EQ(FetchListing(), 0);
    EXPECT_EQ(Log().find("RETR"), std::string::npos) << Log();
    EXPECT_EQ(Log().find("LIST"), std::string::npos) << Log();
    EXPECT_TRUE(LocalNames().empty());
    ExpectInStep("/", "sub");
    Disconnect();
  }
}

// A download that breaks leaves its partial file and record beside the target, an earlier
// file staying as it was; the next download of the same listed file sends REST and appends
// byte-exact. A server that refuses REST sends the whole file instead.
TEST_F(ScriptedServerTest, BrokenDownloadGoesOnFromWhereItStopped) {
  const std::string date = "Jan 01 2020";
  ASSERT_EQ(LoginTo("restart"), 1);
  WriteWholeFile(Local("cut.bin"), "the good earlier file");
  EXPECT_EQ(RetrieveFile("cut.bin", Local("cut.bin"), 2, 10000, &date), 0);
  EXPECT_EQ(ReadWholeFile(Local("cut.bin")), "the good earlier file");
  EXPECT_TRUE(ReadWholeFile(Local("cut.bin.vkpart")) == Pattern(5000));
  EXPECT_NE(ReadWholeFile(Local("cut.bin.vkpart.txt")).find("remote=/cut.bin\r\nsize=10000\r\ndate=Jan 01 2020\r\n"),
            std::string::npos);
  // Another listed date is another file: downloaded whole, from no offset.
  const std::string otherDate = "Feb 02 2020";
  EXPECT_EQ(RetrieveFile("cut.bin", Local("cut.bin"), 2, 10000, &otherDate), 0);
  EXPECT_EQ(Count(Log(), "REST "), 0u);
  ASSERT_EQ(RetrieveFile("cut.bin", Local("cut.bin"), 2, 10000, &otherDate), 1);
  EXPECT_NE(Log().find("REST 5000\r\n350"), std::string::npos) << Log();
  EXPECT_TRUE(ReadWholeFile(Local("cut.bin")) == Pattern(10000));
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"cut.bin"});
  Disconnect();

  ASSERT_EQ(LoginTo("norest", 1), 1);
  WriteWholeFile(Local("cut.bin.vkpart"), Pattern(3000));
  WriteWholeFile(Local("cut.bin.vkpart.txt"), FormatPartialRecord({PartialServerName(), "/cut.bin", 10000, date, ""}));
  ASSERT_EQ(RetrieveFile("cut.bin", Local("cut.bin"), 2, 10000, &date), 1);
  EXPECT_NE(Log().find("REST 3000\r\n502"), std::string::npos) << Log();
  EXPECT_TRUE(ReadWholeFile(Local("cut.bin")) == Pattern(10000));
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"cut.bin"});
  EXPECT_TRUE(BoxTexts().empty());
}

// Past 4 GiB: a partial of 5,000,000,000 bytes (sparse, made by the test) goes on with
// REST 5000000000 and gets the last 10 bytes in place; the upload of that file goes on the
// same way.
TEST_F(ScriptedServerTest, ResumeOffsetsPastFourGigabytes) {
  const std::string date = "Mar 03 2021";
  const uint64_t offset = 5000000000ull, listed = offset + 10;
  ASSERT_EQ(LoginTo("restart"), 1);
  {
    HANDLE h = CreateFileA(Local("big.iso.vkpart").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    EXPECT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
  }
  WriteWholeFile(Local("big.iso.vkpart.txt"), FormatPartialRecord({PartialServerName(), "/big.iso", listed, date, ""}));
  ASSERT_EQ(RetrieveFile("big.iso", Local("big.iso"), 2, listed, &date), 1);
  EXPECT_NE(Log().find("REST 5000000000\r\n350"), std::string::npos) << Log();
  HANDLE h = CreateFileA(Local("big.iso").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size{}, at;
  GetFileSizeEx(h, &size);
  at.QuadPart = static_cast<LONGLONG>(offset);
  SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
  char tail[16] = {};
  DWORD got = 0;
  ReadFile(h, tail, sizeof tail, &got, nullptr);
  CloseHandle(h);
  EXPECT_EQ(static_cast<uint64_t>(size.QuadPart), listed);
  std::string expected(10, '\0');
  for (size_t i = 0; i < 10; ++i) expected[i] = static_cast<char>((offset + i) % 251);
  EXPECT_TRUE(std::string(tail, got) == expected);
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"big.iso"});

  // Sent back, as an upload the program left: SIZE says how much the server holds, and
  // only the last 10 bytes go, after REST.
  uint64_t localSize = 0;
  std::string localTime;
  ASSERT_TRUE(LocalFileFacts(Local("big.iso"), localSize, localTime));
  const PartialRecord upload{PartialServerName(), "/big.iso", localSize, localTime, Local("big.iso")};
  WriteWholeFile(WorkFolder + UploadRecordName(upload.server, upload.remotePath), FormatPartialRecord(upload));
  ASSERT_EQ(StoreFile(Local("big.iso"), "big.iso", 2), 1);
  EXPECT_NE(Log().find("SIZE big.iso\r\n213 5000000000\r\n"), std::string::npos) << Log();
  EXPECT_NE(Log().find("REST 5000000000\r\n350"), std::string::npos) << Log();
  EXPECT_NE(Log().find("226 Stored 10 bytes from 5000000000\r\n"), std::string::npos) << Log();
  EXPECT_FALSE(FileExists(WorkFolder + UploadRecordName(upload.server, upload.remotePath)));
  Disconnect();

  // A server whose FEAT does not list REST STREAM gets the whole file, from the start.
  const size_t rests = Count(Log(), "REST ");
  ASSERT_EQ(LoginTo("sink"), 1);
  WriteWholeFile(Local("small.bin"), Pattern(3000));
  ASSERT_TRUE(LocalFileFacts(Local("small.bin"), localSize, localTime));
  const PartialRecord small{PartialServerName(), "/small.bin", localSize, localTime, Local("small.bin")};
  WriteWholeFile(WorkFolder + UploadRecordName(small.server, small.remotePath), FormatPartialRecord(small));
  ASSERT_EQ(StoreFile(Local("small.bin"), "small.bin", 2), 1);
  EXPECT_EQ(Log().find("SIZE small.bin"), std::string::npos) << Log();
  EXPECT_EQ(Count(Log(), "REST "), rests) << Log();
  DeleteFileA(Local("big.iso").c_str());
}

}  // namespace
