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
#include <string>

#include "ui/qt/window_view.h"

namespace {

// What the platform said first while the toolkit started: its reason when no
// display can be opened ("could not connect to display", a plugin that does
// not load). Held only for the one report below.
std::string& startup_reason()
{
    static std::string reason;
    return reason;
}

// While the toolkit starts: a platform that cannot open a display makes Qt
// explain at length and then abort. Say it in one German line, add Qt's own
// reason on a second, and fail instead.
void report_startup_message(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::string& reason = startup_reason();
    if (type == QtFatalMsg) {
        if (reason.empty()) reason = text.section(QLatin1Char('\n'), 0, 0).trimmed().toStdString();
        std::fputs("korvantelo: kann keine Anzeige öffnen\n", stderr);
        std::fprintf(stderr, "korvantelo: %s\n", reason.c_str());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    const bool from_platform = QLatin1StringView(context.category).startsWith(QLatin1StringView("qt.qpa"));
    if (from_platform || type != QtDebugMsg) {
        if (reason.empty()) reason = text.trimmed().toStdString();
        if (from_platform) return;
    }
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

    ui::qt::Program program;  // every control in its stored state, the handlers bound
    program.start();
    return QApplication::exec();
}
