#include "game/reader.h"

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

void Reader::BeginRun(const std::vector<int>& poems, QuestionMode mode) {
  reciting_ = WantsOrder();
  if (!reciting_) return;
  opening_ = preferences_.opening;
  speed_ = preferences_.voiceSpeed;
  std::vector<RecitationRequest> requests;
  if (opening_) {
    requests.push_back(Request(kOpeningPoem, RecitedPart::kUpper));
    requests.push_back(Request(kOpeningPoem, RecitedPart::kLower));
  }
  for (int poem : poems) requests.push_back(Request(poem, PromptPart(mode)));
  voice_.Prepare(std::move(requests));
}

int Reader::SpeakOpening(RecitedPart part) {
  if (!reciting_) return 0;
  const std::optional<Recitation> recitation = voice_.Ready(Request(kOpeningPoem, part));
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
