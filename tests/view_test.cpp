// The real widgets, driven with simulated keys and clicks on the offscreen
// platform. Any message box that opens is recorded and closed at once, so an
// unexpected one fails a count instead of hanging the run.

#include "ui/qt/window_view.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/widget_testing.h"
#include "ui/art/icon_sizes.h"
#include "ui/layout.h"
#include "ui/plan.h"
#include "ui/presentation.h"

namespace {

using ui::Control;

class ViewTest : public ::testing::Test {
protected:
    ViewTest()
    {
        model.load();
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    template <typename W = QWidget>
    W* find(Control id)
    {
        auto* w = view.findChild<W*>(QString::fromUtf8(ui::name(id).data(), static_cast<qsizetype>(ui::name(id).size())));
        EXPECT_NE(w, nullptr) << ui::name(id);
        return w;
    }

    QLineEdit* edit(Control id) { return find<QLineEdit>(id); }
    QString ratio() { return find<QLabel>(Control::label_wandlerverhaeltnis)->text(); }

    void click(Control id)
    {
        QWidget* w = find(id);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2));
    }

    // Selects the whole text of a box and types over it; returns the ratio
    // label's text after every keystroke.
    std::vector<QString> retype(Control id, const QString& keys)
    {
        QLineEdit* e = edit(id);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        std::vector<QString> ratios;
        for (const QChar key : keys) {
            QTest::keyClicks(e, QString(key));
            ratios.push_back(ratio());
        }
        return ratios;
    }

    QImage rendering() { return view.grab().toImage(); }
    // Where a control lies in the window, inside the group of its box too.
    QRect in_window(Control id) { return widget_testing::in_window(find(id)); }

    ui::qt::Program window;
    ui::Window& model = window.model();
    ui::qt::WindowView& view = window.view();
    widget_testing::MessageBoxDismisser dismisser;
    const std::vector<widget_testing::SeenBox>& boxes = dismisser.seen();
};

using Texts = std::vector<QString>;

TEST_F(ViewTest, is_a_fixed_tool_window_with_every_control_at_its_place)
{
    EXPECT_EQ(view.objectName(), "korvantelo");
    EXPECT_EQ(view.windowTitle(), "Korvantelo berechnen");
    EXPECT_EQ(view.size(), QSize(559, 304));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    const Qt::WindowFlags flags = view.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(view.testAttribute(Qt::WA_QuitOnClose));

    // Every widget where the plan puts it, its font the plan's, in the group of its box.
    for (const auto& e : ui::plan::base.entries()) {
        const auto& r = e.rect;
        EXPECT_EQ(in_window(e.id), QRect(r.left, r.top, r.width, r.height)) << e.name;
        EXPECT_EQ(view.widget(e.id), find(e.id));
        EXPECT_EQ(find(e.id)->font().pixelSize(), e.font.pixel_height) << e.name;
        EXPECT_EQ(find(e.id)->font().bold(), e.font.bold) << e.name;
        const auto* group = qobject_cast<QGroupBox*>(find(e.id)->parentWidget());
        EXPECT_EQ(group != nullptr, e.group.has_value()) << e.name;
        if (group != nullptr) {
            const auto title = ui::plan::base.group(*e.group).title;
            EXPECT_EQ(group->title(), find<QLabel>(title)->text()) << e.name;
        }
    }
}

TEST_F(ViewTest, uses_the_fonts_and_colours_of_each_control)
{
    const auto font = [this](Control id) { return find(id)->font(); };
    // It asks for a face that is there: "MS Sans Serif" or its stand-in.
    EXPECT_EQ(font(Control::Label8).family(), QFontInfo(font(Control::Label8)).family());

    // Where the face is missing, a substitute of about the same size: the
    // longest heading still fits its label.
    const QLabel* heading = find<QLabel>(Control::Label15);
    EXPECT_LE(heading->fontMetrics().horizontalAdvance(heading->text()), heading->width());
    EXPECT_LE(QFontInfo(font(Control::Label15)).pixelSize(), 11);

    const QImage image = rendering();
    const QColor face = view.palette().color(QPalette::Button);
    EXPECT_EQ(image.pixelColor(450, 280 - 10 - 20), face);  // empty area right of the boxes
    EXPECT_EQ(image.pixelColor(8, 30), view.palette().color(QPalette::Text));  // Line4
    const QRect ratio_box = in_window(Control::label_wandlerverhaeltnis);
    EXPECT_EQ(image.pixelColor(ratio_box.right() - 1, ratio_box.bottom() - 1), QColor(192, 192, 192));
    const QRect kwh = in_window(Control::txt_kwh);
    EXPECT_EQ(image.pixelColor(kwh.center().x() + 12, kwh.center().y()), QColor(Qt::white));
}

