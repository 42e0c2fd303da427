#include "settings/key_file.h"

#include <tuple>
#include <utility>

namespace verselane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A CR is a space too: the one of a CR LF line end, and a stray one an editor left.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// [begin, end) of `text` without the spaces at either end.
std::pair<std::size_t, std::size_t> Trim(std::string_view text, std::size_t begin,
                                         std::size_t end) {
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  return {begin, end};
}

}  // namespace

std::optional<KeyFile> KeyFile::Parse(std::string_view bytes) {
  KeyFile file;
  std::optional<std::string> group;  // the name of the last header, none before the first
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t newline = bytes.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
    std::optional<Line> line =
        ParseLine(std::string(bytes.substr(start, end - start)), group, start == 0);
    if (!line) return std::nullopt;
    if (start == 0 && line->bytes.ends_with("\r\n")) file.lineEnd_ = "\r\n";
    file.lines_.push_back(std::move(*line));
    if (file.lines_.back().kind == Line::Kind::kHeader) group = file.lines_.back().group;
    start = end;
  }
  return file;
}

// `group` is the name of the header above the line; `first`, whether it begins the file.
std::optional<KeyFile::Line> KeyFile::ParseLine(std::string bytes,
                                                const std::optional<std::string>& group,
                                                bool first) {
  const std::string_view text = bytes;
  const std::size_t begin = first && text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  const auto [from, to] = Trim(text, begin, text.ends_with('\n') ? text.size() - 1 : text.size());
  std::optional<Line> line = Line{};
  if (from == to || text[from] == '#' || text[from] == ';') {
    // Blank or a comment: kept as it is.
  } else if (text[from] == '[') {
    line = ParseHeader(text.substr(from, to - from));
  } else if (group) {
    line = ParseKey(text, from, to);
    if (line) line->group = *group;
  } else {
    return std::nullopt;  // a key before the first header
  }
  if (line) line->bytes = std::move(bytes);
  return line;
}

// "[name]", spaces inside the brackets aside.
std::optional<KeyFile::Line> KeyFile::ParseHeader(std::string_view header) {
  if (header.size() < 2 || header.back() != ']') return std::nullopt;
  const auto [from, to] = Trim(header, 1, header.size() - 1);
  const std::string_view name = header.substr(from, to - from);
  if (name.empty() || name.find_first_of("[]") != std::string_view::npos) return std::nullopt;
  Line line;
  line.kind = Line::Kind::kHeader;
  line.group = name;
  return line;
}

// "key=value" in text[from, to), where the key is not empty.
std::optional<KeyFile::Line> KeyFile::ParseKey(std::string_view text, std::size_t from,
                                               std::size_t to) {
  const std::size_t equals = text.find('=', from);
  if (equals >= to) return std::nullopt;
  const auto [keyFrom, keyTo] = Trim(text, from, equals);
  if (keyFrom == keyTo) return std::nullopt;
  Line line;
  line.kind = Line::Kind::kKey;
  line.key = text.substr(keyFrom, keyTo - keyFrom);
  std::tie(line.valueBegin, line.valueEnd) = Trim(text, equals + 1, to);
  return line;
}

std::optional<std::string_view> KeyFile::Get(std::string_view group, std::string_view key) const {
  const std::optional<std::size_t> found = FindKey(group, key);
  if (!found) return std::nullopt;
  const Line& line = lines_[*found];
  return std::string_view(line.bytes).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

void KeyFile::Set(std::string_view group, std::string_view key, std::string_view value) {
  if (const std::optional<std::size_t> found = FindKey(group, key)) {
    Line& line = lines_[*found];
    line.bytes.replace(line.valueBegin, line.valueEnd - line.valueBegin, value);
    line.valueEnd = line.valueBegin + value.size();
    return;
  }
  std::optional<std::size_t> end = EndOfGroup(group);
  if (!end) {
    Line header;
    header.kind = Line::Kind::kHeader;
    header.group = group;
    header.bytes = "[" + header.group + "]";
    InsertLine(lines_.size(), std::move(header));
    end = lines_.size();
  }
  Line line;
  line.kind = Line::Kind::kKey;
  line.group = group;
  line.key = key;
  line.bytes = line.key + "=";
  line.valueBegin = line.bytes.size();
  line.bytes += value;
  line.valueEnd = line.bytes.size();
  InsertLine(*end, std::move(line));
}

std::string KeyFile::Bytes() const {
  std::string bytes;
  for (const Line& line : lines_) bytes += line.bytes;
  return bytes;
}

// The last line that gives `key` in `group`: the one that counts.
std::optional<std::size_t> KeyFile::FindKey(std::string_view group, std::string_view key) const {
  for (std::size_t i = lines_.size(); i-- > 0;) {
    const Line& line = lines_[i];
    if (line.kind == Line::Kind::kKey && line.group == group && line.key == key) return i;
  }
  return std::nullopt;
}

// Where a new key of `group` goes: after the last key of its last appearance, so that the
// comments and blank lines before the next header stay with that header.
std::optional<std::size_t> KeyFile::EndOfGroup(std::string_view group) const {
  std::optional<std::size_t> end;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind != Line::Kind::kOther && lines_[i].group == group) end = i + 1;
  }
  return end;
}

void KeyFile::InsertLine(std::size_t at, Line line) {
  // The line before it may be the last of the file, without a line end of its own.
  if (at > 0 && !lines_[at - 1].bytes.ends_with('\n')) lines_[at - 1].bytes += lineEnd_;
  line.bytes += lineEnd_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

}  // namespace verselane
