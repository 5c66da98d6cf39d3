// Random user input into the real widgets on the offscreen platform, every
// input checked against the model that the headless stress test judges by
// (tests/support/window_oracle.h): characters typed into the focused box at
// random cursor positions, selections, deletions, pastes of long texts, cuts,
// undo and redo, clicks on the check box and on Berechnen, Space, Tab and
// Shift+Tab, and attempts at the hidden and the disabled box. The model learns
// the new text of a box from the box the user changed (a key may change
// nothing, or more than one would guess) and works out all else on its own.
//
// Seeded and reproducible: KORVANTELO_STRESS_SEED picks the seed and
// KORVANTELO_STRESS_ACTIONS the number of inputs; a failure names the seed,
// the input's index and the input.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/number_text_property.h"
#include "tests/support/window_oracle.h"
#include "tests/widget_testing.h"
#include "ui/qt/window_view.h"

#ifndef STRESS_ACTIONS
#define STRESS_ACTIONS 3000
#endif

namespace {

using ui::Control;
using namespace stress;

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One thing the user does.
struct Input {
    enum class Kind { key, click, cursor, paste };
    Kind kind = Kind::key;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text;  // key: what the key types; paste: what the clipboard holds first
    // click: at whose place in the window; key: the receiver when `straight`.
    Control control = Control::txt_impulse;
    bool straight = false;  // key: to `control` itself, not to the focus widget
    int at = 0;             // click: x in the control, from its right edge if negative
};

Input key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Input input;
    input.key = key;
    input.modifiers = modifiers;
    return input;
}

Input key(QKeySequence::StandardKey standard)
{
    const QKeyCombination first = QKeySequence(standard)[0];
    return key(first.key(), first.keyboardModifiers());
}

// The key that types one character; a tab is the Tab key.
Input typing(const QString& character)
{
    Input input;
    input.text = character;
    if (character == "\t") {
        input.key = Qt::Key_Tab;
    } else if (character.size() == 1 && character[0].unicode() < 0x80) {
        input.key = QTest::asciiToKey(static_cast<char>(character[0].unicode()));
    }
    return input;
}

Input click(Control control, int at = 0)
{
    Input input;
    input.kind = Input::Kind::click;
    input.control = control;
    input.at = at;
    return input;
}

Input paste(const QString& text)
{
    Input input;
    input.kind = Input::Kind::paste;
    input.text = text;
    return input;
}

// The characters of a text, a surrogate pair as one.
std::vector<QString> characters(const QString& text)
{
    std::vector<QString> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        out.push_back(text.mid(i, pair ? 2 : 1));
        if (pair) ++i;
    }
    return out;
}

// Picks the inputs, with the headless driver's randomness and texts: mostly
// typing and editing, and now and then a box set right again as a user does
// who has seen the message.
class InputDriver {
public:
    explicit InputDriver(std::uint64_t seed) : random_(seed) {}

    Input next(const Model& model)
    {
        if (planned_.empty()) plan(model);
        Input input = std::move(planned_.front());
        planned_.pop_front();
        return input;
    }

private:
    std::uint64_t below(std::uint64_t n) { return random_.below(n); }

    Control some_box()
    {
        constexpr std::array<Control, 8> boxes = {
            Control::txt_impulse,      Control::txt_wh,           Control::txt_wh,
            Control::txt_stromwandler, Control::txt_stromwandler, Control::txt_spannungswandler,
            Control::txt_ergebnis,     Control::txt_kwh};
        return boxes[below(boxes.size())];
    }

    // Clicks into the box, selects all and types the text, or pastes it.
    void retype(Control box, const std::string& text)
    {
        planned_.push_back(click(box, -3));
        planned_.push_back(key(QKeySequence::SelectAll));
        const QString q = qt_text(text);
        if (q.isEmpty()) {
            planned_.push_back(below(2) == 0 ? key(Qt::Key_Delete) : key(QKeySequence::Cut));
        } else if (q.size() > 20 || below(4) == 0) {
            planned_.push_back(paste(q));
        } else {
            for (const QString& c : characters(q)) planned_.push_back(typing(c));
        }
    }

