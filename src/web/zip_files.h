// ZIP files of the web service, through libzip: a delivery uploaded as one ZIP is unpacked into
// its folder under the upload's name rules and size limit, and a desk's result files are packed
// into one ZIP for downloading.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "web/upload_names.h"

namespace corvela::web {

struct Unpacked {
    std::vector<std::string> files;  // the plain names written, in the ZIP's order
    std::string refusal;             // empty when every entry was unpacked
    bool too_large = false;          // refused for the size limit
};

// Unpacks the delivery in `zip` into `folder`. Every entry is checked before anything is written:
// a plain name of a delivery's kind (`names`), no link, no encryption, and the expanded sizes
// together within `limit` bytes (counted again while unpacking, whatever the ZIP declares). A
// refusal names the entry; the files written before it stay in `folder` for the caller to remove.
Unpacked unpack_delivery(const std::filesystem::path& zip, const std::filesystem::path& folder,
                         uint64_t limit, UploadNames& names);

// Writes `files` into a new ZIP at `target` under their own names. Throws std::runtime_error with
// the reason when it cannot.
void pack_files(const std::filesystem::path& target,
                const std::vector<std::filesystem::path>& files);

}  // namespace corvela::web
