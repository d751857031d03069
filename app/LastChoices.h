// The choices the window opens with, kept between runs in the user's
// settings: the QR page's format, tab and level, the DM page's size, each
// page's style (colours, shapes, gradient, frame, logo pad; not the logo
// itself), and whether "最近" records.
// What is typed is not kept.
#pragma once

#include <memory>

class QSettings;

namespace quillet {

class CDialogMain;

// The user's settings file of the program (~/.config/quillet/quillet.conf).
std::unique_ptr<QSettings> UserSettings();

// A value missing, unreadable or out of range leaves the page where a first
// run starts.
void RestoreLastChoices(CDialogMain& window, const QSettings& settings);
void SaveLastChoices(const CDialogMain& window, QSettings& settings);

}  // namespace quillet
