#include "pages/common/workbook_download.h"

#include <filesystem>
#include <string>

#include "export/workbook_file.h"
#include "export/workbook_writer.h"
#include "web/user_session.h"

namespace zeziza::pages {

void sendWorkbook(const store::Query& result, const spreadsheet::SheetLayout& layout,
                  const std::string& downloadName) {
  if (!result.isOpen()) {
    web::ShowMessage(std::string(kExportNoQueryMessage));
    return;
  }
  web::TIWUserSession& session = web::UserSession();
  std::filesystem::path file;
  try {
    file = spreadsheet::freshWorkbookFile(session.cacheFolder());
    spreadsheet::writeWorkbook(result, layout, file);
  } catch (const std::exception&) {
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);
    web::ShowMessage(std::string(kExportFailedMessage));
    return;
  }
  session.SendFile(file, downloadName);
}

}  // namespace zeziza::pages
