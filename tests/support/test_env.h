// What tests/support/with-servers hands a test through the environment.
#pragma once
#include <cstdlib>
#include <string>

namespace testenv {

inline std::string Get(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

inline int Port(const char* name) { return std::atoi(Get(name).c_str()); }

// Port of a scripted-server scenario from VAKO_SCRIPTED_PORTS ("name=port,name=port").
inline int ScriptedPort(const std::string& scenario) {
  std::string all = "," + Get("VAKO_SCRIPTED_PORTS") + ",";
  size_t at = all.find("," + scenario + "=");
  if (at == std::string::npos) return 0;
  return std::atoi(all.c_str() + at + scenario.size() + 2);
}

// A Unix path as a Windows program under Wine sees it (drive Z: is the Unix root).
inline std::string WinePath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

}  // namespace testenv
