// The definition lists' handlers: choosing a row, choosing a file, comment, erase, batch load,
// preview, properties, the two context menus and the definition toolbar with its moves.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTreeWidget>

#include "chartfmt/globals.h"
#include "chartfmt/utils.h"
#include "chartview/form1.h"
#include "chartview/mixedbutton.h"
#include "deftables/deflists.h"
#include "frame/deflistview.h"
#include "frame/fieldwarn.h"
#include "frame/formp.h"
#include "frame/wavlump.h"
#include "platform/core/desktop.h"

namespace mk {

namespace {

DefKind KindOf(DefList l) { return l == DefList::Grid1 ? DefKind::Wav : DefKind::Bga; }

bool IsFile(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); }

}  // namespace

DocData* FormP::CurDoc() const { return WinAt(g_CurWin) ? &g_Docs[g_CurWin] : nullptr; }

QMenu* FormP::GridM() const { return qobject_cast<QMenu*>(menus_.at("GridM_Cmt")->parent()); }
QMenu* FormP::BGAM() const { return qobject_cast<QMenu*>(menus_.at("BGAM_Cmt")->parent()); }

void FormP::ConnectDefPanel() {
  for (DefList l : {DefList::Grid1, DefList::Grid2}) {
    auto* v = static_cast<DefListView*>(List(l));
    // The selected row is the current definition however it moved: click, arrow, page or home
    // keys, or the frame selecting it. A click on the row that is already selected still makes
    // it current (the number may have been changed on the canvas meanwhile); a click that also
    // moved the selection has been handled by then and does nothing more.
    connect(v, &QTreeWidget::itemSelectionChanged, this, [this, l, v] { Grid_ItemClick(l, v->SelectedRow()); });
    connect(v, &QTreeWidget::itemClicked, this, [this, l, v](QTreeWidgetItem* it) {
      const DocData* d = CurDoc();
      const int row = v->indexOfTopLevelItem(it) + 1;
      if (d && d->CurDef != DefNumberOfRow(KindOf(l), row)) Grid_ItemClick(l, row);
    });
    connect(v, &QTreeWidget::itemDoubleClicked, this, [this, l] { Grid_DblClick(l); });
    v->mouseUp = [this, l](int button, QPoint global) { Grid_MouseUp(l, button, global); };
    v->keyUp = [this, l](int key, int shift) { Grid_KeyUp(l, key, shift); };
  }
  static_cast<DefListView*>(grid1_)->mouseMove = [this] { Grid1_MouseMove(); };

  const struct {
    const char* name;
    DefList list;
    void (FormP::*fn)(DefList);
  } items[] = {
      {"GridM_Cmt", DefList::Grid1, &FormP::DefComment},     {"GridM_Wav", DefList::Grid1, &FormP::Grid_DblClick},
      {"GridM_Erase", DefList::Grid1, &FormP::DefErase},     {"GridM_WavA", DefList::Grid1, &FormP::DefLump},
      {"GridM_Prop", DefList::Grid1, &FormP::DefProperties}, {"BGAM_Cmt", DefList::Grid2, &FormP::DefComment},
      {"BGAM_BGA", DefList::Grid2, &FormP::Grid_DblClick},   {"BGAM_Erase", DefList::Grid2, &FormP::DefErase},
      {"BGAM_BGAA", DefList::Grid2, &FormP::DefLump},        {"BGAM_Prop", DefList::Grid2, &FormP::DefProperties}};
  for (const auto& it : items)
    connect(menus_.at(it.name), &QAction::triggered, this, [this, it] { (this->*it.fn)(it.list); });
  connect(menus_.at("GridM_Play"), &QAction::triggered, this, [this] { PlayCurrentWav(); });
  connect(menus_.at("GridM_Stop"), &QAction::triggered, this, [this] { PreviewStop(); });

  defTools_.at(DefTool::TB2_Prev)->setCheckable(true);
  for (DefTool t : kDefTools)
    connect(defTools_.at(t), &QToolButton::clicked, this, [this, t] { Toolbar2_ButtonClick(t); });
  ConnectHeaderPanel();
}

void FormP::Grid_ItemClick(DefList l, int row) {
  if (DocData* d = CurDoc()) SelectDefRow(*d, KindOf(l), row);
}

void FormP::Grid_DblClick(DefList l) {
  DocData* d = CurDoc();
  if (!d) return;
  const DefKind k = KindOf(l);
  DefEntry* e = CurrentDefEntry(*d, k);
  if (!e) return;
  plat::FileDialogRequest req;
  req.filter = DefFileFilter(*d, k);
  const FileChoiceStart start = DefFileChoiceStart(*d, e->File, g_CommonDialogFile);
  req.initialDir = start.folder;
  req.initialName = start.name;
  req.mustExist = true;
  const plat::FileDialogResult r = plat::TheDesktop().OpenFileDialog(req);
  if (r.cancelled) return;
  g_CommonDialogFile = r.path;
  if (!ChooseDefFile(*d, k, r.path, r.fileTitle)) return;
  if (QTreeWidgetItem* it = List(l)->topLevelItem(DefRowOfNumber(k, d->CurDef) - 1))
    it->setText(1, QString::fromStdString(ShownValueOf(r.fileTitle).text));
  SetDirty();
  WarnFieldLoss(*d, k == DefKind::Wav ? ChartField::WavFile : ChartField::BgaFile, d->CurDef);
}

