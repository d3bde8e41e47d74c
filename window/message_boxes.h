#pragma once

#include "core/message_box.h"

class QWidget;

namespace quilvane {

// Message boxes as modal QMessageBoxes over the given window: plain text that can be
// selected and copied, one OK button, the information icon for MB_ICONINFORMATION, the
// program's name for an empty title.
MessageBoxService ModalMessageBoxes(QWidget* parent);

}  // namespace quilvane
