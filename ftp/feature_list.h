// The server's FEAT reply: one feature a line, each line after the first starting with a
// blank (RFC 2389).
#pragma once
#include <string>
#include <vector>

// The feature lines of the reply, without their leading blanks and line ends ("MLST
// type*;size*;", "REST STREAM"). The first and last lines (the reply's own text) are left out.
std::vector<std::string> FeatureLines(const std::string& featReply);

// True when a feature line of the reply is the feature, letter case and surrounding
// blanks aside ("REST STREAM", "UTF8"). A feature named only in the first or last line
// (the reply's own text) does not count.
bool FeatureListed(const std::string& featReply, const std::string& feature);
