// The main of every widget test: a QApplication on the offscreen platform
// (unless QT_QPA_PLATFORM names another), then the GoogleTest cases.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the cases, as ctest does to find them, needs no application
    // (and outside a test's environment Qt would miss its runtime folder).
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen platform says so each time a window is raised or resized.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith("This plugin does not support")) previous(type, context, text);
    });
    return RUN_ALL_TESTS();
}
