// The edit commands' view of a chart window: its own steps, which keep its widgets in line.
#pragma once
#include <string>

#include "chartview/form1.h"
#include "editing/edithost.h"

namespace mk {

class WindowEditHost final : public EditHost {
 public:
  explicit WindowEditHost(Form1& w) : w_(w) {}
  void ObjBackup() override { w_.ObjBackup(); }
  void ObjDeSel() override { w_.ObjDeSel(); }
  void MesCountChanged() override { w_.Mes_Change(0); }
  void ObjDraw() override { w_.ObjDraw(); }
  void StatusNote(const std::string& text) override { w_.StatusNote(text); }

 private:
  Form1& w_;
};

}  // namespace mk
