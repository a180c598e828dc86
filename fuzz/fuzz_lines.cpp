// Fuzzes the reading of a data file: encoding detection, the line split at CR LF, CR and LF, the
// comma split of records and of control records, and the text conversions applied to fields.
// Checks that a Windows-1252 file is written back byte for byte and that no line holds a line
// end.
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "app/control_file.h"
#include "platform/encoding.h"
#include "platform/line_reader.h"
#include "platform/record_split.h"
#include "platform/text.h"

using namespace corvela;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corvela-fuzz-lines-" + std::to_string(getpid()));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!is_valid_utf8(bytes) &&
        encode(decode(bytes, Encoding::Windows1252), Encoding::Windows1252) != bytes)
        std::abort();

    LineReader reader(path);
    std::string line;
    while (reader.next(line)) {
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos)
            std::abort();
        if (!is_valid_utf8(line)) std::abort();
        const size_t chars = char_length(line);
        int fields = split_record(line, [&](int, std::string_view v) {
            (void)is_numeric(v);
            (void)leading_number_value(v);
            (void)parse_date(v);
            (void)to_upper(v);
            if (char_length(mid_chars(v, 2)) > char_length(v)) std::abort();
        });
        if (static_cast<size_t>(fields) > chars + 1) std::abort();
        if (split_control_record(line).size() > 5) std::abort();
        if (encode(line, reader.encoding()).empty() != line.empty()) std::abort();
    }
    return 0;
}
