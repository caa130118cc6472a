#pragma once

#include <QFont>

// SimSun (宋体), the face the program's windows ask for, falling back to the
// installed CJK font where it is missing.
QFont songTiFont(int pointSize);
QFont songTiPixelFont(int pixelSize);
