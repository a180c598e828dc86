#include "web/upload.h"

#include <fmt/format.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/text.h"
#include "web/zip_files.h"

namespace corvela::web {

namespace {
constexpr const char* kZipName = "entrega.zip";

bool names_zip(const std::string& name) {
    return name.size() > 4 && to_upper(name.substr(name.size() - 4)) == ".ZIP";
}

// A new folder in `parent` named `name`, or `name-2`, `name-3` … when taken; its path.
std::filesystem::path new_folder(const std::filesystem::path& parent, const std::string& name) {
    for (int n = 1;; ++n) {
        auto folder = parent / (n == 1 ? name : name + "-" + std::to_string(n));
        if (std::filesystem::create_directory(folder)) return folder;
    }
}

std::string limit_text(uint64_t limit) {
    return std::to_string(limit / (1024 * 1024)) + " MB (web_subida_mb)";
}
}  // namespace

std::string upload_time_name() {
    using namespace std::chrono;
    const auto now = floor<milliseconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    return fmt::format("{:04}{:02}{:02}-{:02}{:02}{:02}-{:03}", static_cast<int>(date.year()),
                       static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                       time.hours().count(), time.minutes().count(), time.seconds().count(),
                       time.subseconds().count());
}

UploadReceiver::UploadReceiver(std::filesystem::path uploads, uint64_t limit)
    : uploads_(std::move(uploads)), limit_(limit) {
    std::filesystem::create_directories(uploads_);
    // A dot first: the retention sweep and the list of uploads tell a staging folder apart.
    staging_ = new_folder(uploads_, "." + upload_time_name() + ".parcial");
}

UploadReceiver::~UploadReceiver() {
    file_.reset();
    std::error_code ec;
    if (!staging_.empty()) std::filesystem::remove_all(staging_, ec);
}

bool UploadReceiver::refuse(int status, const std::string& why) {
    if (refusal_.empty()) {
        refusal_ = why;
        status_ = status;
    }
    file_.reset();
    return true;
}

bool UploadReceiver::close_file() {
    if (!file_) return true;
    const bool written = std::fflush(file_.get()) == 0;
    file_.reset();
    if (!written)
        refuse(507, "El archivo " + quoted_name(current_) +
                        " no se pudo guardar: " + std::strerror(errno) + ".");
    return written;
}

bool UploadReceiver::begin_part(const httplib::MultipartFormData& part) {
    if (!refusal_.empty()) return true;
    close_file();
    current_ = part.filename;
    if (current_.empty()) return true;  // a field of the form, not a file: not kept
    std::string why;
    std::filesystem::path target;
    if (zip_ || (names_zip(current_) && !files_.empty()))
        return refuse(400, "El archivo " + quoted_name(current_) +
                               " no se acepta: una entrega llega como sus archivos o como un ZIP "
                               "solo, no los dos.");
    if (names_zip(current_)) {
        if (current_.find_first_of("/\\") != std::string::npos)
            return refuse(400,
                          "El archivo " + quoted_name(current_) + " no se acepta: lleva carpetas.");
        zip_ = true;
        target = staging_ / kZipName;
    } else {
        const auto plain = names_.admit(current_, why);
        if (!plain) return refuse(400, why);
        files_.push_back(*plain);
        target = staging_ / *plain;
    }
    // "x": a new file only, never one that exists or a link in its place.
    file_.reset(std::fopen(target.c_str(), "wbx"));
    if (!file_)
        return refuse(507, "El archivo " + quoted_name(current_) +
                               " no se pudo guardar: " + std::strerror(errno) + ".");
    return true;
}

bool UploadReceiver::receive(const char* data, size_t length) {
    if (!refusal_.empty()) {
        dropped_ += length;
        return dropped_ <= limit_;
    }
    received_ += length;
    if (received_ > limit_)
        return refuse(413, "El archivo " + quoted_name(current_) +
                               " no se acepta: con él la entrega pasa del límite de " +
                               limit_text(limit_) + ".");
    if (file_ && std::fwrite(data, 1, length, file_.get()) != length)
        return refuse(507, "El archivo " + quoted_name(current_) +
                               " no se pudo guardar: " + std::strerror(errno) + ".");
    return true;
}

std::string UploadReceiver::finish(bool complete) {
    close_file();
    if (refusal_.empty() && !complete) refuse(400, "La entrega no llegó completa.");
    if (refusal_.empty() && zip_) {
        const auto zip = staging_ / kZipName;
        Unpacked unpacked = unpack_delivery(zip, staging_, limit_, names_);
        std::filesystem::remove(zip);
        files_ = unpacked.files;
        if (!unpacked.refusal.empty()) refuse(unpacked.too_large ? 413 : 400, unpacked.refusal);
    }
    if (refusal_.empty() && files_.empty()) refuse(400, "La entrega no trae archivos.");
    if (!refusal_.empty()) return {};
    // The staging folder becomes the delivery's folder, under the time it came.
    std::string name = upload_time_name();
    for (int n = 2; std::filesystem::exists(uploads_ / name); ++n)
        name = upload_time_name() + "-" + std::to_string(n);
    std::filesystem::rename(staging_, uploads_ / name);
    staging_.clear();
    return name;
}

}  // namespace corvela::web
