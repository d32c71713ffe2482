#pragma once

#include <optional>
#include <span>

namespace zeziza::pages {

// Which rights codes may follow a navigation entry, by README's table of who sees which page
// (page_rights.h); the others see its link disabled (or the entry hidden, see
// NavEntry::hiddenUnreached).
enum class Reach { analysis, roster, masterData, system, classTeacher };

// One entry of the navigation bar: its link and the bar under it, which is marked while the
// session's navigation entry is `page`. `name` names the controls: `<name>Link`, `<name>Cell`
// and `<name>Bar`.
struct NavEntry {
  const char* name = "";
  const char* caption = "";
  Reach reach = Reach::analysis;
  // Analysis pages need scores: without any the link shows the setup guide instead.
  bool needsScores = false;
  // Hidden, not just disabled, for the codes the entry does not reach.
  bool hiddenUnreached = false;
  const char* page = "";
  void (*show)() = nullptr;
};

// The entries in the order of the bar. Adding a page to the bar is one row here.
std::span<const NavEntry> navigationEntries();

// True when rights code `code` (nullopt: none or invalid) may follow entries of `reach`.
bool reaches(Reach reach, std::optional<int> code);

}  // namespace zeziza::pages