    void plan(const Model& model)
    {
        if (below(4) == 0) {
            for (const Control box : typed_boxes) {
                if (model.visible(box) && !number(model.shown(box))) {
                    return retype(box, below(4) == 0 ? random_.number_text(below(3000) + 1)
                                                     : random_.short_number());
                }
            }
        }
        constexpr std::array<Qt::KeyboardModifiers, 4> moves = {
            Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
            Qt::ControlModifier | Qt::ShiftModifier};
        constexpr std::array<Qt::Key, 6> cursor_keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Left,
                                                        Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
        const std::uint64_t roll = below(100);
        if (roll < 28) {
            planned_.push_back(typing(qt_text(random_.some_character())));
        } else if (roll < 36) {
            planned_.push_back(key(below(2) == 0 ? Qt::Key_Backspace : Qt::Key_Delete));
        } else if (roll < 44) {
            planned_.push_back(key(cursor_keys[below(cursor_keys.size())], moves[below(4)]));
        } else if (roll < 47) {
            Input cursor;
            cursor.kind = Input::Kind::cursor;
            cursor.at = static_cast<int>(below(1 << 20));
            planned_.push_back(cursor);
        } else if (roll < 50) {
            planned_.push_back(key(QKeySequence::SelectAll));
        } else if (roll < 56) {
            switch (below(4)) {
            case 0: planned_.push_back(paste(qt_text(random_.number_text(below(3000) + 1)))); break;
            case 1: planned_.push_back(paste(qt_text(random_.junk(below(3000) + 1)))); break;
            case 2: planned_.push_back(paste(qt_text(random_.short_number()))); break;
            default: planned_.push_back(key(QKeySequence::Paste));  // what was cut or copied before
            }
        } else if (roll < 59) {
            planned_.push_back(key(below(2) == 0 ? QKeySequence::Cut : QKeySequence::Copy));
        } else if (roll < 64) {
            planned_.push_back(key(below(3) == 0 ? QKeySequence::Redo : QKeySequence::Undo));
        } else if (roll < 67) {
            retype(some_box(), random_.some_text());
        } else if (roll < 72) {
            planned_.push_back(click(some_box(), static_cast<int>(below(60)) - 30));
        } else if (roll < 77) {
            planned_.push_back(below(2) == 0 ? key(Qt::Key_Tab)
                                             : key(Qt::Key_Backtab, Qt::ShiftModifier));
        } else if (roll < 80) {
            planned_.push_back(typing(" "));  // ticks, presses or types a blank
        } else if (roll < 85) {
            planned_.push_back(click(Control::chk_Spannungswandler));
        } else if (roll < 95) {
            planned_.push_back(click(Control::cmd_berechnen));
        } else if (roll < 97) {
            constexpr std::array<Qt::Key, 3> ignored = {Qt::Key_Return, Qt::Key_Enter,
                                                        Qt::Key_Escape};
            planned_.push_back(key(ignored[below(ignored.size())]));
        } else {
            // At the hidden voltage box or the disabled kWh box: a click at
            // its place, or keys sent to the disabled box itself.
            planned_.push_back(click(below(2) == 0 ? Control::txt_spannungswandler
                                                   : Control::txt_kwh));
            if (below(2) == 0) {
                Input in = below(2) == 0 ? typing("7") : key(QKeySequence::Paste);
                in.control = Control::txt_kwh;
                in.straight = true;
                planned_.push_back(in);
            }
        }
    }

    Driver random_;
    std::deque<Input> planned_;
};

class ViewReading final : public WindowReading {
public:
    ViewReading(const ui::qt::WindowView& view, const widget_testing::MessageBoxDismisser& dismisser)
        : view_(view), dismisser_(dismisser)
    {
    }

    [[nodiscard]] bool visible(Control id) const override { return view_.widget(id)->isVisible(); }
    [[nodiscard]] std::string shown(Control id) const override
    {
        const QWidget* w = view_.widget(id);
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text().toStdString();
        if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text().toStdString();
        return qobject_cast<const QAbstractButton*>(w)->text().toStdString();
    }
    [[nodiscard]] int check_box_value() const override
    {
        const auto* box = static_cast<const QCheckBox*>(view_.widget(Control::chk_Spannungswandler));
        return box->isChecked() ? 1 : 0;
    }
    [[nodiscard]] std::size_t messages() const override { return dismisser_.seen().size(); }

private:
    const ui::qt::WindowView& view_;
    const widget_testing::MessageBoxDismisser& dismisser_;
};

Action user(ActionKind kind, Control control, const std::string& text = {})
{
    Action action;
    action.kind = kind;
    action.control = control;
    action.text = text;
    return action;
}

// Whether the box's cursor and selection lie within its text. Qt 6.4's redo
// can leave them outside (on "12": Shift+Left, a key, Ctrl+Z, Ctrl+Y selects
// from -1 to 1); where the next key goes then is the toolkit's affair, and the
// model follows whatever it does to the text.
bool within_text(const QLineEdit& edit)
{
    const qsizetype size = edit.text().size();
    if (edit.cursorPosition() > size) return false;
    return !edit.hasSelectedText() || (edit.selectionStart() >= 0 && edit.selectionEnd() <= size);
}

