#pragma once

#include "ui/qt/window_view.h"
#include "ui/window.h"

// The window as the program runs it: the model with the six handlers of the
// binding table attached, its Qt view, and the message box in front of the
// view. The program, the screenshot tool and the widget tests build it alike.
namespace app {

struct MainWindow {
    MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    ui::qt::MessageBoxPort messages;
    ui::Window model{messages};
    ui::qt::WindowView view{model};
};

}  // namespace app
