// Text rendering needs a GUI application; one lives for the whole test program.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "draw_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