// A ratio wider than its label keeps the label's size (and shows its
// exponent, scenario long_figures_keep_their_exponent_in_sight).
TEST_F(ViewTest, keeps_the_ratio_label_at_its_size)
{
    const QRect before = find(Control::label_wandlerverhaeltnis)->geometry();
    QApplication::clipboard()->setText("-1,23456789012345E-300");
    QTest::keyClick(edit(Control::txt_stromwandler), Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(edit(Control::txt_stromwandler), QKeySequence::Paste);
    EXPECT_EQ(ratio(), "-2,4691357802469E-301");
    EXPECT_EQ(find(Control::label_wandlerverhaeltnis)->geometry(), before);
    EXPECT_TRUE(boxes.empty());
}

// Whether a box shows `text`.
bool shows(QLineEdit* box, const QString& text)
{
    return box->grab().toImage() == widget_testing::plain_rendering(box, text);
}

// The tooltip that hovering over the widget shows; empty for none.
QString hovered(QWidget* w)
{
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &hover);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// A figure the program writes shows from its first digit; one wider than
// its box, while the box has no focus, as its first digits, the mark and its
// exponent, and whole on hovering; its text, what is copied and read out,
// stays whole. Typing stays where it was typed.
TEST_F(ViewTest, shows_a_written_figure_from_its_first_digit_and_its_exponent_in_sight)
{
    retype(Control::txt_impulse, "350000");
    EXPECT_EQ(edit(Control::txt_impulse)->cursorPosition(), 6);
    retype(Control::txt_wh, "1");
    click(Control::cmd_berechnen);
    QLineEdit* result = edit(Control::txt_ergebnis);
    ASSERT_EQ(result->text(), "2,85714285714286E-06");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(result)->text(QAccessible::Value), result->text());
    EXPECT_TRUE(shows(result, "2,85714…E-06"));
    EXPECT_EQ(hovered(result), "2,85714285714286E-06");
    result->setFocus();  // the ordinary box, from its first character
    EXPECT_EQ(result->cursorPosition(), 0);
    EXPECT_FALSE(shows(result, "2,85714…E-06"));
    edit(Control::txt_impulse)->setFocus();
    EXPECT_TRUE(shows(result, "2,85714…E-06"));

    retype(Control::txt_wh, "1234567");  // the disabled kWh box cannot even be scrolled
    EXPECT_EQ(edit(Control::txt_kwh)->text(), "1234,567");
    EXPECT_TRUE(shows(edit(Control::txt_kwh), "12…"));
    EXPECT_EQ(hovered(edit(Control::txt_kwh)), "1234,567");
    retype(Control::txt_wh, "1234");
    EXPECT_TRUE(shows(edit(Control::txt_kwh), "1,234"));
    EXPECT_EQ(hovered(edit(Control::txt_kwh)), "");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewTest, ticking_shows_the_voltage_row_in_place_and_unticking_leaves_it_empty)
{
    const QRect row(144, 127, 98, 37);  // x 2160 to 3615, y 1905 to 2455 twips
    const QColor face = view.palette().color(QPalette::Button);
    const auto row_is_empty = [&] {
        const QImage image = rendering();
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x) {
                if (image.pixelColor(x, y) != face) return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(row_is_empty());

    click(Control::chk_Spannungswandler);
    EXPECT_TRUE(find<QCheckBox>(Control::chk_Spannungswandler)->isChecked());
    EXPECT_EQ(model.value(Control::chk_Spannungswandler), 1);
    for (const Control c : ui::voltage_row) EXPECT_TRUE(find(c)->isVisible()) << ui::name(c);
    EXPECT_EQ(in_window(Control::txt_spannungswandler), QRect(144, 144, 49, 19));
    EXPECT_FALSE(row_is_empty());
    EXPECT_EQ(retype(Control::txt_spannungswandler, "20000"), (Texts{"0,02", "0,2", "2", "20", "200"}));

    click(Control::chk_Spannungswandler);
    for (const Control c : ui::voltage_row) EXPECT_FALSE(find(c)->isVisible()) << ui::name(c);
    EXPECT_TRUE(row_is_empty());
    EXPECT_EQ(ratio(), "1");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewTest, shows_the_input_error_message_as_a_modal_warning)
{
    // Deleting the Wh figure.
    QLineEdit* wh = edit(Control::txt_wh);
    wh->setFocus();
    QTest::keyClick(wh, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(wh, Qt::Key_Delete);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Fehler!");
    EXPECT_EQ(boxes[0].text, "Eingabefehler!");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes[0].modality, Qt::ApplicationModal);
}

// In the boxes too: scenario enter_and_escape_press_nothing.
TEST_F(ViewTest, enter_and_escape_never_press_a_focused_berechnen)
{
    retype(Control::txt_impulse, "0");  // a press would show the message
    QWidget* button = find(Control::cmd_berechnen);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ratio(), "1");
    QTest::keyClick(button, Qt::Key_Space);  // the one key that presses a focused button
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ViewTest, follows_paste_cut_undo_and_redo)
{
    QLineEdit* current = edit(Control::txt_stromwandler);
    current->setFocus();
    QApplication::clipboard()->setText("400");
    QTest::keyClick(current, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(current, QKeySequence::Paste);
    EXPECT_EQ(model.text(Control::txt_stromwandler), "400");
    EXPECT_EQ(ratio(), "80");

    current->undo();
    EXPECT_EQ(model.text(Control::txt_stromwandler), "5");
    EXPECT_EQ(ratio(), "1");
    QTest::keySequence(current, QKeySequence::Redo);
    EXPECT_EQ(model.text(Control::txt_stromwandler), "400");
    EXPECT_EQ(ratio(), "80");
    QTest::keySequence(current, QKeySequence::Undo);
    EXPECT_EQ(ratio(), "1");

    QTest::keyClick(current, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(current, QKeySequence::Cut);
    EXPECT_EQ(model.text(Control::txt_stromwandler), "");
    EXPECT_EQ(boxes.size(), 1u);  // an empty current is no number
    EXPECT_EQ(QApplication::clipboard()->text(), "5");
}

TEST_F(ViewTest, takes_a_pasted_text_of_any_length_whole)
{
    QLineEdit* pulses = edit(Control::txt_impulse);
    EXPECT_EQ(pulses->maxLength(), std::numeric_limits<int>::max());
    const QString digits(100000, QChar('7'));
    QApplication::clipboard()->setText(digits);
    pulses->setFocus();
    QTest::keyClick(pulses, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(pulses, QKeySequence::Paste);
    EXPECT_EQ(pulses->text().size(), 100000);
    EXPECT_EQ(model.text(Control::txt_impulse), digits.toStdString());
}

// The contrast of two colours as the accessibility guidelines define it,
// from 1:1 to 21:1.
double contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a control's text against its own ground, read from the
// window's pixels inside the part of the control that shows (controls
// stacked above it taken away): its commonest colour is the ground, the
// pixel farthest from that in contrast is the text's.
double text_contrast(const QImage& window, const QWidget* control, QRect inside)
{
    QRegion shows(inside);
    const QObjectList& stack = control->parentWidget()->children();
    for (auto above = stack.begin() + stack.indexOf(control) + 1; above != stack.end(); ++above) {
        if (auto* w = qobject_cast<QWidget*>(*above); w != nullptr && w->isVisible()) {
            shows -= widget_testing::in_window(w);
        }
    }
    std::map<QRgb, int> count;
    for (const QRect& r : shows) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) ++count[window.pixel(x, y)];
        }
    }
    if (count.empty()) return 0;
    const QColor ground = std::max_element(count.begin(), count.end(), [](auto a, auto b) {
        return a.second < b.second;
    })->first;
    double most = 1;
    for (const auto& [pixel, n] : count) most = std::max(most, contrast(ground, pixel));
    return most;
}

