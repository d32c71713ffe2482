#include "pages/entry/entry_password.h"

#include "pages/signin/credentials.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages::entry {

void changeOwnPassword(store::Database& db, const std::string& user, const std::string& old,
                       const std::string& fresh, const std::string& repeat) {
  if (fresh != repeat) return web::ShowMessage("重复密码错误");
  const auto stored = verifyCredentials(user, old);
  if (!stored) return web::ShowMessage("原有密码错误！请检查。");
  if (store::setPasswordHash(db, stored->name, hashPassword(fresh))) {
    web::ShowMessage("修改成功！");
  }
}

}  // namespace zeziza::pages::entry
