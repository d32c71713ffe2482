#include "pages/entry/exam_in_use.h"

#include "store/settings.h"
#include "web/controls/display.h"
#include "web/user_session.h"

namespace zeziza::pages::entry {

std::string switchedExamMessage(const std::string& stored) {
  if (stored.empty()) return "尚未设置默认考试项目，请先设置考试项目后再录入成绩！";
  return "默认考试已改为“" + stored + "”，请确认后重新操作。";
}

bool examStillDefault(web::Label& caption) {
  web::Session& session = web::currentSession();
  const std::string stored =
      store::readSetting(session.dataConnection.db(), store::key::kDefaultExam);
  if (!stored.empty() && stored == caption.Caption) return true;
  caption.Caption = stored;
  session.login.defaultExam = stored;
  web::ShowMessage(switchedExamMessage(stored));
  return false;
}

}  // namespace zeziza::pages::entry
