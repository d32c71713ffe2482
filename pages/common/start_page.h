#pragma once

#include "web/request_cycle.h"

namespace zeziza::pages {

// The page every new session starts on: the login page.
web::PageFactory startPage();

}  // namespace zeziza::pages
