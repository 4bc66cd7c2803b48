#include "ftp/pwd_reply.h"

int ExtractPwdPath(const std::string& reply, size_t capacity, std::string& path) {
  if (reply.size() <= 5) return 0;
  size_t close = reply.find('"', 5);
  if (close == std::string::npos) return 0;
  size_t keep = close - 5;
  if (capacity == 0) keep = 0;
  else if (keep > capacity - 1) keep = capacity - 1;
  path.assign(reply, 5, keep);
  return 1;
}
