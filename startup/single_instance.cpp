#include "startup/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <algorithm>
#include <cstring>

namespace quilvane {

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

bool SingleInstance::Claim(const std::string& name) {
    if (fd_ >= 0) return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract namespace: a leading NUL byte, then the name (cut to what fits).
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0) {
        fd_ = fd;
        return true;
    }
    const int error = errno;
    ::close(fd);
    return error != EADDRINUSE;
}

std::string DefaultInstanceName() {
    return "quilvane-" + std::to_string(::getuid());
}

}  // namespace quilvane
