#include "app/main_window.h"

#include "ui/handlers.h"

namespace app {

MainWindow::MainWindow()
{
    ui::bind_event_handlers(model);
    messages.set_parent(&view);
}

}  // namespace app
