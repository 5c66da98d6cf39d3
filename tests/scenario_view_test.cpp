// The scenarios of tests/scenarios.json on the Qt window, offscreen: keys
// and clicks as QTest simulates them, every message box recorded and closed.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scenarios.h"
#include "tests/widget_testing.h"
#include "ui/qt/window_view.h"

namespace {

using ui::Control;

QString qt_text(const std::string& text)
{
    return QString::fromStdString(text);
}

class QtDriver {
public:
    QtDriver()
    {
        program_.start();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view()));
    }

    [[nodiscard]] ui::qt::WindowView& view() { return program_.view(); }
    [[nodiscard]] QWidget* widget(Control id) { return view().widget(id); }
    [[nodiscard]] std::size_t messages() const { return dismisser_.seen().size(); }
    [[nodiscard]] const widget_testing::SeenBox& message(std::size_t at) const { return dismisser_.seen()[at]; }

    [[nodiscard]] std::string text(Control id)
    {
        if (auto* edit = qobject_cast<QLineEdit*>(widget(id))) return edit->text().toStdString();
        return static_cast<QLabel*>(widget(id))->text().toStdString();
    }

    void click(Control id)
    {
        QWidget* w = widget(id);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2));
    }

    void key(Control id, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        widget(id)->setFocus();
        QTest::keyClick(widget(id), key, modifiers);
    }

    void type(Control id, const std::string& character)
    {
        widget(id)->setFocus();
        QTest::keyClicks(widget(id), qt_text(character));
    }

    // Whether the box shows the first characters of its figure, then `end`:
    // its rendering equals that of a plain box that holds such a text.
    [[nodiscard]] bool shows_ending(Control id, const std::string& end)
    {
        auto* box = static_cast<QLineEdit*>(widget(id));
        const QImage shown = box->grab().toImage();
        const QString figure = box->text();
        for (qsizetype keep = figure.size(); keep >= 0; --keep) {
            if (widget_testing::plain_rendering(box, figure.left(keep) + qt_text(end)) == shown) return true;
        }
        return false;
    }

private:
    ui::qt::Program program_;
    widget_testing::MessageBoxDismisser dismisser_;
};

class Scenario : public ::testing::TestWithParam<scenarios::Scenario> {};

void run(QtDriver& window, const scenarios::Step& step)
{
    const std::string& keys = step.keys;
    const std::size_t before = window.messages();
    const Control in = step.target;
    if (step.action == "retype" || step.action == "type" || step.action == "erase") {
        window.key(in, step.action == "type" ? Qt::Key_End : Qt::Key_A,
                   step.action == "type" ? Qt::KeyboardModifiers{} : Qt::ControlModifier);
        if (step.action == "erase") window.key(in, Qt::Key_Delete);
        const auto characters = scenarios::characters(keys);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            window.type(in, characters[i]);
            for (const auto& [id, texts] : step.each) EXPECT_EQ(window.text(id), texts.at(i)) << ui::name(id);
        }
    } else if (step.action == "tick" || step.action == "press") {
        window.click(in);
    } else if (step.action == "enter_escape") {
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) window.key(in, key);
    } else if (step.action == "tab" || step.action == "backtab") {
        window.widget(in)->setFocus();
        for (const Control next : step.order) {
            QTest::keyClick(QApplication::focusWidget(), step.action == "tab" ? Qt::Key_Tab : Qt::Key_Backtab);
            EXPECT_EQ(QApplication::focusWidget(), window.widget(next)) << ui::name(next);
        }
    }
    ASSERT_EQ(window.messages() - before, static_cast<std::size_t>(step.messages));
    for (std::size_t at = before; at < window.messages(); ++at) {
        EXPECT_EQ(window.message(at).title, "Fehler!");
        EXPECT_EQ(window.message(at).text, "Eingabefehler!");
    }
    for (const auto& [id, text] : step.see) EXPECT_EQ(window.text(id), text) << ui::name(id);
    for (const Control id : step.shown) EXPECT_TRUE(window.widget(id)->isVisible()) << ui::name(id);
    for (const Control id : step.hidden) EXPECT_FALSE(window.widget(id)->isVisible()) << ui::name(id);
    for (const auto& [id, end] : step.ends) EXPECT_TRUE(window.shows_ending(id, end)) << ui::name(id);
}

TEST_P(Scenario, runs_on_the_qt_window)
{
    QtDriver window;
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        run(window, GetParam().steps[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(All, Scenario, ::testing::ValuesIn(scenarios::read(SCENARIOS)),
                         [](const auto& info) { return info.param.name; });

}  // namespace
