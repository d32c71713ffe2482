#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "base/platform/text.h"
#include "wide.h"

namespace zeziza::platform {

std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::filesystem::path(wideFromUtf8(text));
}

std::string utf8Path(const std::filesystem::path& path) {
  return utf8FromWide(path.native());
}

// argv holds the arguments in the ANSI code page, which loses Chinese characters on most
// systems; the wide command line keeps them.
std::vector<std::string> commandArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

void useUtf8Console() {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
}

}  // namespace zeziza::platform
