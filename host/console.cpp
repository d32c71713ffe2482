#include "host/console.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "base/platform/process.h"
#include "base/platform/text.h"
#include "base/reset_answer.h"

namespace zeziza::host {

void Console::printBanner() {
  out_ << kAppTitle << "\n" << kVersionCaption << "\n";
  out_ << "本机地址: " << host_.localAddress() << "\n";
  out_ << "数据目录: " << platform::utf8Path(std::filesystem::absolute(options_.dataDir)) << "\n";
  out_ << host_.onlineCountText() << "\n";
  out_ << "命令: reset（重置系统）  open（本机浏览）  manual（使用手册）  quit（退出）\n";
  out_.flush();
}

bool Console::command(const std::string& line, std::istream& in) {
  if (line == "quit" || line == "exit") return false;
  if (line == "reset") {
    reset(in);
  } else if (line == "open") {
    openLocal();
  } else if (line == "manual") {
    manual();
  } else if (!line.empty()) {
    out_ << "未知命令: " << line << "（可用: reset open manual quit）\n";
  }
  out_.flush();
  return true;
}

// Only "确认" or "yes", exactly, resets; any other answer says that nothing was changed.
void Console::reset(std::istream& in) {
  out_ << "确认操作: " << kResetPrompt << "\n> " << std::flush;
  std::string answer;
  if (!std::getline(in, answer) || !base::confirmsReset(answer)) {
    out_ << "没有重置，数据未改变。要重置请再输入reset，并在提示后输入“确认”或yes。\n";
    return;
  }
  // A failed reset (no backup could be written, the database busy) changes nothing and
  // must not take the server down with it.
  try {
    host_.resetSystem();
  } catch (const std::exception& e) {
    out_ << "系统重置失败，数据未改变，服务器继续运行。原因: " << e.what() << "\n";
    return;
  }
  out_ << "系统已恢复到初始状态。\n";
}

void Console::openLocal() {
  openAddress(host_.localAddress());
}

void Console::manual() {
  if (options_.site.empty()) {
    out_ << "未设置网站地址，请用 --site 指定。\n";
    return;
  }
  openAddress(options_.site + "/vezav/manual");
}

void Console::openAddress(const std::string& address) {
  if (platform::openInBrowser(address)) {
    out_ << "已在浏览器中打开: " << address << "\n";
    return;
  }
  out_ << "请在浏览器中打开: " << address << "\n";
}

}  // namespace zeziza::host
