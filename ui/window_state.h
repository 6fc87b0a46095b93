#pragma once

class QWidget;

namespace vorlix {

class Settings;

// The window's state into WindowState (0 normal, 1 minimised, 2 maximised
// or full screen) and, only while it is normal, its width and height into
// WindowWidth and WindowHeight, as the program keeps them between runs.
void KeepWindowState(const QWidget& window, Settings& settings);

}  // namespace vorlix
