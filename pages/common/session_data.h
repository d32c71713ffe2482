#pragma once

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

// The signed-in session's connection to `data`, borrowed for the current request.
store::Database& data();

}  // namespace zeziza::pages
