#pragma once

class QString;
class QWidget;

namespace quilvane {

// The program's own accessible interfaces, installed once per process after the
// QApplication exists:
// - every QLineEdit (the boxes, the Settings fields, the spin boxes' edits) gets Qt's line
//   edit interface in all it says, with text queries that answer correctly at every offset,
//   the end of the text included, whatever the Qt version;
// - a widget made by MakeAnnouncer is a notification that screen readers speak when it
//   appears.
void InstallAccessibility();

// A widget of no size, beneath the others, that says what Announce gives it.
QWidget* MakeAnnouncer(QWidget* parent);

// Says the text through the announcer now, without moving the focus: the notification
// appears with the text as its name.
void Announce(QWidget* announcer, const QString& text);

}  // namespace quilvane
