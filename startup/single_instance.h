#pragma once

#include <string>

namespace quilvane {

// Marks this process as the running copy of the program for the current user, for as long
// as the object lives. The mark is a listening abstract-namespace Unix socket: the kernel
// frees it when the process ends however it ends, and binding it is one atomic step, so two
// copies starting together cannot both win. No file is written.
//
// Abstract names carry no permissions, so any local user can bind ours. A name is therefore
// only taken as this user's running copy when its holder's uid, read with SO_PEERCRED over a
// connection, is ours. Names held by others are stepped over along a fixed, short sequence
// (name, name-1, name-2, ...), where this user's copies still meet.
class SingleInstance {
public:
    // Names tried: the given one and this many more.
    static constexpr int kSpareNames = 7;

    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // False when a process of this user holds a name of the sequence. A failure to ask (no
    // socket at all), or every name held by other users, lets this copy run: it cannot tell
    // whether another copy exists.
    bool Claim(const std::string& name);

    // The listening socket once claimed (else -1). Readable when another copy asks; call
    // AcceptPending then, so that connections do not pile up in the backlog.
    int fd() const { return fd_; }
    void AcceptPending();

private:
    int fd_ = -1;
};

// The name that marks a running copy for the user of this process.
std::string DefaultInstanceName();

}  // namespace quilvane
