// The one font of every text the program writes.
#pragma once

#include <QFont>

// Fixed pitch, so that the trailing blanks of a status text are as wide as the
// letters they must paint out.
QFont TextFont();
