#include "pages/signin/user_accounts.h"

#include "store/database.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::pages {

namespace {

bool nameTaken(store::Database& db, const std::string& name) {
  store::Statement statement(db, "select 1 from yh where user=?");
  const store::Value value(name);
  statement.bindAll(std::span(&value, 1));
  return statement.step();
}

}  // namespace

bool hasSuperAdmin(store::Database& db) {
  store::Statement statement(db, "select 1 from yh where qx='0'");
  return statement.step();
}

AddUserResult addUser(store::Database& db, const NewUser& user, bool onlyWithoutSuperAdmin) {
  store::Transaction transaction(db);
  if (onlyWithoutSuperAdmin && hasSuperAdmin(db)) return AddUserResult::SuperAdminExists;
  if (nameTaken(db, user.name)) return AddUserResult::NameTaken;
  db.exec("insert into yh (user, pass, qx, xx, nj, bc) values (?, ?, ?, ?, ?, ?)",
          {store::Value(user.name), store::Value(user.passwordHash),
           store::Value(std::to_string(user.rightsCode)), store::Value(user.unit),
           store::Value(user.grade), store::Value(user.className)});
  transaction.commit();
  return AddUserResult::Added;
}

std::optional<StoredUser> findUser(store::Database& db, const std::string& name) {
  store::Statement statement(db, "select user, pass, qx from yh where user=?");
  const store::Value value(name);
  statement.bindAll(std::span(&value, 1));
  if (!statement.step()) return std::nullopt;
  return StoredUser{statement.column(0).asText(), statement.column(1).asText(),
                    statement.column(2).asText()};
}

}  // namespace zeziza::pages
