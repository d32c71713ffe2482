#include "base/option_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zeziza::base {
namespace {

struct Read {
  std::string port;
  std::string cloud;
  std::string cloudRead;
};

// The one loop both programs write: values after '=' or as the next argument.
Read readAll(const std::vector<std::string>& args) {
  Read read;
  OptionReader options(args);
  while (options.next()) {
    if (options.is("--port")) {
      read.port = std::to_string(options.number("--port", 0, 65535));
    } else if (options.is("--cloud")) {
      read.cloud = options.value("--cloud");
    } else if (options.is("--cloud-read")) {
      read.cloudRead = options.value("--cloud-read");
    } else {
      options.unknown();
    }
  }
  return read;
}

TEST(OptionReader, ReadsValuesJoinedOrSeparateAndTellsLongerNamesApart) {
  const auto read = readAll({"--port=81", "--cloud", "host=a", "--cloud-read=host=b"});
  EXPECT_EQ(read.port, "81");
  EXPECT_EQ(read.cloud, "host=a");
  EXPECT_EQ(read.cloudRead, "host=b");
  EXPECT_EQ(readAll({"--cloud="}).cloud, "");  // an empty value is a value
}

TEST(OptionReader, RefusesWithAMessageNamingTheOption) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--port"}, "--port needs a value"},
      {{"--port", "65536"}, "--port needs a number from 0 to 65535, got \"65536\""},
      {{"--port=8o"}, "--port needs a number from 0 to 65535, got \"8o\""},
      {{"--port= 81"}, "--port needs a number from 0 to 65535, got \" 81\""},
      {{"--portal=1"}, "unknown option \"--portal=1\" (see --help)"},
      {{"--clouds"}, "unknown option \"--clouds\" (see --help)"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args.front());
    try {
      readAll(args);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

}  // namespace
}  // namespace zeziza::base
