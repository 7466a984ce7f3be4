#pragma once

#include "forms/picture.h"
#include "forms/windowhandle.h"

#include <QString>

#include <functional>

// The shell's about box, modal to its owner. Tests replace the presenter.
namespace forms::shellabout {

using Presenter = std::function<void(windows::WindowHandle owner, const QString& appText,
                                     const QString& otherText, const Picture& icon)>;

void show(windows::WindowHandle owner, const QString& appText, const QString& otherText,
          const Picture& icon);

void setPresenter(Presenter presenter);

} // namespace forms::shellabout
