#include "walk/WalkSteps.h"

#include <sstream>

namespace walk {

std::string Text(const std::vector<Step>& steps) {
  std::string text;
  for (const Step& step : steps) {
    if (!text.empty()) text += ' ';
    text += step.kind + ":" + std::to_string(step.arg);
  }
  return text;
}

bool Parse(const std::string& text, std::vector<Step>& steps) {
  std::istringstream words(text);
  std::string word;
  steps.clear();
  while (words >> word) {
    const std::size_t colon = word.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == word.size()) return false;
    const std::string number = word.substr(colon + 1);
    if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 10) return false;
    const unsigned long long value = std::stoull(number);
    if (value > 0xFFFFFFFFull) return false;
    steps.push_back(Step{word.substr(0, colon), static_cast<std::uint32_t>(value)});
  }
  return true;
}

StepSource::StepSource(std::uint64_t seed, std::vector<WeightedKind> kinds) : m_random(seed), m_kinds(std::move(kinds)) {
  for (const WeightedKind& kind : m_kinds) m_total += kind.weight;
}

Step StepSource::Next() {
  int pick = static_cast<int>(m_random() % static_cast<std::uint64_t>(m_total > 0 ? m_total : 1));
  std::string kind = m_kinds.empty() ? "idle" : m_kinds.back().kind;
  for (const WeightedKind& candidate : m_kinds) {
    if (pick < candidate.weight) {
      kind = candidate.kind;
      break;
    }
    pick -= candidate.weight;
  }
  return Step{kind, static_cast<std::uint32_t>(m_random())};
}

std::vector<Step> Shrink(std::vector<Step> steps, const std::function<bool(const std::vector<Step>&)>& fails,
                         int maxRuns) {
  int runs = 0;
  // The last steps alone, first: what led to the failure is most often just before it.
  for (std::size_t tail = 16; tail < steps.size() && runs < maxRuns; tail *= 4) {
    std::vector<Step> last(steps.end() - static_cast<std::ptrdiff_t>(tail), steps.end());
    ++runs;
    if (fails(last)) {
      steps = std::move(last);
      break;
    }
  }
  // Then chunks of half the list, quarters, ... down to single steps, each tried from the start;
  // the last step, where it failed, stays.
  for (std::size_t chunk = steps.size() / 2; chunk >= 1 && runs < maxRuns; chunk /= 2) {
    bool removed = true;
    while (removed && runs < maxRuns) {
      removed = false;
      for (std::size_t begin = 0; begin + chunk < steps.size() && runs < maxRuns; begin += chunk) {
        std::vector<Step> shorter(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(begin));
        shorter.insert(shorter.end(), steps.begin() + static_cast<std::ptrdiff_t>(begin + chunk), steps.end());
        ++runs;
        if (fails(shorter)) {
          steps = std::move(shorter);
          removed = true;
          break;
        }
      }
    }
    if (chunk == 1) break;
  }
  return steps;
}

}  // namespace walk
