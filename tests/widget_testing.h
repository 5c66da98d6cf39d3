#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <vector>

// What the widget tests share besides their main (widget_test_main.cpp).
namespace widget_testing {

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

}  // namespace widget_testing
