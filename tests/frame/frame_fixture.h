// A frame started offscreen on a scratch install folder holding the shipped scripts and sample
// charts, with a scripted desktop.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chartview/form1.h"
#include "frame/formp.h"
#include "scripted_desktop.h"
#include "temp_dir.h"

namespace testsupport {

class FrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Starts the frame with these command-line paths; returns MDIForm_Load's result.
  bool Start(std::vector<std::string> args = {});
  // Runs pending events (queued activations, deferred deletions).
  static void Pump();
  // No frame and a new install folder, for the next case of a table.
  void Fresh();
  std::string Sample(const std::string& name) const;  // a sample chart in the install folder
  mk::FormP& Frame() { return *frame_; }
  std::string Install() const { return dir_.path() + "/"; }
  std::string ScriptTitle(int script) const;
  // Opens path in a new window as a frame drop would, and lets the window become current.
  mk::Form1* Open(const std::string& path);
  // Makes window w the active child and lets the activation run.
  void Activate(mk::Form1* w);

  TempDir dir_;
  ScopedDesktop desk_;
  std::unique_ptr<mk::FormP> frame_;
  bool quit_ = false;
};

}  // namespace testsupport
