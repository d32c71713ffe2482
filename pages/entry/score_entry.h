#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pages/common/footer.h"
#include "pages/common/scope_selector.h"
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
  static constexpr const char* kName = "ScoreEntryPage";
  ScoreEntryPage();

 private:
  void onCreate();
  void onDirectEntry();
  void onComputedEntry();
  void onChangePassword();
  void onDeleteLast();  // the last score shown
  void onSignOut();
  void onPasswordPanel();
  void onClosePassword();
  void onDirectMode();
  void onComputedMode();
  void onGridMode();
  void onImportMode();
  void onAnalysis();

  void buildCaptions();
  void buildEnterKeys();
  // The student of `number` when entry is allowed for them with a subject chosen in
  // `subjects`; otherwise the refusal is shown.
  std::optional<entry::Student> admittedStudent(const std::string& number,
                                                const web::ComboBox& subjects);
  // Stores the score; shows the refusals of the score write.
  store::ScoreWriteOutcome record(const entry::Student& student, int subjectIndex, double value);
  void showLastScore(const std::string& number, const std::string& name, int subjectIndex,
                     double value, std::int64_t rowId);
  void nextDirectEntry();
  // The sum of the typed deductions; nullopt (with the line named) when one is not a number.
  std::optional<double> deductionSum();
  bool examStillDefault();
  void showPanel(web::Region* panel);

  // The exam every score of this page goes to: the default exam as the page opened.
  std::string exam_;

  // Header line.
  web::Region header{*this, "header"};
  web::Label locationCaption{header, "locationCaption"};
  web::Label examTitleCaption{header, "examTitleCaption"};
  web::Label examCaption{header, "examCaption"};
  web::Label userTitleCaption{header, "userTitleCaption"};
  web::Label userCaption{header, "userCaption"};
  web::Link analysisLink{header, "analysisLink"};  // for the codes that also analyse
  web::Link passwordLink{header, "passwordLink"};
  web::Link signOutLink{header, "signOutLink"};

  // Mode switches.
  web::Region modes{*this, "modes"};
  web::Link directModeLink{modes, "directModeLink"};
  web::Link computedModeLink{modes, "computedModeLink"};
  web::Link gridModeLink{modes, "gridModeLink"};
  web::Link importModeLink{modes, "importModeLink"};

  // Entry scope.
  web::Region scope{*this, "scope"};
  web::Label scopeCaption{scope, "scopeCaption"};
  ScopeSelector scopeBoxes{scope,
                           {.unit = ScopeBox{.allItem = "不限学校"},
                            .grade = ScopeBox{.allItem = "不限年级"},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();

  // The last score beside the entry panels.
  web::Region entryBody{*this, "entryBody"};
  web::Region lastScorePanel{entryBody, "lastScorePanel"};
  web::Text lastScoreTitle{lastScorePanel, "lastScoreTitle"};
  web::Label rowIdCaption{lastScorePanel, "rowIdCaption"};
  web::Edit rowIdEdit{lastScorePanel, "rowIdEdit"};
  web::Label lastNumberCaption{lastScorePanel, "lastNumberCaption"};
  web::Edit lastNumberEdit{lastScorePanel, "lastNumberEdit"};
  web::Label lastNameCaption{lastScorePanel, "lastNameCaption"};
  web::Edit lastNameEdit{lastScorePanel, "lastNameEdit"};
  web::Label lastSubjectCaption{lastScorePanel, "lastSubjectCaption"};
  web::ComboBox lastSubjectBox{lastScorePanel, "lastSubjectBox"};
  web::Label lastScoreCaption{lastScorePanel, "lastScoreCaption"};
  web::Edit lastScoreEdit{lastScorePanel, "lastScoreEdit"};
  web::Link deleteLastLink{lastScorePanel, "deleteLastLink"};

  web::Region entryPanels{entryBody, "entryPanels"};

  // Direct entry.
  web::Region directPanel{entryPanels, "directPanel"};
  web::Label directSubjectCaption{directPanel, "directSubjectCaption"};
  web::ComboBox directSubjectBox{directPanel, "directSubjectBox"};
  web::CheckBox autoIncrementBox{directPanel, "autoIncrementBox"};
  web::Label directNumberCaption{directPanel, "directNumberCaption"};
  web::Edit numberPrefixEdit{directPanel, "numberPrefixEdit"};
  web::Edit directNumberEdit{directPanel, "directNumberEdit"};
  web::Label directScoreCaption{directPanel, "directScoreCaption"};
  web::Edit directScoreEdit{directPanel, "directScoreEdit"};
  web::Button directEnterButton{directPanel, "directEnterButton"};
  web::Text directHelp{directPanel, "directHelp"};

  // Computed entry.
  web::Region computedPanel{entryPanels, "computedPanel"};
  web::Label fullMarkCaption{computedPanel, "fullMarkCaption"};
  web::Edit fullMarkEdit{computedPanel, "fullMarkEdit"};
  web::Label computedSubjectCaption{computedPanel, "computedSubjectCaption"};
  web::ComboBox computedSubjectBox{computedPanel, "computedSubjectBox"};
  web::Label computedNumberCaption{computedPanel, "computedNumberCaption"};
  web::Edit computedNumberEdit{computedPanel, "computedNumberEdit"};
  web::Label deductionsCaption{computedPanel, "deductionsCaption"};
  web::Memo deductionsMemo{computedPanel, "deductionsMemo"};
  web::Button computedEnterButton{computedPanel, "computedEnterButton"};
  web::Text computedHelp{computedPanel, "computedHelp"};

  // Password change.
  web::Region passwordPanel{entryPanels, "passwordPanel"};
  web::Label passwordTitle{passwordPanel, "passwordTitle"};
  web::Label oldPasswordCaption{passwordPanel, "oldPasswordCaption"};
  web::Edit oldPasswordEdit{passwordPanel, "oldPasswordEdit"};
  web::Label newPasswordCaption{passwordPanel, "newPasswordCaption"};
  web::Edit newPasswordEdit{passwordPanel, "newPasswordEdit"};
  web::Label repeatPasswordCaption{passwordPanel, "repeatPasswordCaption"};
  web::Edit repeatPasswordEdit{passwordPanel, "repeatPasswordEdit"};
  web::Button changePasswordButton{passwordPanel, "changePasswordButton"};
  web::Link closePasswordLink{passwordPanel, "closePasswordLink"};

  web::Label zeroScoreNote{*this, "zeroScoreNote"};
  Footer footer{*this};
};

}  // namespace zeziza::pages
