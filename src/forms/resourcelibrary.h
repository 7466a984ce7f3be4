#pragma once

#include "forms/picture.h"

#include <QString>

// Resources carried by the executable, looked up by name. A missing one is an
// error, never a blank picture.
namespace forms::resources {

enum class PictureFormat { Bitmap = 0, Icon = 1 };

Picture loadResPicture(const QString& name, PictureFormat format);

} // namespace forms::resources
