// The yardstick for Rivulet's start-up time and idle memory: the smallest honest Qt 6
// Widgets window with about as many fields as the calculation window has rows.
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  auto* form = new QFormLayout(&window);
  for (int i = 0; i < 12; ++i) {
    auto* field = new QLineEdit;
    if (i % 2 == 0) {
      auto* unit = new QComboBox;
      unit->addItems({"mm", "cm", "meters", "inches", "feet"});
      form->addRow(QString("Field %1").arg(i + 1), unit);
    }
    form->addRow(QString("Value %1").arg(i + 1), field);
  }
  window.setWindowTitle("Minimal window");
  window.show();
  return QApplication::exec();
}
