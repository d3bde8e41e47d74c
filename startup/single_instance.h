#pragma once

#include <string>

namespace quilvane {

// Marks this process as the running copy of the program for the current user, for as long
// as the object lives. The mark is an abstract-namespace Unix socket name: the kernel frees
// it when the process ends however it ends, and binding it is one atomic step, so two
// copies starting together cannot both win. No file is written.
class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // False when another living process holds the name. A failure to ask (no socket at
    // all) lets this copy run: it cannot tell another copy exists.
    bool Claim(const std::string& name);

private:
    int fd_ = -1;
};

// The name that marks a running copy for the user of this process.
std::string DefaultInstanceName();

}  // namespace quilvane
