#include "gui/reference/grass_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/reference/grass_table.h"

namespace rivulet {
namespace {

constexpr int kFirstColumnWidth = 170;
constexpr int kValueColumnWidth = 210;

QString ToQString(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The grid of labels with its rules: a box, two column rules, one under the headings and
// one between the two groups of grasses.
class RuledGrid : public QWidget {
 public:
  explicit RuledGrid(QWidget* parent) : QWidget(parent), grid_(new QGridLayout(this)) {
    grid_->setSpacing(0);
    grid_->setContentsMargins(1, 1, 1, 1);
    grid_->setColumnMinimumWidth(0, kFirstColumnWidth);
    grid_->setColumnMinimumWidth(1, kValueColumnWidth);
    grid_->setColumnMinimumWidth(2, kValueColumnWidth);
    int name = 2;  // Label1 is the window's heading
    const auto& headings = GrassColumnHeadings();
    for (int col = 0; col < 3; ++col) {
      QLabel* h = Add(headings[col], 0, col, name++, col == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
      QFont bold = h->font();
      bold.setBold(true);
      h->setFont(bold);
      h->setWordWrap(true);
    }
    int row = 1;
    for (const GrassRow& line : GrassRows()) {
      if (line.IsGroupHeading() && row > 1) groupRuleRow_ = row;
      Add(line.text, row, 0, name++, Qt::AlignLeft);
      if (!line.IsGroupHeading()) {
        Add(line.shallow, row, 1, name++, Qt::AlignHCenter);
        Add(line.deeper, row, 2, name++, Qt::AlignHCenter);
      }
      ++row;
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    const QRect all = rect().adjusted(0, 0, -1, -1);
    painter.drawRect(all);
    for (int col = 1; col < 3; ++col) {
      const int x = grid_->cellRect(0, col).left();
      painter.drawLine(x, all.top(), x, all.bottom());
    }
    for (int row : {1, groupRuleRow_}) {
      const int y = grid_->cellRect(row, 0).top();
      painter.drawLine(all.left(), y, all.right(), y);
    }
  }

 private:
  QLabel* Add(std::string_view text, int row, int col, int name, Qt::Alignment align) {
    auto* label = new QLabel(ToQString(text), this);
    label->setObjectName(QString("Label%1").arg(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setContentsMargins(8, 4, 8, 4);
    grid_->addWidget(label, row, col);
    return label;
  }

  QGridLayout* grid_;
  int groupRuleRow_ = 1;
};

}  // namespace

frmManningGrassView::frmManningGrassView(QWidget* parent) : QDialog(parent) {
  setObjectName("frmManningGrass");
  setWindowTitle(kGrassTableCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  auto* heading = new QLabel(kGrassTableCaption, this);
  heading->setObjectName("Label1");
  QFont big = heading->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.2);
  heading->setFont(big);

  auto* source = new QLabel(kGrassTableSource, this);
  source->setObjectName("Label19");
  auto* ok = new QPushButton(tr("OK"), this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QWidget::close);

  auto* foot = new QHBoxLayout;
  foot->addWidget(source);
  foot->addStretch();
  foot->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addSpacing(4);
  layout->addWidget(new RuledGrid(this));
  layout->addSpacing(4);
  layout->addLayout(foot);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace rivulet
