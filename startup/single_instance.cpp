#include "startup/single_instance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <utility>

namespace quilvane {

namespace {

struct Address {
    sockaddr_un un{};
    socklen_t size = 0;
};

// Abstract namespace: a leading NUL byte, then the name (cut to what fits).
Address AbstractAddress(const std::string& name) {
    Address a;
    a.un.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof a.un.sun_path - 1);
    std::memcpy(a.un.sun_path + 1, name.data(), length);
    a.size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    return a;
}

const sockaddr* Raw(const Address& a) { return reinterpret_cast<const sockaddr*>(&a.un); }

// Closes a descriptor when it leaves scope.
struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

enum class Holder { Ours, Other };

void Nap() {
    const timespec ten_ms{0, 10'000'000};
    ::nanosleep(&ten_ms, nullptr);
}

// Who holds a name that could not be bound. The connection is made without blocking; a
// holder not yet listening (a copy between its bind and listen, or a name released
// meanwhile) or with a full backlog is asked again for a short while before it counts as
// somebody else.
Holder WhoHolds(const Address& a) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const Fd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (s.fd < 0) return Holder::Other;
        if (::connect(s.fd, Raw(a), a.size) == 0) {
            ucred peer{};
            socklen_t size = sizeof peer;
            if (::getsockopt(s.fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return Holder::Other;
            return peer.uid == ::getuid() ? Holder::Ours : Holder::Other;
        }
        if (errno != ECONNREFUSED && errno != EAGAIN) return Holder::Other;
        Nap();
    }
    return Holder::Other;
}

enum class Bound { Yes, Taken, Failed };

// Binds and listens on the name, leaving the socket in fd.
Bound Listen(const Address& a, int& fd) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return Bound::Failed;
    if (::bind(fd, Raw(a), a.size) == 0 && ::listen(fd, 16) == 0) return Bound::Yes;
    const Bound why = errno == EADDRINUSE ? Bound::Taken : Bound::Failed;
    ::close(fd);
    fd = -1;
    return why;
}

}  // namespace

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

bool SingleInstance::Claim(const std::string& name) {
    if (fd_ >= 0) return true;
    Fd held(-1);
    for (int k = 0; k <= kSpareNames; ++k) {
        const Address a = AbstractAddress(k == 0 ? name : name + "-" + std::to_string(k));
        // Bind the first free name, but keep asking along the sequence: a copy of ours may
        // sit further on, having stepped over a name that was taken when it started.
        if (held.fd < 0) {
            int fd = -1;
            const Bound bound = Listen(a, fd);
            if (bound == Bound::Yes) {
                held.fd = fd;
                continue;
            }
            // No socket to ask with: this copy cannot tell and runs.
            if (bound == Bound::Failed) return true;
        } else {
            int probe = -1;
            if (Listen(a, probe) == Bound::Yes) {  // free: nobody to ask
                ::close(probe);
                continue;
            }
        }
        if (WhoHolds(a) == Holder::Ours) return false;
    }
    // Where every name is held by other users, this copy cannot tell whether another of ours
    // runs, and runs rather than never starting.
    fd_ = std::exchange(held.fd, -1);
    return true;
}

void SingleInstance::AcceptPending() {
    if (fd_ < 0) return;
    // A peer only reads our uid; its connection is closed at once.
    for (int peer; (peer = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) ::close(peer);
}

std::string DefaultInstanceName() {
    return "quilvane-" + std::to_string(::getuid());
}

}  // namespace quilvane