std::string describe(const QWidget* w)
{
    if (w == nullptr) return "nothing";
    std::string out = w->objectName().toStdString();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        out += " (" + reference::describe_text(edit->text().toStdString()) + ", cursor " +
               std::to_string(edit->cursorPosition());
        if (edit->hasSelectedText()) {
            out += ", selected from " + std::to_string(edit->selectionStart()) + " to " +
                   std::to_string(edit->selectionEnd());
        }
        out += ")";
    }
    return out;
}

class ViewStress : public ::testing::Test {
protected:
    ViewStress()
    {
        window.load();
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        for (const auto& control : ui::control_table) {
            auto* edit = qobject_cast<QLineEdit*>(view.widget(control.id));
            if (edit == nullptr) continue;
            const Control id = control.id;
            QObject::connect(edit, &QLineEdit::textEdited, [this, id](const QString& text) {
                edits.emplace_back(id, text.toStdString());
            });
            QObject::connect(edit, &QLineEdit::textChanged, [this, id] { changes.push_back(id); });
        }
    }

    // Does what the input says. Notes what it describes, and the presses and
    // toggles that it must cause; a fault of a typed character, if any.
    std::optional<std::string> perform(const Input& input)
    {
        QWidget* focus = QApplication::focusWidget();
        switch (input.kind) {
        case Input::Kind::key: {
            QWidget* to = input.straight ? view.widget(input.control) : focus;
            what = (input.text.isEmpty() || input.modifiers != Qt::NoModifier
                        ? "key " + QKeySequence(QKeyCombination(input.modifiers, input.key))
                                       .toString()
                                       .toStdString()
                        : "typing " + reference::describe_text(input.text.toStdString())) +
                   " to " + describe(to);
            if (to == nullptr) return "no widget has the focus";
            pressing_space_on(to, input);
            auto* line = qobject_cast<QLineEdit*>(to);
            const bool types = line != nullptr && line->isEnabled() && !input.text.isEmpty() &&
                               input.key != Qt::Key_Tab && input.modifiers == Qt::NoModifier &&
                               within_text(*line);
            // The character replaces the selection or goes in at the cursor,
            // and the cursor stands behind it.
            QString expected;
            qsizetype cursor = 0;
            if (types) {
                expected = line->text();
                const int at = line->hasSelectedText() ? line->selectionStart()
                                                       : line->cursorPosition();
                expected.replace(at, line->selectionLength(), input.text);
                cursor = at + input.text.size();
            }
            QTest::sendKeyEvent(QTest::Click, to, input.key, input.text, input.modifiers);
            if (types && (line->text() != expected || line->cursorPosition() != cursor)) {
                return "the box shows " + describe(line) + ", expected " +
                       reference::describe_text(expected.toStdString()) + " with the cursor at " +
                       std::to_string(cursor);
            }
            return std::nullopt;
        }
        case Input::Kind::click: {
            QWidget* place = view.widget(input.control);
            QPoint local = place->rect().center();
            if (input.control == Control::chk_Spannungswandler) {
                local.setX(5);  // on the tick box itself
            } else if (input.at != 0) {
                local.setX(input.at > 0 ? input.at : place->width() + input.at);
            }
            const QPoint at = place->mapTo(&view, local);
            QWidget* hit = view.childAt(at);
            QWidget* to = hit != nullptr ? hit : &view;
            what = "click at the place of " + std::string(ui::name(input.control)) + " onto " +
                   describe(to);
            if (to->isEnabled() && to == view.widget(Control::chk_Spannungswandler)) ++toggles;
            if (to->isEnabled() && to == view.widget(Control::cmd_berechnen)) ++presses;
            QTest::mouseClick(to, Qt::LeftButton, {}, to->mapFrom(&view, at));
            return std::nullopt;
        }
        case Input::Kind::cursor: {
            what = "cursor set in " + describe(focus);
            auto* line = qobject_cast<QLineEdit*>(focus);
            if (line == nullptr) return std::nullopt;
            const QString text = line->text();
            int at = input.at % static_cast<int>(text.size() + 1);
            if (at > 0 && at < text.size() && text[at].isLowSurrogate()) --at;  // never inside a pair
            what += " to " + std::to_string(at);
            line->setCursorPosition(at);
            return std::nullopt;
        }
        case Input::Kind::paste: {
            what = "paste of " + reference::describe_text(input.text.toStdString()) + " into " +
                   describe(focus);
            if (focus == nullptr) return "no widget has the focus";
            auto* line = qobject_cast<QLineEdit*>(focus);
            if (line != nullptr && line->text().size() > 6000) {
                QTest::keySequence(line, QKeySequence::SelectAll);  // no endless growth
            }
            QApplication::clipboard()->setText(input.text);
            QTest::keySequence(focus, QKeySequence::Paste);
            return std::nullopt;
        }
        }
        return std::nullopt;
    }

