#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// 【删除本次考试成绩】, for the super administrator: an exam's scores are deleted as a whole
// (after a backup, each score kept in the history), so that the exam itself can go.
class ExamScoresSection : public web::Region {
 public:
  explicit ExamScoresSection(web::Container& parent);

  // Shows the section to the super administrator alone, with the session's exams.
  void load();

  web::ComboBox Exam{*this, "scoresExamBox"};
  web::Link Ask{*this, "deleteScoresLink"};
  web::Region Confirm{*this, "deleteScoresPanel"};
  web::Label Question{Confirm, "deleteScoresQuestion"};
  web::Edit TypedName{Confirm, "deleteScoresNameEdit"};
  web::Button Delete{Confirm, "deleteScoresButton"};
  web::Link Cancel{Confirm, "deleteScoresCancelLink"};

 private:
  // The exam and its number of score rows as the question named them.
  struct Pending {
    std::string exam;
    std::int64_t rows = 0;
  };

  void onAsk();
  void onDelete();
  void onCancel();
  void ask(const std::string& exam, std::int64_t rows);
  void close();

  std::optional<Pending> pending_;
};

}  // namespace zeziza::pages
