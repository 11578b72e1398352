// A widget that shows a picture with a persistent image (a plain picture or a canvas with its
// overlay). The canvas box also takes files dropped on it.
#pragma once
#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/gfx/picture.h"

class QMimeData;

namespace mk {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  using Source = std::function<const plat::Picture*()>;
  explicit PictureBox(Source source, QWidget* parent = nullptr);
  void SetAcceptFiles(bool on);

 signals:
  void FilesDropped(const QStringList& paths);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  Source source_;
};

// The local file paths of dropped data, in the order of the list; empty when the data carries
// no file list.
QStringList DroppedFiles(const QMimeData* data);

}  // namespace mk