// Every text in the window, under the desktop's default colours, a dark
// scheme and a high-contrast scheme, set on the application as a platform
// theme sets them: at least 4.5:1 against its ground.
TEST(ViewColours, every_text_stands_out_from_its_ground_under_any_scheme)
{
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    for (const auto& [scheme, palette] :
         {std::pair{"default", desktop}, {"dark", widget_testing::dark_palette()},
          {"high contrast", widget_testing::high_contrast_palette()}}) {
        QApplication::setPalette(palette);
        ui::qt::Program window;
        window.model().load();
        window.model().user_toggle(Control::chk_Spannungswandler);  // every text shows
        window.model().user_press(Control::cmd_berechnen);
        window.view().show();
        const QImage image = window.view().grab().toImage();
        for (QWidget* w : window.view().findChildren<QWidget*>()) {
            QRect inside = widget_testing::in_window(w);
            if (const auto* label = qobject_cast<QLabel*>(w)) {
                if (label->text().isEmpty()) continue;  // the pictures
            } else if (qobject_cast<QLineEdit*>(w) != nullptr) {
                inside.adjust(2, 2, -2, -2);  // inside the sunken frame
            } else if (qobject_cast<QCheckBox*>(w) != nullptr) {
                inside.setLeft(inside.left() + w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 2);
            } else if (qobject_cast<QPushButton*>(w) != nullptr) {
                inside.adjust(3, 3, -3, -3);  // inside the raised frame
            } else {
                continue;  // the lines
            }
            EXPECT_GE(text_contrast(image, w, inside), 4.5) << scheme << ": " << w->objectName().toStdString();
        }
    }
}

