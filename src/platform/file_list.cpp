#include "platform/file_list.h"

#include <algorithm>

#include "platform/text.h"

namespace corvela {

FileList list_text_files(const std::filesystem::path& folder) {
    FileList list{folder, {}};
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code type_ec;
        std::string name = it->path().filename().string();
        if (name.size() < 4 ||
            !equals_nocase(std::string_view(name).substr(name.size() - 4), ".txt"))
            continue;
        if (!it->is_regular_file(type_ec)) continue;
        list.names.push_back(name);
    }
    std::sort(list.names.begin(), list.names.end(), [](const std::string& a, const std::string& b) {
        std::string ua = to_upper(a), ub = to_upper(b);
        return ua != ub ? ua < ub : a < b;
    });
    return list;
}

}  // namespace corvela