    // Space on the focused check box ticks it, on the focused button presses it.
    void pressing_space_on(QWidget* to, const Input& input)
    {
        if (input.key != Qt::Key_Space || input.modifiers != Qt::NoModifier) return;
        if (to == view.widget(Control::chk_Spannungswandler)) ++toggles;
        if (to == view.widget(Control::cmd_berechnen)) ++presses;
    }

    // Tells the model what the user did and compares; the first fault, if any.
    std::optional<std::string> settle()
    {
        for (const auto& [box, text] : edits) {
            const Action action = user(ActionKind::replace, box, text);
            if (!model.accepts(action)) {
                return std::string(ui::name(box)) + " was edited, hidden or disabled";
            }
            model.apply(action);
            ++edited;
        }
        for (; toggles > 0; --toggles) {
            model.apply(user(ActionKind::toggle, Control::chk_Spannungswandler));
            ++toggled;
        }
        for (; presses > 0; --presses) model.apply(user(ActionKind::press, Control::cmd_berechnen));
        for (const Control box : typed_boxes) {
            const auto by_user = std::count_if(edits.begin(), edits.end(),
                                               [box](const auto& edit) { return edit.first == box; });
            if (std::count(changes.begin(), changes.end(), box) != by_user) {
                return "the program changed " + std::string(ui::name(box));
            }
        }
        for (const Control box : {Control::txt_spannungswandler, Control::txt_kwh}) {
            const QWidget* w = view.widget(box);
            if (w->hasFocus() && !(w->isVisible() && w->isEnabled())) {
                return std::string(ui::name(box)) + " has the focus, hidden or disabled";
            }
        }
        edits.clear();
        changes.clear();
        return difference(reading, model);
    }

    widget_testing::MessageBoxDismisser dismisser{0};
    ui::qt::Program main_window;
    ui::Window& window = main_window.model();
    ui::qt::WindowView& view = main_window.view();
    Model model;
    const ViewReading reading{view, dismisser};

    std::string what;  // the input last performed
    std::vector<std::pair<Control, std::string>> edits;  // textEdited during one input
    std::vector<Control> changes;                        // textChanged during one input
    int toggles = 0;
    int presses = 0;
    std::size_t edited = 0;
    std::size_t toggled = 0;
};

TEST_F(ViewStress, random_input_shows_what_the_inputs_determine)
{
    const std::uint64_t seed = setting("KORVANTELO_STRESS_SEED", default_seed);
    const std::uint64_t actions = setting("KORVANTELO_STRESS_ACTIONS", STRESS_ACTIONS);
    std::cout << "view stress: seed " << seed << ", " << actions << " inputs\n";

    InputDriver driver(seed);
    std::deque<std::string> recent;  // the last inputs, for a report
    if (const auto diff = difference(reading, model)) FAIL() << "after Load: " << *diff;
    for (std::uint64_t i = 0; i < actions; ++i) {
        const Input input = driver.next(model);
        std::optional<std::string> fault;
        try {
            fault = perform(input);
            QApplication::processEvents();
        } catch (const std::exception& error) {
            fault = std::string("threw ") + error.what();
        }
        if (!view.isActiveWindow()) {
            // A closed message box leaves no window active on the offscreen
            // platform; a desktop gives its window the focus back.
            view.activateWindow();
            if (!QTest::qWaitForWindowActive(&view)) fault = "the window stays inactive";
        }
        if (!fault) fault = settle();
        if (fault) {
            std::string before;
            for (const auto& earlier : recent) before += "\n  " + earlier;
            FAIL() << "seed " << seed << ", input #" << i << " (" << what << "): " << *fault
                   << "\nthe inputs before it:" << before
                   << "\nrerun with KORVANTELO_STRESS_SEED=" << seed
                   << " KORVANTELO_STRESS_ACTIONS=" << i + 1;
        }
        recent.push_back(what);
        if (recent.size() > 12) recent.pop_front();
    }
    for (const auto& box : dismisser.seen()) {
        ASSERT_EQ(box.title, "Fehler!");
        ASSERT_EQ(box.text, "Eingabefehler!");
    }

    const auto& tally = model.tally();
    std::cout << "view stress: " << actions << " inputs, " << edited << " edits, " << toggled
              << " toggles, " << tally.outputs_written << " outputs written, " << tally.failures
              << " input-error messages, " << tally.results << " results, " << tally.failed_presses
              << " failed presses\n";
    if (actions < 1000) return;
    // Enough of each kind, or the run proved little.
    EXPECT_GT(edited, actions / 4);
    EXPECT_GT(toggled, actions / 100);
    EXPECT_GT(tally.results, actions / 300);
    EXPECT_GT(tally.failed_presses, actions / 300);
    EXPECT_GT(tally.failures, actions / 20);
}

}  // namespace
