// Renders the window offscreen into PNG files, for the README and for looking
// at the layout: render_window <folder>
//   window.png          as the program starts
//   window-voltage.png  voltage transformer ticked, figures typed, Berechnen pressed
//   message.png         the input-error message

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>

#include "app/main_window.h"

namespace {

void save(QWidget& widget, const QString& path)
{
    if (!widget.grab().save(path)) throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_window <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    ui::qt::install_font_substitutes();

    app::MainWindow window;
    ui::Window& model = window.model;
    ui::qt::WindowView& view = window.view;
    model.load();
    view.show();
    save(view, folder.filePath("window.png"));

    model.user_toggle(ui::Control::chk_Spannungswandler);
    model.user_replace_text(ui::Control::txt_spannungswandler, "20000");
    model.user_replace_text(ui::Control::txt_stromwandler, "400");
    model.user_replace_text(ui::Control::txt_impulse, "1000");
    model.user_press(ui::Control::cmd_berechnen);
    save(view, folder.filePath("window-voltage.png"));

    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            save(*box, folder.filePath("message.png"));
            box->accept();
        }
    });
    model.user_replace_text(ui::Control::txt_wh, "");
    return 0;
}