void FormP::DefComment(DefList l) {
  DocData* d = CurDoc();
  if (!d) return;
  const DefKind k = KindOf(l);
  DefEntry* e = CurrentDefEntry(*d, k);
  if (!e) return;
  const CommentDialog ask = CommentDialogFor(*e);
  const plat::InputResult a = plat::TheDesktop().InputBox(ask.prompt, "コメント指定", ask.initial);
  if (a.cancelled) return;  // Cancel keeps the comment; OK with an empty text clears it
  SetDefComment(*d, k, a.text);
  if (QTreeWidgetItem* it = List(l)->topLevelItem(DefRowOfNumber(k, d->CurDef) - 1))
    it->setText(2, QString::fromStdString(ShownValueOf(a.text).text));
  SetDirty();
  WarnFieldLoss(*d, k == DefKind::Wav ? ChartField::WavComment : ChartField::BgaComment, d->CurDef);
}

void FormP::DefErase(DefList l) {
  DocData* d = CurDoc();
  if (!d || !CurrentDefEntry(*d, KindOf(l))) return;
  const bool erased = EraseDef(*d, KindOf(l));
  if (Form1* w = WinAt(g_CurWin)) w->SetThisWin();
  if (erased) SetDirty();
}

void FormP::DefLump(DefList l) {
  DocData* d = CurDoc();
  if (!d) return;
  const DefKind k = KindOf(l);
  const int row = static_cast<DefListView*>(List(l))->SelectedRow();
  const int number = row > 0 ? DefNumberOfRow(k, row) : d->CurDef;
  bool changed = false;
  {
    WavLump dlg(this, *d, k, number);
    dlg.exec();
    changed = dlg.Changed();
  }
  if (Form1* w = WinAt(g_CurWin)) w->SetThisWin();
  if (changed) SetDirty();
}

void FormP::DefProperties(DefList l) {
  DocData* d = CurDoc();
  if (!d) return;
  const DefEntry* e = CurrentDefEntry(*d, KindOf(l));
  if (e && !e->File.empty() && IsFile(d->Folder + e->File)) ShowFileProperties(d->Folder + e->File);
}

void FormP::PlayCurrentWav() {
  DocData* d = CurDoc();
  if (!d) return;
  const DefEntry* e = CurrentDefEntry(*d, DefKind::Wav);
  PreviewPlay(d->Folder + (e ? e->File : std::string()));
}

void FormP::Grid_KeyUp(DefList l, int key, int shift) {
  DocData* d = CurDoc();
  if (!d) return;
  if (IsEraseKey(key, shift)) DefErase(l);
  SelectDefRow(*d, KindOf(l), static_cast<DefListView*>(List(l))->SelectedRow());
  if (l == DefList::Grid2) PreviewBGA();
}

void FormP::Grid_MouseUp(DefList l, int button, QPoint global) {
  DocData* d = CurDoc();
  if (!d) return;
  if (button == 1) {
    if (l == DefList::Grid2) {
      PreviewBGA();
      return;
    }
    const DefEntry* e = CurrentDefEntry(*d, DefKind::Wav);
    if (defTools_.at(DefTool::TB2_Prev)->isChecked() && e && !e->File.empty() && IsFile(d->Folder + e->File))
      PreviewPlay(d->Folder + e->File);
  } else if (button == 2) {
    (l == DefList::Grid1 ? GridM() : BGAM())->popup(global);
  }
}

void FormP::Grid1_MouseMove() {
  if (QApplication::activeWindow() == this && AutoFocusChecked()) grid1_->setFocus();
}

void FormP::Toolbar2_ButtonClick(DefTool t) {
  DocData* d = CurDoc();
  if (!d) return;
  const int tab = d->DefTab;
  switch (t) {
    case DefTool::TB2_Play:
      if (tab == 0) {
        PlayCurrentWav();
      } else if (tab == 1) {
        d->BgaPreview = -1;
        ShowBgaWin();
      } else {
        ApplyFreeText();
      }
      break;
    case DefTool::TB2_Stop:
    case DefTool::TB2_Prev: PreviewStop(); break;
    case DefTool::TB2_Up:
      if (tab == 0 || tab == 1) MoveDef(tab == 0 ? DefMove::WAVUp : DefMove::BGAUp);
      break;
    case DefTool::TB2_Down:
      if (tab == 0 || tab == 1) MoveDef(tab == 0 ? DefMove::WAVDown : DefMove::BGADown);
      break;
  }
}

void FormP::WAVUp() { MoveDef(DefMove::WAVUp); }
void FormP::WAVDown() { MoveDef(DefMove::WAVDown); }
void FormP::BGAUp() { MoveDef(DefMove::BGAUp); }
void FormP::BGADown() { MoveDef(DefMove::BGADown); }

void FormP::MoveDef(DefMove m) {
  DocData* d = CurDoc();
  if (!d) return;
  const int s = d->CurDef;
  if (!MoveDefinition(*d, m)) return;
  const bool bga = m == DefMove::BGAUp || m == DefMove::BGADown;
  const DefKind k = bga ? DefKind::Bga : DefKind::Wav;
  const DefList l = bga ? DefList::Grid2 : DefList::Grid1;
  const std::vector<DefEntry>& table = bga ? d->Bga : d->Wav;
  for (int n : {s, static_cast<int>(d->CurDef)}) {
    if (QTreeWidgetItem* it = List(l)->topLevelItem(DefRowOfNumber(k, n) - 1)) {
      it->setText(1, QString::fromStdString(ShownValueOf(table[n].File).text));
      it->setText(2, QString::fromStdString(ShownValueOf(table[n].Comment).text));
    }
  }
  SelectListRow(l, DefRowOfNumber(k, d->CurDef));
  if (Form1* w = WinAt(g_CurWin)) w->ObjDraw();
  SetDirty();
}

}  // namespace mk
