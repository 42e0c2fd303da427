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
  std::vector<std::string> figures;  // FigureLines, or what a poem met for the first time asks
  // Shown to meet a new poem in today's plan, before it is asked: its lines say so, and closing it
  // goes on with the run.
  bool meeting = false;
};

// How a list of poems names one (CP932): its number and its upper kimariji, the kana a karuta
// player knows it by ("12 あまつかぜ").
std::string PoemListEntry(const PoemCatalogue& catalogue, int poem);

// The card of poem `poem` (0 to 99), with the player's figures from `outlook`.
PoemCard MakePoemCard(const PoemCatalogue& catalogue, int poem, const HistoryOutlook& outlook,
                      const PlanSettings& plan);

// The card of poem `poem` as today's plan shows it before asking it for the first time: the poem
// whole, and in place of figures (there are none yet) what the player is to do with it.
PoemCard MakeMeetingCard(const PoemCatalogue& catalogue, int poem);

}  // namespace verselane
