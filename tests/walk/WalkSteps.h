#pragma once
// The steps of a random walk through a program: each is a kind of action ("click", "s-move") and a
// number that picks among what that action finds on the screen or sends, so that the same list
// of steps replays the same walk. Steps come from a seed, weighted by kind; a list that fails is
// shortened to one that still fails.

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace walk {

struct Step {
  std::string kind;
  std::uint32_t arg{0};
};

struct WeightedKind {
  std::string kind;
  int weight{1};
};

// "kind:arg kind:arg ..." and back; Parse is false on a malformed list.
std::string Text(const std::vector<Step>& steps);
bool Parse(const std::string& text, std::vector<Step>& steps);

// An endless sequence of steps drawn from kinds by weight, the same for the same seed.
class StepSource {
public:
  StepSource(std::uint64_t seed, std::vector<WeightedKind> kinds);
  Step Next();

private:
  std::mt19937_64 m_random;
  std::vector<WeightedKind> m_kinds;
  int m_total{0};
};

// A shorter list of steps for which fails still holds (it holds for steps), found by removing
// ever smaller chunks; at most maxRuns calls of fails.
std::vector<Step> Shrink(std::vector<Step> steps, const std::function<bool(const std::vector<Step>&)>& fails,
                         int maxRuns);

}  // namespace walk
