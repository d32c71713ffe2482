#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/bound_statement.h"
#include "store/scope.h"

namespace zeziza::store {

class Database;

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
AddUserResult addUser(Database& db, const NewUser& user, bool onlyWithoutSuperAdmin);
bool hasSuperAdmin(Database& db);

// The stored name, password hash and rights code of the user called `name` (letter case
// ignored); nullopt when there is none.
struct StoredUser {
  std::string name;
  std::string passwordHash;
  std::string rightsCode;
};
std::optional<StoredUser> findUser(Database& db, const std::string& name);

// Stores a new password hash for the user called `name`; false when there is no such user.
bool setPasswordHash(Database& db, std::string_view name, std::string_view passwordHash);

// Removes the user called `name`; nothing happens when there is none.
void deleteUser(Database& db, std::string_view name);

// Gives the user called `name` another rights code and class-teacher place (empty for other
// codes); false when there is no such user.
bool changeRights(Database& db, std::string_view name, int rightsCode, const Scope& place);

// What a signed-in session was granted: the account's id (never given twice, so a name deleted
// and made again is another account), its password hash (a reset or change gives a new one),
// rights code and place in one text, to compare with the one read at sign-in; nullopt when the
// account is gone. A class teacher's also says whether 统考模式 is set, which shuts class
// teachers out.
std::optional<std::string> rightsStamp(Database& db, std::string_view name);

// The account's place, one class (a class teacher works there only); an account without a row
// has an empty place, which holds nobody.
Scope accountPlace(Database& db, std::string_view user);

// Every user for the accounts grid, in the order they were added: 用户名, 权限 (the role name
// of `roleNames` by code, else the stored code), 班级 (a class teacher's place), and the
// constant columns 修改权限, 重置密码 and 删除用户 that carry each row's links.
BoundStatement userListStatement(const std::vector<std::string>& roleNames);

}  // namespace zeziza::store
