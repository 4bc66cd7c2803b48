// Progress arithmetic of a file transfer, in 64-bit sizes so files past 2 and 4 GiB
// show a correct bar and correct byte counts.
#pragma once
#include <cstdint>
#include <string>

// The progress bar moves one position per step bytes: size / 100 (0 for files under
// 100 bytes, which then show no progress at all).
inline uint64_t ProgressStep(uint64_t size) { return size / 100; }

// done / step as a bar position. A file that grew on the server beyond its listed size
// goes past 100; the value is held within the range of an int.
int ProgressPosition(uint64_t done, uint64_t step);

// The format text with its first "%s" replaced by name ("%%" gives "%"). The format is a
// string-table text; the name is never read as a format.
std::string FormatWithName(const std::string& format, const std::string& name);
// The same for the first "%<conversion>" ("%d" of the provisional names of new entries).
std::string FormatWithValue(const std::string& format, char conversion, const std::string& value);

// "<text> (<done>/<size> Byte)", the status line of a running transfer.
std::string FormatProgressLine(const std::string& text, uint64_t done, uint64_t size);

// Counts one transfer's bytes and says when the display is due: on retrieve the bar and
// the text change only when the position changes, on store after every chunk.
struct TransferProgress {
  uint64_t size = 0;
  uint64_t step = 0;
  uint64_t done = 0;
  int lastPosition = 0;

  explicit TransferProgress(uint64_t fileSize) : size(fileSize), step(ProgressStep(fileSize)) {}

  // Adds count bytes; true when the position differs from the one last shown (and
  // remembers it). Always false for a file under 100 bytes.
  bool AddAndCheckPosition(uint64_t count);
};
