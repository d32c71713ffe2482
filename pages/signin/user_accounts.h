#pragma once

#include <optional>
#include <string>

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

// A row of the user table `yh` to add. Only class teachers carry a unit, grade and class.
struct NewUser {
  std::string name;
  std::string passwordHash;
  int rightsCode = 0;
  std::string unit;
  std::string grade;
  std::string className;
};

enum class AddUserResult { Added, NameTaken, SuperAdminExists };

// Adds `user` unless a user of that name exists (letter case ignored). With
// `onlyWithoutSuperAdmin` also unless a super administrator exists by now. Checks and insert
// run in one transaction, so two sessions cannot both pass them.
AddUserResult addUser(store::Database& db, const NewUser& user, bool onlyWithoutSuperAdmin);
bool hasSuperAdmin(store::Database& db);

// The stored name, password hash and rights code of the user called `name` (letter case
// ignored); nullopt when there is none.
struct StoredUser {
  std::string name;
  std::string passwordHash;
  std::string rightsCode;
};
std::optional<StoredUser> findUser(store::Database& db, const std::string& name);

}  // namespace zeziza::pages
