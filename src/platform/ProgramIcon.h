// The program icon (built-in resource 300, a PNG) as a Qt pixmap.
#pragma once

#include <QPixmap>

// The icon, or a null pixmap when the resource is missing or unreadable.
QPixmap ProgramIconPixmap();
