#include "game/reader.h"

#include <algorithm>

#include "game/desktop_ports.h"
#include "settings/preferences.h"

namespace verselane {
namespace {

RecitedPart PromptPart(QuestionMode mode) {
  switch (mode) {
    case QuestionMode::Reverse: return RecitedPart::kLower;
    case QuestionMode::Poet: return RecitedPart::kPoet;
    default: return RecitedPart::kUpper;
  }
}

}  // namespace

Reader::Reader(VoicePort& voice, const Preferences& preferences)
    : voice_(voice), preferences_(preferences) {}

bool Reader::installed() const { return voice_.Installed(); }

bool Reader::WantsOrder() const { return preferences_.recite && installed(); }

void Reader::BeginRun(const std::vector<int>& poems, QuestionMode mode,
                      const std::vector<int>& shown) {
  reciting_ = WantsOrder();
  if (!reciting_) return;
  opening_ = preferences_.opening;
  speed_ = preferences_.voiceSpeed;
  std::vector<RecitationRequest> requests;
  if (opening_) {
    requests.push_back(Request(kOpeningPoem, RecitedPart::kUpper));
    requests.push_back(Request(kOpeningPoem, RecitedPart::kLower));
  }
  const RecitedPart prompt = PromptPart(mode);
  for (int poem : poems) {
    // A poem shown is read whole before it is asked.
    if (std::find(shown.begin(), shown.end(), poem) != shown.end()) {
      requests.push_back(Request(poem, RecitedPart::kUpper));
      requests.push_back(Request(poem, RecitedPart::kLower));
      if (prompt != RecitedPart::kPoet) continue;
    }
    requests.push_back(Request(poem, prompt));
  }
  voice_.Prepare(std::move(requests));
}

int Reader::SpeakPhrase(int poem, RecitedPart part) {
  if (!reciting_) return 0;
  const std::optional<Recitation> recitation = voice_.Ready(Request(poem, part));
  if (!recitation || recitation->lengthMs <= 0) return 0;
  voice_.Play(*recitation);
  return recitation->lengthMs;
}

SpokenPrompt Reader::SpeakPrompt(int poem, QuestionMode mode) {
  if (!reciting_) return {};
  std::optional<Recitation> recitation = voice_.Ready(Request(poem, PromptPart(mode)));
  if (!recitation) return {};
  voice_.Play(*recitation);
  return {std::move(recitation->cellStartMs), preferences_.listenOnly};
}

void Reader::Stop() {
  if (installed()) voice_.Stop();
}

void Reader::CheckFailure() {
  if (!reciting_ || !voice_.Failed()) return;
  reciting_ = false;
  voice_.ReportFailure();
}

RecitationRequest Reader::Request(int poem, RecitedPart part) const { return {poem, part, speed_}; }

}  // namespace verselane
