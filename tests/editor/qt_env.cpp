#include "qt_env.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "editor_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QApplication* app_ = nullptr;
};

const auto* registered = testing::AddGlobalTestEnvironment(new QtEnvironment);

int generation = 0;

void poll_for_dialog(std::function<void(QWidget*)> act, int tries_left, int gen) {
  if (gen != generation) return;
  QWidget* w = QApplication::activeModalWidget();
  if (w) {
    act(w);
    return;
  }
  if (tries_left > 0)
    QTimer::singleShot(20, [act, tries_left, gen] { poll_for_dialog(act, tries_left - 1, gen); });
}

}  // namespace

void answer_next_dialog(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act, gen = generation] { poll_for_dialog(act, 250, gen); });
}

void cancel_pending_answers() { generation++; }
