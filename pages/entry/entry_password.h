#pragma once

#include <string>

namespace zeziza::store {
class Database;
}

namespace zeziza::pages::entry {

// The entry page's own password change for the signed-in user: the repeat must match and
// the old password must verify; the new one is stored as a hash. Shows its messages.
void changeOwnPassword(store::Database& db, const std::string& user, const std::string& old,
                       const std::string& fresh, const std::string& repeat);

}  // namespace zeziza::pages::entry
