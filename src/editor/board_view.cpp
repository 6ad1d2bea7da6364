#include "editor/board_view.h"

#include <QMouseEvent>
#include <QPainter>

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
  setObjectName("DrawWndClass");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(120, 120);
}

void BoardView::set_scene(const BoardScene& scene) {
  scene_ = scene;
  update();
}

BoardGeometry BoardView::geometry_now() const {
  int n = scene_.figure ? scene_.figure->b_size : 19;
  return board_geometry(width(), height(), n, scene_.coord_style, scene_.with_coords);
}

QImage BoardView::render_image() const {
  QImage img(size() * devicePixelRatio(), QImage::Format_RGB32);
  img.setDevicePixelRatio(devicePixelRatio());
  QPainter p(&img);
  if (scene_.figure)
    draw_board(p, rect(), scene_);
  else
    p.fillRect(rect(), QColor(BACKGROUND_RED, BACKGROUND_GREEN, BACKGROUND_BLUE));
  return img;
}

void BoardView::paintEvent(QPaintEvent*) {
  // Drawn whole into one image and copied in one go: no half-drawn board shows.
  frame_ = render_image();
  QPainter p(this);
  p.drawImage(0, 0, frame_);
}

void BoardView::mousePressEvent(QMouseEvent* e) {
  int z = point_from_mouse(geometry_now(), int(e->position().x()), int(e->position().y()));
  if (z) emit point_clicked(z, e->button(), e->globalPosition().toPoint());
  else QWidget::mousePressEvent(e);
}
