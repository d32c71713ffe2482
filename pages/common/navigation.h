#pragma once

#include "web/user_session.h"

namespace zeziza::pages {

// Shows entry page P of the navigation bar (one with a kName): the bar marks P's entry on
// the pages that follow, until another entry is chosen.
template <class P>
void showEntry() {
  web::Session& session = web::currentSession();
  session.navigationEntry = P::kName;
  session.ShowPage<P>();
}

// Shows page P, which belongs to no entry of the navigation bar: no entry is marked.
template <class P>
void showOutsideEntries() {
  web::Session& session = web::currentSession();
  session.navigationEntry.clear();
  session.ShowPage<P>();
}

}  // namespace zeziza::pages
