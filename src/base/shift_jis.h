// Shift-JIS (code page 932) text: conversion to and from UTF-8, and the 2-byte reading cells.
//
// The core keeps every Japanese text as CP932 bytes in std::string, exactly as the files hold
// them. Conversion happens only here, at the edges: when the built-in tables are built and where
// the desktop shows or reads text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace verselane {

// Outcome of a conversion. On failure `text` is empty and `failedAt` is the byte offset, in the
// input, of the first character that could not be converted.
struct Conversion {
  std::string text;
  std::size_t failedAt = npos;

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  bool ok() const { return failedAt == npos; }
};

// UTF-8 to CP932. Fails on invalid UTF-8 and on characters CP932 cannot hold (e.g. "𠮷", "€").
Conversion Utf8ToSjis(std::string_view utf8);
// UTF-8 to CP932 only when the bytes read back as the same text. CP932 maps some characters one
// way only ("〜" U+301C comes back as "～" U+FF5E, "¥" as a backslash, "—" as "―"): a path or
// a name holding one would be read back as another. Fails at the first such character.
Conversion Utf8ToSjisExact(std::string_view utf8);
// CP932 to UTF-8. Fails on byte sequences that are not CP932 (a lone lead byte, an unused code).
Conversion SjisToUtf8(std::string_view sjis);

// For text on its way between the core and the screen, which must show or take something for
// every character: each character the other side cannot hold becomes "?" and the rest comes
// through. From UTF-8, a character CP932 lacks (an emoji, a rare kanji) or a broken sequence, so
// that the rest of what the player typed still counts; from CP932, each byte that is not CP932,
// so that nothing vanishes silently from a file's text.
std::string Utf8ToSjisReplacing(std::string_view utf8);
std::string SjisToUtf8Replacing(std::string_view sjis);

// The length of the UTF-8 sequence that begins with `lead`: 1 for ASCII and for a stray byte.
std::size_t Utf8SequenceLength(unsigned char lead);

// For literals of the program's own tables, which are known to be CP932-safe; aborts with the
// offending text otherwise, since that is a programming error caught by the first test run.
std::string SjisLiteral(std::string_view utf8);

// True for the first byte of a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
bool IsSjisLeadByte(unsigned char byte);

// Length of the longest prefix of `sjis` that is at most `maxBytes` long and does not end in the
// middle of a double-byte character.
std::size_t SjisPrefixLength(std::string_view sjis, std::size_t maxBytes);

// Reading cells: cell n of a reading or an overlay row is the byte pair at 2n, 2n+1.
inline constexpr std::size_t kCellBytes = 2;

inline std::size_t CellCount(std::string_view row) { return row.size() / kCellBytes; }

// The two bytes of cell `n`, or an empty view when the row has no such whole cell.
std::string_view CellAt(std::string_view row, std::size_t n);

// A continuation cell (two backslash bytes) lets the character before it also stand for this
// cell's kana; a blank cell (two spaces) offers nothing. Both look only at the cell's own pair,
// so the 0x5C that ends a character such as "表" (0x95 0x5C) is never taken for one.
bool IsContinuationCell(std::string_view row, std::size_t n);
bool IsBlankCell(std::string_view row, std::size_t n);

inline constexpr std::string_view kContinuationCell = "\\\\";
inline constexpr std::string_view kBlankCell = "  ";

}  // namespace verselane
