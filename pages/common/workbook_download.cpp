#include "pages/common/workbook_download.h"

#include <filesystem>
#include <functional>
#include <string>

#include "export/workbook_file.h"
#include "export/workbook_writer.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// Writes a fresh workbook with `write` and answers the click with it; a failure leaves no file.
void sendFresh(const std::function<void(const std::filesystem::path&)>& write,
               const std::string& downloadName) {
  web::Session& session = web::currentSession();
  std::filesystem::path file;
  try {
    file = spreadsheet::freshWorkbookFile(session.cacheFolder());
    write(file);
  } catch (const std::exception& e) {
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);
    const auto* failed = dynamic_cast<const spreadsheet::ExportError*>(&e);
    web::ShowMessage(
        std::string(failed && failed->diskFull() ? kExportDiskFullMessage : kExportFailedMessage));
    return;
  }
  session.SendFile(file, downloadName.empty() ? file.filename().string() : downloadName, true);
}

}  // namespace

void sendWorkbook(const store::Query& result, const spreadsheet::SheetLayout& layout,
                  const std::string& downloadName) {
  if (!result.isOpen()) {
    web::ShowMessage(std::string(kExportNoQueryMessage));
    return;
  }
  sendFresh([&](const auto& file) { spreadsheet::writeWorkbook(result, layout, file); },
            downloadName);
}

void sendWorkbook(const spreadsheet::ResultPieces& pieces, const spreadsheet::SheetLayout& layout,
                  const std::string& downloadName) {
  sendFresh([&](const auto& file) { spreadsheet::writeWorkbook(pieces, layout, file); },
            downloadName);
}

void sendRows(const spreadsheet::SheetRows& rows, const std::string& downloadName) {
  sendFresh([&](const auto& file) { spreadsheet::writeRows(rows, file); }, downloadName);
}

void sendWritten(const std::function<void(const std::filesystem::path&)>& write,
                 const std::string& downloadName) {
  sendFresh(write, downloadName);
}

}  // namespace zeziza::pages
