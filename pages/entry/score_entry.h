#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pages/common/footer.h"
#include "pages/entry/entry_student.h"
#include "store/score_write.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Score entry, one score at a time: direct or computed from the full mark, with the last
// score shown beside and the entry scope above.
class ScoreEntryPage : public web::Page {
 public:
  ScoreEntryPage();

 private:
  void onCreate();
  void IWButton1Click();  // direct entry
  void IWButton2Click();  // computed entry
  void IWButton3Click();  // password change
  void IWLink1Click();    // delete the last score
  void IWLink2Click();
  void IWLink3Click();
  void IWLink4Click();
  void IWLink5Click();
  void IWLink6Click();
  void IWLink7Click();
  void IWLink8Click();

  void buildCaptions();
  void buildEnterKeys();
  void fillScope();
  entry::EntryScope currentScope() const;
  // The student of `number` when entry is allowed for them with a subject chosen in
  // `subjects`; otherwise the refusal is shown.
  std::optional<entry::Student> admittedStudent(const std::string& number,
                                                const web::ComboBox& subjects);
  // Stores the score; shows the refusals of the score write.
  store::ScoreWriteOutcome record(const entry::Student& student, int subjectIndex, double value);
  void showLastScore(const std::string& number, const std::string& name, int subjectIndex,
                     double value, std::int64_t rowId);
  void nextDirectEntry();
  void showPanel(web::Region* panel);

  // A class teacher's fixed scope, read at creation.
  std::optional<entry::EntryScope> teacherScope_;
  // The exam every score of this page goes to: the default exam as the page opened.
  std::string exam_;

  // Header line.
  web::Region header{*this, "header"};
  web::Label IWLabel15{header, "IWLabel15"};
  web::Label IWLabel16{header, "IWLabel16"};
  web::Label IWLabel4{header, "IWLabel4"};
  web::Label IWLabel19{header, "IWLabel19"};
  web::Label IWLabel20{header, "IWLabel20"};
  web::Link IWLink3{header, "IWLink3"};
  web::Link IWLink2{header, "IWLink2"};

  // Mode switches.
  web::Region modes{*this, "modes"};
  web::Link IWLink5{modes, "IWLink5"};
  web::Link IWLink6{modes, "IWLink6"};
  web::Link IWLink7{modes, "IWLink7"};
  web::Link IWLink8{modes, "IWLink8"};

  // Entry scope.
  web::Region scope{*this, "scope"};
  web::Label IWLabel25{scope, "IWLabel25"};
  web::ComboBox IWComboBox3{scope, "IWComboBox3"};
  web::ComboBox IWComboBox4{scope, "IWComboBox4"};
  web::ComboBox IWComboBox5{scope, "IWComboBox5"};

  // The last score beside the entry panels.
  web::Region entryBody{*this, "entryBody"};
  web::Region IWRegion2{entryBody, "IWRegion2"};
  web::Text lastScoreTitle{IWRegion2, "lastScoreTitle"};
  web::Label rowIdCaption{IWRegion2, "rowIdCaption"};
  web::Edit IWEdit3{IWRegion2, "IWEdit3"};
  web::Label lastNumberCaption{IWRegion2, "lastNumberCaption"};
  web::Edit IWEdit4{IWRegion2, "IWEdit4"};
  web::Label lastNameCaption{IWRegion2, "lastNameCaption"};
  web::Edit IWEdit5{IWRegion2, "IWEdit5"};
  web::Label lastSubjectCaption{IWRegion2, "lastSubjectCaption"};
  web::ComboBox IWComboBox6{IWRegion2, "IWComboBox6"};
  web::Label lastScoreCaption{IWRegion2, "lastScoreCaption"};
  web::Edit IWEdit7{IWRegion2, "IWEdit7"};
  web::Link IWLink1{IWRegion2, "IWLink1"};

  web::Region entryPanels{entryBody, "entryPanels"};

  // Direct entry.
  web::Region IWRegion7{entryPanels, "IWRegion7"};
  web::Label directSubjectCaption{IWRegion7, "directSubjectCaption"};
  web::ComboBox IWComboBox1{IWRegion7, "IWComboBox1"};
  web::CheckBox IWCheckBox1{IWRegion7, "IWCheckBox1"};
  web::Label directNumberCaption{IWRegion7, "directNumberCaption"};
  web::Edit IWEdit6{IWRegion7, "IWEdit6"};
  web::Edit IWEdit1{IWRegion7, "IWEdit1"};
  web::Label directScoreCaption{IWRegion7, "directScoreCaption"};
  web::Edit IWEdit2{IWRegion7, "IWEdit2"};
  web::Button IWButton1{IWRegion7, "IWButton1"};
  web::Text IWText3{IWRegion7, "IWText3"};

  // Computed entry.
  web::Region IWRegion8{entryPanels, "IWRegion8"};
  web::Label fullMarkCaption{IWRegion8, "fullMarkCaption"};
  web::Edit IWEdit8{IWRegion8, "IWEdit8"};
  web::Label computedSubjectCaption{IWRegion8, "computedSubjectCaption"};
  web::ComboBox IWComboBox2{IWRegion8, "IWComboBox2"};
  web::Label computedNumberCaption{IWRegion8, "computedNumberCaption"};
  web::Edit IWEdit9{IWRegion8, "IWEdit9"};
  web::Label deductionsCaption{IWRegion8, "deductionsCaption"};
  web::Memo IWMemo1{IWRegion8, "IWMemo1"};
  web::Button IWButton2{IWRegion8, "IWButton2"};
  web::Text IWText2{IWRegion8, "IWText2"};

  // Password change.
  web::Region IWRegion9{entryPanels, "IWRegion9"};
  web::Label passwordTitle{IWRegion9, "passwordTitle"};
  web::Label oldPasswordCaption{IWRegion9, "oldPasswordCaption"};
  web::Edit IWEdit10{IWRegion9, "IWEdit10"};
  web::Label newPasswordCaption{IWRegion9, "newPasswordCaption"};
  web::Edit IWEdit11{IWRegion9, "IWEdit11"};
  web::Label repeatPasswordCaption{IWRegion9, "repeatPasswordCaption"};
  web::Edit IWEdit12{IWRegion9, "IWEdit12"};
  web::Button IWButton3{IWRegion9, "IWButton3"};
  web::Link IWLink4{IWRegion9, "IWLink4"};

  web::Label IWLabel14{*this, "IWLabel14"};
  Footer footer{*this};
};

}  // namespace zeziza::pages
