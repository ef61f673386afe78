// The significant digits every window shows results with (Options > Display Precision):
// one choice for the program, kept in the view settings file, announced to the windows that
// show results so they redraw at once. Files and --json keep every digit whatever it is.
#pragma once

#include <QObject>
#include <functional>

class QMainWindow;
class QWidget;

namespace rivulet {

class DisplayPrecision : public QObject {
  Q_OBJECT

 public:
  /// The program's one choice.
  static DisplayPrecision& Instance();

  /// 0 (each figure with its own digits) or kMinDisplayDigits to kMaxDisplayDigits.
  int Digits() const { return digits_; }
  /// Emits Changed when the digits change.
  void SetDigits(int digits);

 signals:
  void Changed(int digits);

 private:
  int digits_ = 0;
};

/// Asks for the digits in a small dialog over parent and sets them; false when cancelled.
bool AskDisplayPrecision(QWidget* parent);

/// Adds "Display Precision..." to the window's menu named menuName (by object name), or to a
/// new Options menu before Help when it has none.
void AddDisplayPrecisionItem(QMainWindow& window, const char* menuName);

class frmRivulet;

/// Reads the digits from the view settings file, adds the item to the calculation window's
/// Options menu, and on every new choice writes the file (saying so once when it cannot) and
/// calls resync to redraw the window's figures.
void AttachDisplayPrecision(frmRivulet& form, QMainWindow& window, std::function<void()> resync);

}  // namespace rivulet
