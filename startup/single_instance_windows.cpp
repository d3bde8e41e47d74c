// The running copy's mark on Windows: a named mutex in the session's Local\ namespace whose
// name carries the user's SID. Creating it is one atomic step, so of two copies started
// together one wins; the system closes it when the process ends however it ends. Another
// account cannot hold it in our place: it would need our SID in its name, and a mutex it
// made is one we cannot open, which this copy then takes as "cannot tell" and runs.
#include "startup/single_instance.h"

#include <windows.h>

#include <sddl.h>

namespace quilvane {

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// The SID of the user this process runs as, as text ("S-1-5-21-…"); empty if unknown.
std::string UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
    std::string sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        char* text = nullptr;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
            sid = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return sid;
}

}  // namespace

struct SingleInstance::Mark {
    HANDLE mutex = nullptr;
    ~Mark() {
        if (mutex != nullptr) CloseHandle(mutex);
    }
};

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim(const std::string& name) {
    if (mark_) return true;
    // Backslashes would name another namespace; the name stays inside Local\.
    std::wstring wide = L"Local\\" + Wide(name);
    for (std::size_t i = 6; i < wide.size(); ++i)
        if (wide[i] == L'\\') wide[i] = L'_';
    mark_ = std::make_unique<Mark>();
    mark_->mutex = CreateMutexW(nullptr, FALSE, wide.c_str());
    const DWORD why = GetLastError();
    if (mark_->mutex != nullptr && why == ERROR_ALREADY_EXISTS) {
        mark_.reset();
        return false;
    }
    // Created, or not to be had (another account's, no handles left): this copy runs.
    return true;
}

std::string DefaultInstanceName() {
    return "quilvane-" + UserSid();
}

}  // namespace quilvane