// Overlapping controls: the one higher in the stacking is what shows.
TEST_F(ViewTest, stacks_overlapping_controls)
{
    const auto at = [this](int x, int y) { return view.childAt(x, y)->objectName(); };
    EXPECT_EQ(at(284, 48), "Label7");            // "(" over "Wh"
    EXPECT_EQ(at(300, 48), "txt_kwh");           // the kWh box over both
    EXPECT_EQ(at(180, 100), "chk_Spannungswandler");  // over the right part of "Wandler"
    EXPECT_EQ(at(89, 150), "Label12");           // "5 A" over the large "/"
    EXPECT_EQ(at(80, 141), "Label8");            // the "/" over "Strom"

    click(Control::chk_Spannungswandler);
    EXPECT_EQ(at(209, 150), "Label13");          // "100 V" over its "/"
    EXPECT_EQ(at(200, 141), "Label10");          // the "/" over "Spannung"

    // The bracket is drawn: dark pixels in the part of "(" that the kWh box leaves free.
    const QImage image = rendering();
    int dark = 0;
    for (int y = 40; y < 57; ++y) {
        for (int x = 280; x < 288; ++x) dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 3);
}

TEST_F(ViewTest, shows_the_pictures_at_natural_size)
{
    EXPECT_EQ(find<QLabel>(Control::Image1)->pixmap().size(), QSize(184, 157));
    EXPECT_EQ(find<QLabel>(Control::Image2)->pixmap().size(), QSize(584, 39));
    EXPECT_EQ(find(Control::Image2)->width(), 584);  // cut by the window's right edge
    EXPECT_FALSE(view.windowIcon().isNull());
    EXPECT_EQ(view.windowIcon().availableSizes().value(0), QSize(32, 32));
}

// Pixel for pixel what the committed picture files of ui/art hold, though
// the window reads them from the pixel files decoded at build time.
bool shows_picture(const QPixmap& shown, const char* committed)
{
    const QImage original = QImage(QStringLiteral(ART_DIR "/") + QString::fromUtf8(committed))
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return !original.isNull() && shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) == original;
}

TEST_F(ViewTest, shows_the_committed_pictures)
{
    EXPECT_TRUE(shows_picture(find<QLabel>(Control::Image1)->pixmap(), "image1.jpg"));
    EXPECT_TRUE(shows_picture(find<QLabel>(Control::Image2)->pixmap(), "image2.bmp"));
    EXPECT_TRUE(shows_picture(view.windowIcon().pixmap(QSize(32, 32)), "korvantelo.ico"));
    // Sharp in HiDPI title bars and task switchers too.
    QList<QSize> carried{{32, 32}};
    for (const int size : ui::art::icon::window_sizes) carried.append({size, size});
    EXPECT_EQ(view.windowIcon().availableSizes(), carried);
}

#ifdef __linux__
// The image plugins mapped into this process.
std::set<std::string> image_plugins()
{
    std::ifstream maps("/proc/self/maps");
    std::set<std::string> plugins;
    for (std::string line; std::getline(maps, line);) {
        const auto path = line.find('/');
        if (path != std::string::npos && line.find("/imageformats/", path) != std::string::npos) {
            plugins.insert(line.substr(path));
        }
    }
    return plugins;
}

