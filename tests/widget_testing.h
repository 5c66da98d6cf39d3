#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTimer>

#include <vector>

// What the widget tests share besides their main (widget_test_main.cpp).
namespace widget_testing {

// How a box alike in all but its text would draw `text`, with the cursor
// at the start: what a box that shows `text` looks like.
inline QImage plain_rendering(const QLineEdit* box, const QString& text)
{
    QLineEdit plain(text, box->parentWidget());
    plain.setStyle(box->style());
    plain.setFont(box->font());
    plain.setPalette(box->palette());
    plain.setGeometry(box->geometry());
    plain.setEnabled(box->isEnabled());
    plain.setCursorPosition(0);
    return plain.grab().toImage();
}

// Where a widget lies in its window, inside the group of its box too.
inline QRect in_window(const QWidget* w)
{
    return {w->mapTo(w->window(), QPoint(0, 0)), w->size()};
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality;
};

// Closes every modal message box as soon as its event loop runs, and records
// what it showed: an unexpected box fails a count instead of hanging the run.
class MessageBoxDismisser {
public:
    explicit MessageBoxDismisser(int interval_ms = 5)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            seen_.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             box->windowModality()});
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(interval_ms);
    }

    [[nodiscard]] const std::vector<SeenBox>& seen() const { return seen_; }

private:
    QTimer timer_;
    std::vector<SeenBox> seen_;
};

// A dark colour scheme as a desktop's platform theme hands it to Qt: light
// texts on dark grounds, dimmed texts when disabled.
inline QPalette dark_palette()
{
    QPalette dark(QColor(238, 238, 236), QColor(53, 53, 53), QColor(75, 75, 75), QColor(30, 30, 30),
                  QColor(40, 40, 40), QColor(238, 238, 236), Qt::white, QColor(45, 45, 45), QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, QColor(150, 150, 150));
    }
    return dark;
}

// A high-contrast scheme: white on black.
inline QPalette high_contrast_palette()
{
    QPalette black(Qt::white, Qt::black, Qt::white, Qt::white, Qt::gray, Qt::white, Qt::white, Qt::black,
                   Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        black.setColor(QPalette::Disabled, role, QColor(150, 150, 150));
    }
    return black;
}

}  // namespace widget_testing
