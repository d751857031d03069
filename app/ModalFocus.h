// Keyboard focus after a modal dialog closes.
#pragma once

class QApplication;

namespace quillet {

// When a modal dialog closes, the window it was opened over takes the
// keyboard back (and with it the control that last had the focus). Some
// window systems, and Qt's offscreen one, otherwise leave no window active,
// so that the main window's Alt+ mnemonics do nothing until a click.
void ReturnFocusAfterModalDialogs(QApplication& app);

}  // namespace quillet
