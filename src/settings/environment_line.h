// The one line of env.ini (decoded): eight fields separated by "/": mode, source or the question
// file's path, question count, favourite poem, the three options, the player's name.
#pragma once

#include <string>
#include <string_view>

namespace verselane {

class Settings;

inline constexpr char kFieldSeparator = '/';
// A longer line does not fit the buffer it is read with and would read as corrupt.
inline constexpr std::size_t kEnvironmentLineMaxBytes = 282;
// What is left for a question file's path beside a three-digit count and a ten-byte name.
inline constexpr std::size_t kQuestionFilePathMaxBytes = 256;

// The line for the settings as they stand (CP932).
std::string ComposeEnvironmentLine(const Settings& settings);

// Applies the line's fields to `settings` in order; true when the line has exactly seven
// separators and a name. Fields applied before a failure stay applied.
bool ParseEnvironmentLine(std::string_view line, Settings& settings);

// Why a question file's path cannot be stored in env.ini, if it cannot.
enum class PathProblem { kNone, kBackslash, kNotShiftJis, kTooLong };

// A question file's path as env.ini stores it (CP932, "/" written as "\", which Linux paths
// never need). Stores it in `stored` and returns kNone, or says why it cannot be stored.
PathProblem StoredPathFor(const std::string& path, std::string& stored);
// The path back from its stored form; empty when the bytes are not Shift-JIS.
std::string PathFromStored(std::string_view stored);

}  // namespace verselane
