// The file list of a delivery folder: its regular files whose names end in ".txt", letter case
// ignored, sorted by name with letter case ignored.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvela {

struct FileList {
    std::filesystem::path folder;
    std::vector<std::string> names;
};

FileList list_text_files(const std::filesystem::path& folder);

}  // namespace corvela
