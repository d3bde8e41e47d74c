#pragma once

#include <functional>
#include <string>

namespace quilvane {

// Message-box styles: an OK button alone, or an OK button with the information icon.
inline constexpr int MB_OK = 0;
inline constexpr int MB_ICONINFORMATION = 64;

// Shows a modal message and returns when the user presses OK. An empty title means the
// application's default title.
using MessageBoxService =
    std::function<void(const std::string& prompt, const std::string& title, int style)>;

}  // namespace quilvane
