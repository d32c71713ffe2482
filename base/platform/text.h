#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::platform {

// Text inside the program is UTF-8; these convert at the edge to what the system takes, so a
// folder like D:\成绩系统\数据 works on Windows as /srv/成绩 does on Linux.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8Path(const std::filesystem::path& path);

// The command line's arguments after the program name, in UTF-8.
std::vector<std::string> commandArguments(int argc, char** argv);

// Makes the console show and take UTF-8 (nothing to do on Linux).
void useUtf8Console();

}  // namespace zeziza::platform
