#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/output_file.h"
#include "support/installation.h"

namespace corvela {
namespace {

std::vector<std::string> read_all(const std::string& bytes, Encoding* enc = nullptr) {
    const testing::TempFolder folder;
    std::ofstream(folder / "lineas.txt", std::ios::binary) << bytes;
    LineReader r(folder / "lineas.txt");
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) lines.push_back(line);
    if (enc) *enc = r.encoding();
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
    const struct {
        const char* bytes;
        std::vector<std::string> lines;
        Encoding encoding;
    } cases[] = {
        {"MU\xD1OZ\r\n", {"MUÑOZ"}, Encoding::Windows1252},
        {"\xEF\xBB\xBFMUÑOZ\r\n", {"MUÑOZ"}, Encoding::Utf8},
        // A UTF-8 sequence cut by the end of the file is no UTF-8.
        {"MU\xC3", {"MUÃ"}, Encoding::Windows1252},
        // A line in UTF-8 and one in Windows-1252: the file as a whole is not UTF-8.
        {"MU\xC3\x91OZ\r\nMU\xD1OZ", {"MUÃ‘OZ", "MUÑOZ"}, Encoding::Windows1252},
    };
    for (const auto& c : cases) {
        Encoding e;
        EXPECT_EQ(read_all(c.bytes, &e), c.lines) << c.bytes;
        EXPECT_EQ(e, c.encoding) << c.bytes;
    }
}

TEST(LineReader, HoldsALineLongerThanItsBufferAndACrLfAcrossTwoBuffers) {
    // The buffer holds 65,536 bytes: a line of 65,535 puts its CR last in the buffer, its LF first
    // in the next one.
    for (size_t length : {200000u, 65535u}) {
        const std::string big(length, 'x');
        EXPECT_EQ(read_all(big + "\r\nfin"), (std::vector<std::string>{big, "fin"})) << length;
    }
}

TEST(OutputFile, LinesComeBackAsWrittenAcrossManyBlocksInEitherEncoding) {
    const testing::TempFolder folder;
    const auto path = folder / "salida.txt";
    std::vector<std::string> lines;
    for (int i = 0; i < 5000; ++i)
        lines.push_back(std::string(static_cast<size_t>(i % 97), 'x') + "ÑÁ" + std::to_string(i));
    for (Encoding e : {Encoding::Utf8, Encoding::Windows1252}) {
        OutputFile out(path, e);
        for (const auto& l : lines) out.write_line(l);
        out.close();
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
}

}  // namespace
}  // namespace corvela
