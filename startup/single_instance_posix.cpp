// The running copy's mark on Linux: an abstract-namespace Unix socket bound to the name. The
// kernel frees it when the process ends however it ends, and binding is one atomic step, so
// two copies starting together cannot both win. No file is written.
//
// Abstract names carry no permissions, so any local user can bind ours. A name that cannot be
// bound only counts as this user's running copy when the kernel's socket table
// (NETLINK_SOCK_DIAG, as `ss -xe` reads it) gives its holder our uid. Asking the table, not the
// holder, means a holder that is stopped, busy or flooded with connections is still seen, and
// no start waits on another process. Names held by others are stepped over along a short
// fixed sequence (name, name-1, name-2, ...), where this user's copies still meet.
#include "startup/single_instance.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace quilvane {

namespace {

struct Address {
    sockaddr_un un{};
    socklen_t size = 0;

    // The bytes of sun_path in use: a leading NUL, then the name.
    std::string_view Path() const {
        return {un.sun_path, static_cast<std::size_t>(size) - offsetof(sockaddr_un, sun_path)};
    }
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
    explicit Fd(int f = -1) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

enum class Bound { Yes, Taken, Failed };

// Binds a stream socket to the name, leaving it in fd.
Bound Bind(const Address& a, Fd& fd) {
    fd.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd.fd < 0) return Bound::Failed;
    if (::bind(fd.fd, Raw(a), a.size) == 0) return Bound::Yes;
    const Bound why = errno == EADDRINUSE ? Bound::Taken : Bound::Failed;
    ::close(std::exchange(fd.fd, -1));
    return why;
}

enum class Holder { Ours, Other, Gone, Unknown };

// Who holds the name, from the kernel's table of Unix sockets. Only the bound socket itself
// counts (unconnected or listening, of the stream type): a connection a holder has not yet
// accepted carries the holder's name too. Unknown where the kernel cannot say (no sock_diag,
// or no UNIX_DIAG_UID before Linux 5.3); Gone when no such socket holds it any more.
Holder AskKernel(const Address& a) {
    const Fd nl(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
    if (nl.fd < 0) return Holder::Unknown;
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } ask{};
    ask.header.nlmsg_len = sizeof ask;
    ask.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    ask.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    ask.request.sdiag_family = AF_UNIX;
    ask.request.udiag_states = (1U << TCP_CLOSE) | (1U << TCP_LISTEN);
    ask.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(nl.fd, &ask, sizeof ask, 0, reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) < 0)
        return Holder::Unknown;

    const std::string_view want = a.Path();
    std::optional<Holder> found;
    alignas(nlmsghdr) char buffer[32768];
    for (;;) {
        const ssize_t got = ::recv(nl.fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return Holder::Unknown;
        auto left = static_cast<unsigned>(got);
        for (auto* h = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(h, left); h = NLMSG_NEXT(h, left)) {
            if (h->nlmsg_type == NLMSG_DONE) return found.value_or(Holder::Gone);
            if (h->nlmsg_type == NLMSG_ERROR) return Holder::Unknown;
            if (h->nlmsg_type != SOCK_DIAG_BY_FAMILY || found) continue;
            const auto* msg = static_cast<const unix_diag_msg*>(NLMSG_DATA(h));
            if (msg->udiag_type != SOCK_STREAM) continue;
            auto attrLeft = static_cast<int>(h->nlmsg_len - NLMSG_LENGTH(sizeof *msg));
            bool named = false;
            std::optional<std::uint32_t> uid;
            for (auto* attr = reinterpret_cast<rtattr*>(const_cast<unix_diag_msg*>(msg) + 1);
                 RTA_OK(attr, attrLeft); attr = RTA_NEXT(attr, attrLeft)) {
                const auto size = static_cast<std::size_t>(RTA_PAYLOAD(attr));
                if (attr->rta_type == UNIX_DIAG_NAME)
                    named = std::string_view(static_cast<const char*>(RTA_DATA(attr)), size) == want;
                else if (attr->rta_type == UNIX_DIAG_UID && size == sizeof(std::uint32_t))
                    uid = *static_cast<const std::uint32_t*>(RTA_DATA(attr));
            }
            if (!named) continue;
            if (!uid) found = Holder::Unknown;  // a kernel that does not report the uid
            else found = *uid == ::getuid() ? Holder::Ours : Holder::Other;
        }
    }
}

// Where the kernel cannot say: ask the holder itself, connecting without blocking and reading
// its uid with SO_PEERCRED. Only a listening holder can be asked this way, and only until its
// backlog is full; anything that does not answer at once counts as somebody else's.
Holder AskHolder(const Address& a) {
    const Fd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (s.fd < 0 || ::connect(s.fd, Raw(a), a.size) != 0) return Holder::Other;
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(s.fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return Holder::Other;
    return peer.uid == ::getuid() ? Holder::Ours : Holder::Other;
}

}  // namespace

struct SingleInstance::Mark {
    Fd socket;
};

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim(const std::string& name) {
    if (mark_) return true;
    Fd held;
    for (int k = 0; k <= kSpareNames; ++k) {
        const Address a = AbstractAddress(k == 0 ? name : name + "-" + std::to_string(k));
        // Bind the first free name, but keep asking along the sequence: a copy of ours may sit
        // further on, having stepped over a name that was taken when it started. A holder can
        // let its name go between our bind and our question; binding again settles that.
        for (int attempt = 0; attempt < 3; ++attempt) {
            Fd probe;
            const Bound bound = Bind(a, probe);
            if (bound == Bound::Yes) {
                if (held.fd < 0) std::swap(held.fd, probe.fd);
                break;
            }
            // No socket to ask with: this copy cannot tell and runs.
            if (bound == Bound::Failed) return true;
            Holder holder = AskKernel(a);
            if (holder == Holder::Unknown) holder = AskHolder(a);
            if (holder == Holder::Ours) return false;
            if (holder == Holder::Other) break;
        }
    }
    // Listening is only for copies that must ask us directly (AskHolder); nothing is accepted.
    if (held.fd >= 0) ::listen(held.fd, SOMAXCONN);
    // Where every name is held by other users, this copy cannot tell whether another of ours
    // runs, and runs rather than never starting.
    mark_ = std::make_unique<Mark>();
    std::swap(mark_->socket.fd, held.fd);
    return true;
}

std::string DefaultInstanceName() {
    return "quilvane-" + std::to_string(::getuid());
}

}  // namespace quilvane
