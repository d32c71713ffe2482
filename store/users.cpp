#include "store/users.h"

#include "store/database.h"
#include "store/settings.h"
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

bool changeRights(Database& db, std::string_view name, int rightsCode, const Scope& place) {
  return db.exec("update yh set qx=?, xx=?, nj=?, bc=? where user=?",
                 {Value(std::to_string(rightsCode)), Value(place.unit.value_or("")),
                  Value(place.grade.value_or("")), Value(place.cls.value_or("")), Value(name)}) > 0;
}

std::optional<std::string> rightsStamp(Database& db, std::string_view name) {
  // '5': a class teacher, shut out while 统考模式 is set.
  Statement statement(db,
                      "select id, pass, qx, xx, nj, bc, qx='5' and exists (select 1 from sysset "
                      "where zdm=? and zdz=?) from yh where user=?");
  const Value values[] = {Value(key::kWorkMode), Value(kWorkModeUnified), Value(name)};
  statement.bindAll(values);
  if (!statement.step()) return std::nullopt;
  std::string stamp;
  for (int i = 0; i < 7; ++i) {
    stamp += statement.column(i).asText();
    stamp += '\x1f';  // no typed text holds it
  }
  return stamp;
}

Scope accountPlace(Database& db, std::string_view user) {
  Statement statement(db, "select xx,nj,bc from yh where user=?");
  const Value value(user);
  statement.bindAll(std::span(&value, 1));
  if (!statement.step()) return Scope::place("", "", "");
  return Scope::place(statement.column(0).asText(), statement.column(1).asText(),
                      statement.column(2).asText());
}

BoundStatement userListStatement(const std::vector<std::string>& roleNames) {
  BoundStatement list;
  list.sql = "select user as 用户名, case qx";
  for (std::size_t code = 0; code < roleNames.size(); ++code) {
    list.sql += " when '" + std::to_string(code) + "' then ?";
    list.params.emplace_back(roleNames[code]);
  }
  list.sql +=
      " else qx end as 权限, case when qx='5' then trim(ifnull(xx,'') || ' ' || ifnull(nj,'') || "
      "' ' || ifnull(bc,'')) else '' end as 班级, '修改权限' as 修改权限, '重置密码' as 重置密码, "
      "'删除用户' as 删除用户 from yh order by rowid";
  return list;
}

}  // namespace zeziza::store
