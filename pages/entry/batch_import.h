#pragma once

#include "pages/common/footer.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Batch import of pasted score columns: exam numbers in one memo, scores in the other.
class BatchImportPage : public web::Page {
 public:
  BatchImportPage();

 private:
  void onCreate();
  void onImport();
  void onTableImport();
  void onBack();

  web::Region header{*this, "header"};
  web::Label locationTitleCaption{header, "locationTitleCaption"};
  web::Label locationCaption{header, "locationCaption"};
  web::Label examTitleCaption{header, "examTitleCaption"};
  web::Label examCaption{header, "examCaption"};
  web::Label userTitleCaption{header, "userTitleCaption"};
  web::Label userCaption{header, "userCaption"};
  web::Link backLink{header, "backLink"};

  web::Region work{*this, "work"};
  web::Region columns{work, "columns"};
  web::Region numbersColumn{columns, "numbersColumn"};
  web::Label numbersCaption{numbersColumn, "numbersCaption"};
  web::Memo numbersMemo{numbersColumn, "numbersMemo"};
  web::Region scoresColumn{columns, "scoresColumn"};
  web::Label scoresCaption{scoresColumn, "scoresCaption"};
  web::Memo scoresMemo{scoresColumn, "scoresMemo"};
  web::Label subjectCaption{work, "subjectCaption"};
  web::ComboBox subjectBox{work, "subjectBox"};
  web::Button importButton{work, "importButton"};
  web::Text importHelp{work, "importHelp"};

  // Several subjects at once: a block pasted from a spreadsheet with its heading line.
  web::Region tableWork{*this, "tableWork"};
  web::Label tableCaption{tableWork, "tableCaption"};
  web::Memo tableMemo{tableWork, "tableMemo"};
  web::Button tableButton{tableWork, "tableButton"};
  web::Text tableHelp{tableWork, "tableHelp"};

  Footer footer{*this};
};

}  // namespace zeziza::pages
