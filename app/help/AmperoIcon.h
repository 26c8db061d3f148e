#pragma once

// The application's icon: a clamp meter round a conductor, with a trend line on
// its display. The same drawing is installed for the desktop's menus.

#include <QIcon>

QIcon AmperoIcon();
