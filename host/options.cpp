#include "host/options.h"

#include <charconv>
#include <stdexcept>

namespace zeziza::host {

namespace {

std::string lowered(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// "-LaunchBrowser" or "/launchbrowser": the switches of the original command line.
bool isSwitch(const std::string& arg, std::string_view name) {
  return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') &&
         lowered(arg.substr(1)) == lowered(std::string(name));
}

int parsePort(const std::string& text) {
  int port = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
    throw std::invalid_argument("--port needs a number from 0 to 65535, got \"" + text + "\"");
  }
  return port;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string_view name) -> std::string {
      const std::string prefix = std::string(name) + "=";
      if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
      if (i + 1 >= args.size()) throw std::invalid_argument(std::string(name) + " needs a value");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--port" || arg.rfind("--port=", 0) == 0) {
      options.port = parsePort(value("--port"));
    } else if (arg == "--data-dir" || arg.rfind("--data-dir=", 0) == 0) {
      options.dataDir = value("--data-dir");
    } else if (arg == "--site" || arg.rfind("--site=", 0) == 0) {
      options.site = value("--site");
    } else if (isSwitch(arg, "LaunchBrowser")) {
      options.launchBrowser = true;
    } else if (isSwitch(arg, "Minimize")) {
      options.minimize = true;
    } else {
      throw std::invalid_argument("unknown option \"" + arg + "\" (see --help)");
    }
  }
  return options;
}

std::string usage() {
  return "Usage: zeziza [options]\n"
         "  --port N          listening port (default 81; below 1024 needs root)\n"
         "  --data-dir DIR    data folder (default: the working directory)\n"
         "  --site URL        address of the vendor web site for the manual\n"
         "  -LaunchBrowser    open the local address in the default browser at start\n"
         "  -Minimize         accepted for compatibility; changes nothing\n"
         "  --help            this text\n";
}

}  // namespace zeziza::host
