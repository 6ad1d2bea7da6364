// The board view window: paints the working record through an off-screen
// image and reports clicks as points.
#pragma once
#include <QImage>
#include <QWidget>

#include "editor/board_scene.h"

class BoardView : public QWidget {
  Q_OBJECT
 public:
  explicit BoardView(QWidget* parent = nullptr);

  // The scene is read at every paint; the caller keeps what it points to alive.
  void set_scene(const BoardScene& scene);
  const BoardScene& scene() const { return scene_; }
  BoardGeometry geometry_now() const;
  // The whole view as it would appear now, drawn off screen.
  QImage render_image() const;

 signals:
  void point_clicked(int zc, Qt::MouseButton button, QPoint global_pos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  BoardScene scene_;
  QImage frame_;
};
