#pragma once

#include <QImage>

// The main window as the user sees it after "Bereken" with the design values, drawn
// at twice the screen resolution so that it stays sharp on paper; null when the window
// did not become active to be drawn so.
QImage grabMainWindow();
