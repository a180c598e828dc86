// The lock of an installation: one operation at a time may change the working database. It is
// an exclusive lock on a file beside the databases, taken without waiting and released when the
// holder ends, also when its process is killed, so a crash never leaves it stuck.
#pragma once

#include <filesystem>

namespace corvela {

class OperationLock {
  public:
    // Tries to take the lock once; `held()` tells whether it was taken.
    explicit OperationLock(const std::filesystem::path& lock_file);
    ~OperationLock();
    OperationLock(const OperationLock&) = delete;
    OperationLock& operator=(const OperationLock&) = delete;

    bool held() const { return held_; }

  private:
    bool held_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace corvela
