// Korvantelo: start-up and shutdown. The window is the whole program: this
// sets the toolkit up in German, creates the window with its controls in
// their stored state, binds the six handlers, runs Load so that the ratio
// shows before the window does, and runs the event loop until the window is
// closed. Nothing is read from the command line, from files or from
// settings, and nothing is saved.

#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"

namespace {

// While the toolkit starts: a platform that cannot open a display makes Qt
// explain at length and then abort. Say it in one line and fail instead.
void report_startup_message(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs("korvantelo: kann keine Anzeige öffnen (ist DISPLAY gesetzt?)\n", stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (QLatin1StringView(context.category).startsWith(QLatin1StringView("qt.qpa"))) return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, text) + QLatin1Char('\n')), stderr);
}

}  // namespace

int main()
{
    // Arguments are ignored, by the toolkit too: it sees only a program name,
    // so options such as -reverse or -style change nothing.
    char program_name[] = "korvantelo";
    char* toolkit_argv[] = {program_name, nullptr};
    int toolkit_argc = 1;

    qInstallMessageHandler(report_startup_message);
    QApplication application(toolkit_argc, toolkit_argv);
    qInstallMessageHandler(nullptr);

    // The toolkit's own texts (context menus, message box buttons) in German,
    // whatever the user's locale; the translation travels in the executable.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator toolkit_german;
    if (toolkit_german.load(QStringLiteral(":/translations/qtbase_de.qm"))) {
        QApplication::installTranslator(&toolkit_german);
    } else {
        qWarning("korvantelo: German toolkit texts missing");
    }

    ui::qt::install_font_substitutes();
    app::MainWindow window;  // every control in its stored state, the handlers bound
    window.model.load();
    window.view.show();
    return QApplication::exec();
}
