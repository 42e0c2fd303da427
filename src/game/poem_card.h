// The poem card: one poem whole, as a player wants it at hand after missing it or while learning
// it, and how they have fared with it.
#pragma once

#include <string>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/history_outlook.h"
#include "settings/plan_settings.h"

namespace verselane {

// A phrase's reading split where its kimariji ends: the kana that decide the poem, and the rest.
struct MarkedReading {
  std::string kimariji;
  std::string rest;
};

// Everything the card shows (CP932).
struct PoemCard {
  std::string caption;  // " 第12首", with the leading blank of every caption
  std::string poem;     // the poem as written, in kanji
  MarkedReading upper;
  MarkedReading lower;
  std::string poet;
  std::string poetReading;
  std::vector<std::string> figures;  // FigureLines
};

// How a list of poems names one (CP932): its number and its upper kimariji, the kana a karuta
// player knows it by ("12 あまつかぜ").
std::string PoemListEntry(const PoemCatalogue& catalogue, int poem);

// The card of poem `poem` (0 to 99), with the player's figures from `outlook`.
PoemCard MakePoemCard(const PoemCatalogue& catalogue, int poem, const HistoryOutlook& outlook,
                      const PlanSettings& plan);

}  // namespace verselane
