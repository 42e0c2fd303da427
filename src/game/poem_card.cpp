#include "game/poem_card.h"

#include "base/decimal.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

// The kimariji length is counted in bytes; a length that would cut a kana in two (a damaged
// table) is cut back to the kana before it.
MarkedReading Mark(const PoemCatalogue& catalogue, int poem, int readingField, int lengthField) {
  const std::string_view reading = catalogue.FieldView(poem, readingField);
  const int bytes = ParseDecimal(catalogue.FieldView(poem, lengthField));
  const std::size_t split =
      bytes <= 0 ? 0 : SjisPrefixLength(reading, static_cast<std::size_t>(bytes));
  return {std::string(reading.substr(0, split)), std::string(reading.substr(split))};
}

PoemCard CardOf(const PoemCatalogue& catalogue, int poem) {
  PoemCard card;
  card.caption = SjisLiteral(" 第" + std::to_string(poem + 1) + "首");
  card.poem = catalogue.FieldView(poem, kFullText);
  card.upper = Mark(catalogue, poem, kUpperReading, kUpperKimarijiBytes);
  card.lower = Mark(catalogue, poem, kLowerReading, kLowerKimarijiBytes);
  card.poet = catalogue.FieldView(poem, kPoet);
  card.poetReading = catalogue.FieldView(poem, kPoetReading);
  return card;
}

}  // namespace

std::string PoemListEntry(const PoemCatalogue& catalogue, int poem) {
  return std::to_string(poem + 1) + " " +
         Mark(catalogue, poem, kUpperReading, kUpperKimarijiBytes).kimariji;
}

PoemCard MakePoemCard(const PoemCatalogue& catalogue, int poem, const HistoryOutlook& outlook,
                      const PlanSettings& plan) {
  PoemCard card = CardOf(catalogue, poem);
  card.figures = FigureLines(outlook, poem, plan);
  return card;
}

PoemCard MakeMeetingCard(const PoemCatalogue& catalogue, int poem) {
  PoemCard card = CardOf(catalogue, poem);
  card.meeting = true;
  card.figures = {SjisLiteral("はじめての歌です。声に出して読み、覚えましょう。"),
                  SjisLiteral("決まり字（下線）で上の句と下の句を結びます。"),
                  SjisLiteral("このあと、ほかの問題をはさんで出題します。"),
                  SjisLiteral("覚えたら Enter で次へ進みます。")};
  return card;
}

}  // namespace verselane
