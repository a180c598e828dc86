#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/output_file.h"

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

TEST(OutputFile, LinesComeBackAsWrittenAcrossManyBlocksInEitherEncoding) {
    auto path = std::filesystem::temp_directory_path() / "corvela-output-file.txt";
    std::vector<std::string> lines;
    for (int i = 0; i < 5000; ++i)
        lines.push_back(std::string(static_cast<size_t>(i % 97), 'x') + "ÑÁ" + std::to_string(i));
    for (Encoding e : {Encoding::Utf8, Encoding::Windows1252}) {
        OutputFile out(path, e);
        for (const auto& l : lines) out.write_line(l);
        out.close();
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes.size(), e == Encoding::Utf8 ? 287724u : 277724u);
        EXPECT_EQ(bytes.substr(bytes.size() - 8), e == Encoding::Utf8 ? "\xC3\x81"
                                                                        "4999\r\n"
                                                                      : "\xD1\xC1"
                                                                        "4999\r\n");
        LineReader r(path);
        std::vector<std::string> back;
        std::string line;
        while (r.next(line)) back.push_back(line);
        EXPECT_EQ(back, lines);
    }
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace corvela
