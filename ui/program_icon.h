#pragma once

#include <QIcon>

namespace vorlix {

// The program's icon in every size it is drawn in (16 to 256 pixels), from
// the program's own resources: the window's icon and the picture in its
// information panel.
QIcon ProgramIcon();

}  // namespace vorlix
