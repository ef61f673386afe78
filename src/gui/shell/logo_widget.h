// The maker's logo, drawn rather than stored so it stays crisp at any scaling.
#pragma once

#include <QWidget>

namespace rivulet {

class LogoWidget : public QWidget {
 public:
  explicit LogoWidget(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {72, 72}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace rivulet
