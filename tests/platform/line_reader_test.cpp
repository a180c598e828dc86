#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace corvela {
namespace {

std::vector<std::string> read_all(const std::string& bytes, Encoding* enc = nullptr) {
    auto path = std::filesystem::temp_directory_path() / "corvela-line-reader.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    LineReader r(path);
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) lines.push_back(line);
    if (enc) *enc = r.encoding();
    std::filesystem::remove(path);
    return lines;
}

TEST(LineReader, EndsLinesAtCrLfCrOrLf) {
    using V = std::vector<std::string>;
    EXPECT_EQ(read_all("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(read_all("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(read_all("\r\r\r"), (V{"", "", ""}));
    EXPECT_EQ(read_all(""), V{});
    EXPECT_EQ(read_all("0123456789abcdef\r01234567\n0123456\r\n89abcdefghij"),
              (V{"0123456789abcdef", "01234567", "0123456", "89abcdefghij"}));
}

TEST(LineReader, DecodesWindows1252AndSkipsTheUtf8Mark) {
    Encoding e;
    EXPECT_EQ(read_all("MU\xD1OZ\r\n", &e), std::vector<std::string>{"MUÑOZ"});
    EXPECT_EQ(e, Encoding::Windows1252);
    EXPECT_EQ(read_all("\xEF\xBB\xBFMUÑOZ\r\n", &e), std::vector<std::string>{"MUÑOZ"});
    EXPECT_EQ(e, Encoding::Utf8);
}

TEST(LineReader, HoldsALineLongerThanItsBuffer) {
    std::string big(200000, 'x');
    auto lines = read_all(big + "\r\nfin");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), big.size());
}

}  // namespace
}  // namespace corvela
