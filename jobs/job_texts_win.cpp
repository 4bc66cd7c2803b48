#include "jobs/job_texts_win.h"

#include <map>

#include "app/string_table_win.h"
#include "ftp/transfer_job_frame_win.h"

namespace {
// Touched on the job's thread alone.
std::map<int, std::string> JobTexts;
void ForgetJobTexts() { JobTexts.clear(); }
}  // namespace

std::string JobResourceText(int id) {
  if (!InTransferJob()) return LoadResourceText(id);
  auto found = JobTexts.find(id);
  if (found != JobTexts.end()) return found->second;
  if (JobTexts.empty()) AtTransferJobEnd(ForgetJobTexts);
  return JobTexts[id] = LoadResourceText(id);
}
