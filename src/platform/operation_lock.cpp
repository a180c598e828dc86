#include "platform/operation_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace corvela {

#ifdef _WIN32
OperationLock::OperationLock(const std::filesystem::path& lock_file) {
    // No sharing: a second opener fails while this handle is open.
    HANDLE h = CreateFileW(lock_file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        handle_ = h;
        held_ = true;
    }
}

OperationLock::~OperationLock() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}
#else
OperationLock::OperationLock(const std::filesystem::path& lock_file) {
    fd_ = ::open(lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

OperationLock::~OperationLock() {
    if (fd_ >= 0) ::close(fd_);
}
#endif

}  // namespace corvela
