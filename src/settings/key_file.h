// A key file as people and their editors write it: "[group]" headers, "key=value" lines, blank
// lines and "#" or ";" comments. It is kept line by line, as its bytes, so that a save changes
// only the lines whose values it sets: groups, keys and comments of others stay as they were.
//
// What an editor leaves is taken in stride: a UTF-8 byte order mark, CR LF line ends, spaces and
// tabs around headers, keys and values, comments in any bytes. Names are matched as bytes, case
// and all, as in the freedesktop.org key-file format. A group named twice is one group, and of a
// key given twice the last one counts: a player who appends "[input]" and a key at the end of the
// file gets what they wrote.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verselane {

class KeyFile {
 public:
  // Nothing when a line is none of the above: a header without its "]", or with an empty name;
  // a line without "=", or with nothing before it; a key before the first header.
  static std::optional<KeyFile> Parse(std::string_view bytes);

  // The value of `key` in `group`, without the spaces around it; nothing when the file has none.
  std::optional<std::string_view> Get(std::string_view group, std::string_view key) const;
  // Gives `key` in `group` the value `value`: on the line that holds it, in place of the old
  // value, or on a new line at the end of the group (its last appearance), or in a new group at
  // the end of the file.
  void Set(std::string_view group, std::string_view key, std::string_view value);
  // The file's bytes, with the values set since it was read.
  std::string Bytes() const;

 private:
  struct Line {
    enum class Kind { kOther, kHeader, kKey };
    std::string bytes;  // as in the file, line end included
    Kind kind = Kind::kOther;
    std::string group;  // a header's name, or the group of a key line
    std::string key;
    std::size_t valueBegin = 0, valueEnd = 0;  // where a key's value lies in `bytes`
  };

  static std::optional<Line> ParseLine(std::string bytes, const std::optional<std::string>& group,
                                       bool first);
  static std::optional<Line> ParseHeader(std::string_view header);
  static std::optional<Line> ParseKey(std::string_view text, std::size_t from, std::size_t to);
  std::optional<std::size_t> FindKey(std::string_view group, std::string_view key) const;
  std::optional<std::size_t> EndOfGroup(std::string_view group) const;
  void InsertLine(std::size_t at, Line line);

  std::vector<Line> lines_;
  std::string lineEnd_ = "\n";  // the file's own: what new lines end with
};

}  // namespace verselane
