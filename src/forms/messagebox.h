#pragma once

#include <QString>

#include <functional>

// The platform's message box. Tests replace the presenter so that nothing
// modal blocks them.
namespace forms::messagebox {

constexpr int OkOnly = 0;
constexpr int ResultOk = 1;

using Presenter = std::function<int(const QString& prompt, int buttons, const QString& title)>;

// With an empty title the box shows the application's title.
int msgBox(const QString& prompt, int buttons = OkOnly, const QString& title = {});

void setPresenter(Presenter presenter);

} // namespace forms::messagebox
