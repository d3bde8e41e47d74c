#pragma once

#include <memory>
#include <string>

namespace quilvane {

// Marks this process as the running copy of the program for the current user, for as long
// as the object lives, so that a later copy can refuse to run. Nothing is written to disk,
// nothing outlives the process however it ends, and of two copies started together exactly
// one runs. Other users cannot keep this user's copy from starting. Each platform has its own
// file behind this interface.
class SingleInstance {
public:
    // Names tried where other users hold the first: the given one and this many more.
    static constexpr int kSpareNames = 7;

    SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // False when a copy of this user already holds the name. Where the platform cannot tell
    // (no means to ask, or every name held by other users), this copy runs rather than never
    // starting. Never waits on another process.
    bool Claim(const std::string& name);

private:
    struct Mark;
    std::unique_ptr<Mark> mark_;
};

// The name that marks a running copy for the user of this process.
std::string DefaultInstanceName();

}  // namespace quilvane
