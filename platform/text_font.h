// The one font of every text the program writes.
#pragma once

#include <QFont>

// Fixed pitch with wide blanks, so that the trailing blanks of a status text cover at
// least the letters they must paint out.
QFont TextFont();
