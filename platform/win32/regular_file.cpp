// Files the show reads are regular files of a bounded size. Anything else at
// a data path (a folder, a device, a pipe, a socket, a link to one of these)
// is refused as if the file were not there: a folder opens and then fails
// every read, a device never ends, and a pipe blocks the open itself.
#include <win32_standin.h>

#include "standin.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace win32::detail {

namespace {

// Why a file that opened is refused, as errno tells it.
int RefusalOf(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(status.st_mode)) {
        return EINVAL;
    }
    if (status.st_size > kMaxReadableFileBytes) {
        return EFBIG;
    }
    return 0;
}

}  // namespace

std::FILE* OpenRegularFile(const std::string& nativePath) {
    // Non-blocking, so that a pipe does not wait for a writer before it can
    // be refused; the flag is dropped again for the reads.
    const int fd = open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    int refusal = fstat(fd, &status) != 0 ? errno : RefusalOf(status);
    if (refusal == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        refusal = errno;
    }
    std::FILE* file = refusal == 0 ? fdopen(fd, "rb") : nullptr;
    if (file == nullptr) {
        if (refusal == 0) {
            refusal = errno;
        }
        close(fd);
        errno = refusal;
    }
    return file;
}

}  // namespace win32::detail
