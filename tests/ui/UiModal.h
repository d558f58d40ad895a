// Helpers for window tests: answering a modal window that a call under test opens.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;

namespace vorlect::uitest {

// Runs `answer` on the next modal window once it is shown; `answer` must close it. The result
// turns true when `answer` ran, so a test can tell a window that never came.
std::shared_ptr<bool> WhenModal(std::function<void(QWidget*)> answer, int timeoutMs = 10000);

// The button inside `window` with exactly this caption, or null.
QAbstractButton* ButtonWithText(QWidget* window, const QString& caption);

// The README's pictures: `window` saved as the PNG file `name` in the folder that
// VORLECT_UI_SHOTS names; nothing without it.
void Shot(QWidget& window, const char* name);

}  // namespace vorlect::uitest