// Qt loads every image plugin, and libjpeg, as soon as it is asked to guess
// the format of one picture; the window names the formats of its pictures,
// all of which Qt reads by itself, and starts without any plugin.
// Qt lets no exception through its event loop: a fault of the program in a
// user's action (here an edit of the hidden box, which no user can make) is
// told as a message, and the event loop ends with a failure.
TEST(ViewFault, tells_a_fault_in_a_slot_and_ends_the_program)
{
    widget_testing::MessageBoxDismisser dismisser;
    ui::qt::Program program;
    program.start();
    QTimer::singleShot(0, [&] { program.edited(Control::txt_spannungswandler, "1"); });
    EXPECT_EQ(QApplication::exec(), EXIT_FAILURE);
    ASSERT_EQ(dismisser.seen().size(), 1u);
    EXPECT_EQ(dismisser.seen()[0].title, "Korvantelo");
    EXPECT_EQ(dismisser.seen()[0].text,
              "Korvantelo kann nicht weiterlaufen:\ntxt_spannungswandler: hidden or disabled");
}

TEST(ViewStartUp, loads_no_image_plugin)
{
    if (!image_plugins().empty()) GTEST_SKIP() << "an earlier test in this process loaded image plugins";
    ui::qt::Program window;
    window.model().load();
    window.view().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window.view()));
    EXPECT_EQ(image_plugins(), std::set<std::string>{});
}
#endif

// The window as an assistive technology reads it: every box by a name that
// says what it holds, its figure as its value.
TEST_F(ViewTest, tells_a_screen_reader_what_every_box_holds)
{
    retype(Control::txt_stromwandler, "400");
    click(Control::cmd_berechnen);

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(QAccessible::Name), "Korvantelo berechnen");
    struct Read {
        QAccessible::Role role;
        QString value;
        QString description;
        bool invisible;
    };
    std::map<QString, Read> read;
    std::vector<QString> groups;
    std::vector<QAccessibleInterface*> pending{window};
    while (!pending.empty()) {
        QAccessibleInterface* parent = pending.back();
        pending.pop_back();
        for (int i = 0; i < parent->childCount(); ++i) {
            QAccessibleInterface* child = parent->child(i);
            pending.push_back(child);
            const QString name = child->text(QAccessible::Name);
            if (child->role() == QAccessible::Grouping) groups.push_back(name);
            if (child->role() == QAccessible::EditableText || child->role() == QAccessible::CheckBox ||
                child->role() == QAccessible::Button || name == "80") {
                EXPECT_EQ(read.count(name), 0u) << "two controls read the same: " << name.toStdString();
                read[name] = {child->role(), child->text(QAccessible::Value),
                              child->text(QAccessible::Description), child->state().invisible != 0};
            }
        }
    }
    // The three boxes, each a group named by its title.
    std::sort(groups.begin(), groups.end());
    EXPECT_EQ(groups, (std::vector<QString>{"Ergebnis", "Korvantelo Zähler", "Wandler"}));
    EXPECT_EQ(read["Impulse"].value, "1");
    EXPECT_EQ(read["Energie in Wh"].value, "1000");
    EXPECT_EQ(read["Energie in kWh"].value, "1");
    EXPECT_EQ(read["Stromwandler primär in A"].value, "400");
    EXPECT_EQ(read["Spannungswandler primär in V"].value, "100");
    EXPECT_TRUE(read["Spannungswandler primär in V"].invisible);
    EXPECT_EQ(read["Ergebnis in Wh pro Impuls"].value, "80000");
    EXPECT_EQ(read["Berechnen"].role, QAccessible::Button);
    EXPECT_EQ(read["Spannungswandler"].role, QAccessible::CheckBox);
    EXPECT_EQ(read["80"].description, "Wandlerverhältnis");  // the ratio label keeps its caption
    EXPECT_TRUE(read["Impulse"].description.contains("Typenschild"));
    EXPECT_TRUE(read["Stromwandler primär in A"].description.contains("5 A"));
    EXPECT_TRUE(read["Spannungswandler"].description.contains("Spannungswandler"));
    // Every name, hint and tooltip is the presentation table's.
    for (const auto& p : ui::presentations) {
        const QWidget* w = find(p.id);
        if (!p.accessible_name.empty()) {
            EXPECT_EQ(w->accessibleName().toStdString(), p.accessible_name);
        }
        EXPECT_EQ(w->accessibleDescription().toStdString(), p.hint) << ui::name(p.id);
        EXPECT_EQ(w->toolTip().toStdString(), p.tooltip ? p.hint : "") << ui::name(p.id);
    }
}

}  // namespace
