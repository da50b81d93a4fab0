#pragma once

#include <QIcon>

namespace quorel {

// The window's icon: a golden bell, 32 x 32, drawn here.
QIcon bellIcon();

} // namespace quorel
