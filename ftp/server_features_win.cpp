#include "ftp/server_features_win.h"

#include "app/app_state_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/feature_list.h"
#include "ftp/remote_commands_win.h"

namespace {

bool Asked = false;
std::string Features;

}  // namespace

void RememberServerFeatures(const std::string& featReply) {
  Asked = true;
  Features = featReply;
}

void ForgetServerFeatures() {
  Asked = false;
  Features.clear();
}

bool ServerRestartsStreams() {
  if (!Asked) {
    const bool listed = SendFormattedCommand("FEAT") && ReplyBuffer.compare(0, 3, "211") == 0;
    RememberServerFeatures(listed ? ReplyText : std::string());
  }
  return FeatureListed(Features, "REST STREAM");
}
