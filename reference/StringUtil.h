// StringUtil: small text helpers of the reference readers and writers.
//
// Numbers are parsed independently of the C locale (a German desktop reads "12.5" as
// 12.5); a text that is not a number reads as 0, as every reader of the model expects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace StringUtil
{
// Splits at every occurrence of `sep`; empty pieces are kept ("a  b" at ' ' gives
// "a", "", "b"; an empty text gives one empty piece).
std::vector<std::string> Split(std::string_view text, char sep);

// Whole-text decimal number, surrounding ASCII white space ignored, an optional leading
// '+' accepted. Anything else (empty, trailing garbage, out of range, inf, nan) gives 0.
double ParseDouble(std::string_view text);
// The same rule, rounded to single precision by the parser itself.
float ParseFloat(std::string_view text);

// Reads a whole file as bytes. False when it cannot be opened or read.
bool ReadFile(const char* path, std::string& out);
// Writes `data` to `path`, replacing the file. False (and no file left behind) when the
// file cannot be created or written completely.
bool WriteFile(const char* path, std::string_view data);

// UTF-8 decoding as a lenient decoder does it: every malformed or overlong sequence,
// surrogate and code point above U+10FFFF becomes U+FFFD. Valid text is left unchanged.
void RepairUtf8(std::string& text);
// True when the text holds a character that XML 1.0 never allows: NUL or a C0 control
// other than tab, line feed and carriage return. Binary input is caught by this.
bool HasForbiddenXmlControl(std::string_view text);
}
