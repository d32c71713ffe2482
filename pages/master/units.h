#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/place_column.h"
#include "web/page.h"

namespace zeziza::pages {

// Units (schools), grades and classes: three independent lists that place every student.
class Tdwset : public web::Page {
 public:
  Tdwset();

 private:
  void IWAppFormCreate();
  void IWButton2Click() { units_.add(); }
  void IWButton3Click() { grades_.add(); }
  void IWButton4Click() { classes_.add(); }
  void IWGrid1CellClick(int row, int) { units_.remove(row); }
  void IWGrid2CellClick(int row, int) { grades_.remove(row); }
  void IWGrid3CellClick(int row, int) { classes_.remove(row); }

  Tmain Tmain1{*this};
  web::Region Columns{*this, "Columns"};
  PlaceColumn units_;
  PlaceColumn grades_;
  PlaceColumn classes_;
  TIWFrame19 TIWFrame191{*this};
};

}  // namespace zeziza::pages
