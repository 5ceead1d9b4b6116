#include "error_report.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

bool platformCanShowMessageBox() {
  if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
    return false;
  }
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void showErrorMessageBox(const QString &message) {
  QMessageBox::critical(nullptr, QStringLiteral("Rigcheck"), message);
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
