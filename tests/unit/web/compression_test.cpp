#include "web/compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "web/html.h"

namespace zeziza::web {
namespace {

std::string gunzip(const std::string& packed) {
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  std::string out;
  int result = Z_OK;
  while (result == Z_OK) {
    char buffer[4096];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  inflateEnd(&stream);
  EXPECT_EQ(result, Z_STREAM_END) << "not one whole gzip stream";
  return out;
}

// A table of rows as a big analysis page writes it: far more than one spill.
std::string rowsText(int rows) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    text += "<tr><td>" + std::to_string(r) + "</td><td>[ " + std::to_string(r * 7 % 1013) +
            " ] 87.5</td><td>张三</td></tr>";
  }
  return text;
}

TEST(GzipStream, PiecesMakeOneStreamOfTheWholeText) {
  const std::string big = rowsText(20000);
  const std::vector<std::vector<std::string>> cases = {
      {},
      {""},
      {"<html>"},
      {big},
      {big.substr(0, 100000), "", big.substr(100000, 1), big.substr(100001)},
  };
  for (const auto& pieces : cases) {
    GzipStream stream;
    std::string whole;
    for (const auto& piece : pieces) {
      stream.write(piece);
      whole += piece;
    }
    EXPECT_EQ(gunzip(stream.finish()), whole) << pieces.size() << " pieces";
  }
  EXPECT_EQ(gunzip(gzip(big)), big);
}

TEST(HtmlWriterSpill, ABigPageLeavesInPiecesThatJoinToTheSamePage) {
  std::vector<std::string> pieces;
  HtmlWriter spilled([&](std::string_view piece) { pieces.emplace_back(piece); });
  HtmlWriter whole;
  for (int r = 0; r < 5000; ++r) {
    for (HtmlWriter* out : {&spilled, &whole}) {
      out->raw("<td").attr("title", "a\"b").raw(">").text("<" + std::to_string(r) + ">");
    }
  }
  spilled.flush();
  EXPECT_GT(pieces.size(), 2u);
  EXPECT_TRUE(spilled.str().empty());
  std::string joined;
  for (const auto& piece : pieces) {
    EXPECT_LE(piece.size(), HtmlWriter::kSpillBytes + 64);  // never the whole page at once
    joined += piece;
  }
  EXPECT_EQ(joined, whole.str());
  whole.flush();  // no spill: the page stays to be taken
  EXPECT_EQ(whole.take(), joined);
}

}  // namespace
}  // namespace zeziza::web
