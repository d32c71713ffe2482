#include "pages/entry/entry_password.h"

#include "pages/signin/credentials.h"
#include "store/query.h"
#include "web/user_session.h"

namespace zeziza::pages::entry {

void changeOwnPassword(store::Query& query, const std::string& user, const std::string& old,
                       const std::string& fresh, const std::string& repeat) {
  if (fresh != repeat) return web::ShowMessage("重复密码错误");
  const auto stored = verifyCredentials(user, old);
  if (!stored) return web::ShowMessage("原有密码错误！请检查。");
  if (query.exec("update yh set pass=? where user=?",
                 {store::Value(hashPassword(fresh)), store::Value(stored->name)}) > 0) {
    web::ShowMessage("修改成功！");
  }
}

}  // namespace zeziza::pages::entry
