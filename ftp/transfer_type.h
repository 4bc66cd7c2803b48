// The representation type (TYPE A or TYPE I) a server is known to be in, so that a job of
// many files sends TYPE only when the mode changes: under Wine every command's round trip
// costs about as much as a small file's data.
#pragma once
#include <string>

class TransferTypeMemory {
 public:
  // The command line that puts the server in mode (1 ASCII "TYPE A", else binary
  // "TYPE I"), or an empty text when the server is known to be in it already.
  std::string CommandFor(int mode) const;
  // Learns from every command sent on the connection and its reply (the reply's first
  // character is its code's first digit; empty when none came): a TYPE A or TYPE I that
  // succeeded sets the type. Anything else that may change or reset it (another or a failed
  // TYPE, REIN, USER, ACCT, a missing reply) makes it unknown.
  void NoteExchange(const std::string& commandLine, const std::string& reply);
  // Unknown: a new control connection, or one that ended.
  void Forget() { known_ = 0; }
  // 'A', 'I', or 0 while unknown.
  char Known() const { return known_; }

 private:
  char known_ = 0;  // 'A', 'I' or 0 for unknown
};
