// A delivery received as an upload: the file parts of a multipart body (the files of one folder,
// or one ZIP) streamed to disk as they arrive, into a staging folder of the desk that becomes
// `entradas/<time>/` once everything was accepted. A name the upload rules refuse, a ZIP beside
// other files, or files (or a ZIP's expanded files) above the size limit refuse the whole upload
// with a message naming the file, and nothing of it stays. After a refusal the rest of the body is
// read and dropped, up to the limit once more, so that the browser reads the answer; a body that
// goes on beyond that is cut.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "web/upload_names.h"

namespace corvela::web {

class UploadReceiver {
  public:
    // Receives into a new staging folder inside `uploads` (the desk's `entradas`).
    UploadReceiver(std::filesystem::path uploads, uint64_t limit);
    ~UploadReceiver();
    UploadReceiver(const UploadReceiver&) = delete;
    UploadReceiver& operator=(const UploadReceiver&) = delete;

    // The multipart reader's calls: a part begins, a part's bytes. False ends the reading.
    bool begin_part(const httplib::MultipartFormData& part);
    bool receive(const char* data, size_t length);

    // Once the body has been read (`complete`: all of it): the delivery's name in `uploads`, or
    // empty after `refusal()` and `status()` were set.
    std::string finish(bool complete);
    const std::string& refusal() const { return refusal_; }
    int status() const { return status_; }
    // The files kept, by their plain names, in the order they came.
    const std::vector<std::string>& files() const { return files_; }

  private:
    bool refuse(int status, const std::string& why);
    bool close_file();

    std::filesystem::path uploads_, staging_;
    uint64_t limit_;
    uint64_t received_ = 0;  // bytes of the files so far
    uint64_t dropped_ = 0;   // bytes read after a refusal
    UploadNames names_;
    std::vector<std::string> files_;
    std::string current_;  // the name the part being received came with
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    bool zip_ = false;
    std::string refusal_;
    int status_ = 0;
};

// A name for a new upload: the time, as YYYYMMDD-HHMMSS-mmm (UTC).
std::string upload_time_name();

}  // namespace corvela::web
