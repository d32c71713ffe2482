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
  void IWButton1Click();
  void tableImportClick();
  void IWLink1Click();

  web::Region header{*this, "header"};
  web::Label IWLabel15{header, "IWLabel15"};
  web::Label IWLabel84{header, "IWLabel84"};
  web::Label IWLabel8{header, "IWLabel8"};
  web::Label IWLabel4{header, "IWLabel4"};
  web::Label IWLabel7{header, "IWLabel7"};
  web::Label IWLabel20{header, "IWLabel20"};
  web::Link IWLink1{header, "IWLink1"};

  web::Region work{*this, "work"};
  web::Region columns{work, "columns"};
  web::Region numbersColumn{columns, "numbersColumn"};
  web::Label numbersCaption{numbersColumn, "numbersCaption"};
  web::Memo Memo1{numbersColumn, "Memo1"};
  web::Region scoresColumn{columns, "scoresColumn"};
  web::Label scoresCaption{scoresColumn, "scoresCaption"};
  web::Memo Memo2{scoresColumn, "Memo2"};
  web::Label subjectCaption{work, "subjectCaption"};
  web::ComboBox IWComboBox1{work, "IWComboBox1"};
  web::Button IWButton1{work, "IWButton1"};
  web::Text IWText1{work, "IWText1"};

  // Several subjects at once: a block pasted from a spreadsheet with its heading line.
  web::Region tableWork{*this, "tableWork"};
  web::Label tableCaption{tableWork, "tableCaption"};
  web::Memo tableMemo{tableWork, "tableMemo"};
  web::Button tableButton{tableWork, "tableButton"};
  web::Text tableHelp{tableWork, "tableHelp"};

  Footer footer{*this};
};

}  // namespace zeziza::pages
