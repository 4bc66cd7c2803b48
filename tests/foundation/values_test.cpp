// Start-up and connection values, case by case from tests/foundation/data/values.tsv: the
// command line, reply lines, stored settings values and the Shift-JIS character scan.
#include "support/code_page_cases.h"

#include "app/command_line.h"
#include "config/options.h"
#include "config/password.h"
#include "config/profile_value.h"
#include "ftp/reply_line.h"
#include "text/path_text.h"
#include "text/sjis.h"

namespace {

using namespace case_table;

std::string Position(size_t at) { return at == std::string::npos ? "none" : Numbers("", at); }

const std::map<std::string, Routine> kRoutines = {
    {"CommandLine", [](const Args& a) { return List(SplitCommandLine(a[0].c_str())); }},
    {"Positive", [](const Args& a) { return Numbers("", ReplyIsPositive(a[0])); }},
    {"Strip", [](const Args& a) {
       std::string line = a[0];
       StripBeforeFirstDigit(line);
       return line;
     }},
    // How many of the lines it takes to end the reply (0: not ended).
    {"ReplyEnd", [](const Args& a) {
       ReplyEnd end;
       for (size_t i = 0; i < a.size(); ++i) {
         std::string stripped = a[i];
         StripBeforeFirstDigit(stripped);
         if (end.IsLastLine(a[i], stripped)) return Numbers("", i + 1);
       }
       return std::string("0");
     }},
    {"Logged", [](const Args& a) { return LoggedCommandText(a[0]); }},
    {"Scramble", [](const Args& a) { return ScramblePassword(a[0]); }},
    {"Unscramble", [](const Args& a) { return UnscramblePassword(a[0]); }},
    {"ProfileInt", [](const Args& a) { return Numbers("", ParseProfileInt(a[0])); }},
    {"Quote", [](const Args& a) { return QuoteForProfile(a[0]); }},
    {"Cut", [](const Args& a) { return CutToCapacity(a[0], Int(a[1])); }},
    {"BufferSize", [](const Args& a) { return Numbers("", ClampTransferBufferSize(Int(a[0]))); }},
    {"ListType", [](const Args& a) { return Numbers("", ValidListType(Int(a[0]))); }},
    {"SingleByte", [](const Args& a) { return Bool(IsSingleByteChar(a[0].c_str(), Int(a[1]))); }},
    {"Width", [](const Args& a) { return Numbers(" ", CharWidthAt(a[0], Int(a[1])), CheckedCharWidthAt(a[0], Int(a[1]))); }},
    {"Find", [](const Args& a) { return Position(FindSingleByteChar(a[0], a[1][0], Int(a[2]))); }},
    {"FindLast", [](const Args& a) { return Position(FindLastSingleByteChar(a[0], a[1])); }},
    {"SplitAt", [](const Args& a) { return List(SplitAtSingleByteChar(a[0], a[1][0], a[2] == "1")); }},
    {"EndsInSeparator", [](const Args& a) { return Bool(EndsInSeparator(a[0])); }},
    {"JoinPath", [](const Args& a) { return JoinLocalPath(a[0], a[1]); }},
    {"In1252", [](const Args& a) { return InCodePage(1252, kRoutines, a); }},
};

TEST(FoundationValues, Table) { RunCases("foundation/data/values.tsv", kRoutines); }

}  // namespace
