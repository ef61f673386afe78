#include "gui/reference/drawing_view.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace rivulet {
namespace {

// The nominal picture sizes are small on today's screens; this keeps the words readable.
constexpr double kPictureScale = 1.3;

QString ToQString(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

ScenePicture::ScenePicture(DrawingScene scene, double scale, QWidget* parent)
    : QWidget(parent), scene_(std::move(scene)) {
  setObjectName("Image1");
  setFixedSize((scene_.size * scale).toSize());
}

void ScenePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintDrawingScene(painter, scene_, rect());
}

SectionDrawingView::SectionDrawingView(SectionKind kind, QWidget* parent)
    : QDialog(parent), kind_(kind) {
  const DrawingInfo& info = DrawingFor(kind);
  setObjectName(ToQString(info.windowName));
  setWindowTitle(ToQString(info.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  auto* picture = new ScenePicture(BuildDrawingScene(kind), kPictureScale, this);
  auto* ok = new QPushButton(tr("OK"), this);
  ok->setObjectName(ToQString(info.buttonName));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QWidget::close);

  auto* side = new QVBoxLayout;
  side->addWidget(ok);
  side->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture, 0, Qt::AlignTop | Qt::AlignLeft);
  layout->addLayout(side);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace rivulet
