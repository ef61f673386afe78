// Ties Qt widgets to the headless controls they draw: the user's actions go into the
// control (whose handler decides what happens), and Sync() redraws every bound widget
// from its control with the widgets' own signals blocked.
#pragma once

#include <QObject>
#include <QPalette>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/shell/controls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace rivulet {

/// The colour a control asks for, in one colour group of the default palette.
QColor ResolveColour(const Colour& colour, const QPalette& defaults, QPalette::ColorGroup group);

/// Byte offset in the UTF-8 text of a position counted in UTF-16 units of the same text.
int Utf8Offset(const QString& text, int utf16Position);
/// Position in UTF-16 units of a byte offset into a UTF-8 text.
int Utf16Offset(const std::string& text, int utf8Offset);

class ControlBinder : public QObject {
  Q_OBJECT

 public:
  explicit ControlBinder(QObject* parent = nullptr);

  // Each gives the widget the control's name and forwards the user's action to it:
  // typing sets the text, choosing a list entry sets the position (even the same one),
  // clicking an option button selects it, a check box sets its value, a button or menu
  // item runs its click handler.
  void Bind(QLineEdit* widget, TextBox& control);
  void Bind(QComboBox* widget, ComboBox& control);
  void Bind(QRadioButton* widget, OptionButton& control);
  void Bind(QCheckBox* widget, CheckBox& control);
  void Bind(QPushButton* widget, Button& control);
  void Bind(QLabel* widget, Label& control);
  void Bind(QGroupBox* widget, Label& control);
  void Bind(QAction* action, MenuItem& control);

  /// Redraws every bound widget from its control.
  void Sync();

  /// The control drawn by a widget, or nullptr.
  Control* ControlOf(const QObject* widget) const;
  /// The widget drawing a control, or nullptr.
  QWidget* WidgetOf(const Control* control) const;

 signals:
  /// A user's action went into the core and the widgets were redrawn.
  void Forwarded();

 private:
  void AfterAction();
  void Add(QObject* widget, Control& control, std::function<void()> sync);

  std::vector<std::function<void()>> syncs_;
  std::map<const QObject*, Control*> controls_;
  std::map<const Control*, QWidget*> widgets_;
};

}  // namespace rivulet
