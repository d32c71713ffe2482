#include "store/users.h"

#include "store/database.h"
#include "store/statement.h"
#include "store/transaction.h"

namespace zeziza::store {

namespace {

bool nameTaken(Database& db, const std::string& name) {
  Statement statement(db, "select 1 from yh where user=?");
  const Value value(name);
  statement.bindAll(std::span(&value, 1));
  return statement.step();
}

}  // namespace

bool hasSuperAdmin(Database& db) {
  Statement statement(db, "select 1 from yh where qx='0'");
  return statement.step();
}

AddUserResult addUser(Database& db, const NewUser& user, bool onlyWithoutSuperAdmin) {
  Transaction transaction(db);
  if (onlyWithoutSuperAdmin && hasSuperAdmin(db)) return AddUserResult::SuperAdminExists;
  if (nameTaken(db, user.name)) return AddUserResult::NameTaken;
  db.exec("insert into yh (user, pass, qx, xx, nj, bc) values (?, ?, ?, ?, ?, ?)",
          {Value(user.name), Value(user.passwordHash), Value(std::to_string(user.rightsCode)),
           Value(user.unit), Value(user.grade), Value(user.className)});
  transaction.commit();
  return AddUserResult::Added;
}

std::optional<StoredUser> findUser(Database& db, const std::string& name) {
  Statement statement(db, "select user, pass, qx from yh where user=?");
  const Value value(name);
  statement.bindAll(std::span(&value, 1));
  if (!statement.step()) return std::nullopt;
  return StoredUser{statement.column(0).asText(), statement.column(1).asText(),
                    statement.column(2).asText()};
}

bool setPasswordHash(Database& db, std::string_view name, std::string_view passwordHash) {
  return db.exec("update yh set pass=? where user=?", {Value(passwordHash), Value(name)}) > 0;
}

void deleteUser(Database& db, std::string_view name) {
  db.exec("delete from yh where user=?", {Value(name)});
}

Place accountPlace(Database& db, std::string_view user) {
  Statement statement(db, "select xx,nj,bc from yh where user=?");
  const Value value(user);
  statement.bindAll(std::span(&value, 1));
  if (!statement.step()) return {};
  return {statement.column(0).asText(), statement.column(1).asText(), statement.column(2).asText()};
}

BoundStatement userListStatement() {
  return {"select user as 用户名, qx as 权限, '删除用户' as 删除用户 from yh order by rowid", {}};
}

}  // namespace zeziza::store
