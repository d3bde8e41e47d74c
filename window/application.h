#pragma once

namespace quilvane {

// Process-wide setup for the window, once, after the QApplication exists: the fonts ("宋体"
// and the interface face) and Qt's own texts in Simplified Chinese.
void SetUpApplication();

}  // namespace quilvane
