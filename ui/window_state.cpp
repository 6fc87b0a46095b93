#include "ui/window_state.h"

#include <QWidget>

#include "settings/settings.h"

namespace vorlix {

void KeepWindowState(const QWidget& window, Settings& settings) {
    const Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized)
        settings.WindowState = 1;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        settings.WindowState = 2;
    else
        settings.WindowState = 0;
    if (settings.WindowState == 0) {
        settings.WindowWidth = window.width();
        settings.WindowHeight = window.height();
    }
}

}  // namespace vorlix
