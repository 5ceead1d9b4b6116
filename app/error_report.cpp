#include "error_report.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace {

// Swallows the timer events of every object outside `box`.
class TimerFreeze final : public QObject {
public:
    explicit TimerFreeze(const QObject &box) : box_(box) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerFreeze() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        return event->type() == QEvent::Timer && !belongsToBox(watched);
    }

private:
    bool belongsToBox(const QObject *object) const {
        for (; object != nullptr; object = object->parent()) {
            if (object == &box_) {
                return true;
            }
        }
        return false;
    }

    const QObject &box_;
};

}  // namespace

bool platformCanShowMessageBox() {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void showErrorMessageBox(const QString &message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Rigcheck"), message, QMessageBox::Ok);
    TimerFreeze freeze(box);
    box.exec();
}

void MessageBoxErrorReporter::fatal(const QString &message) {
    std::fprintf(stderr, "rigcheck: %s\n", qPrintable(message));
    if (platformCanShowMessageBox()) {
        showErrorMessageBox(message);
    }
    // The error may arrive inside any event handler; leaving at once keeps the
    // half-started window and the toolkit's static objects from being torn
    // down underneath the handler that is still on the stack.
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}
