#include "gui/shell/control_binder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

void SyncCommon(QWidget* w, const Control& c) {
  if (w->testAttribute(Qt::WA_ForceDisabled) == c.Enabled()) w->setEnabled(c.Enabled());
  if (w->isHidden() == c.Visible()) w->setVisible(c.Visible());
  const QString tip = ToQt(c.ToolTip());
  if (w->toolTip() != tip) w->setToolTip(tip);
}

void SyncColours(QLineEdit* w, const TextBox& c) {
  const QPalette defaults = QApplication::palette(w);
  QPalette p = w->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Base, ResolveColour(c.BackColour(), defaults, group));
    p.setColor(group, QPalette::Text, ResolveColour(c.ForeColour(), defaults, group));
  }
  if (p != w->palette()) w->setPalette(p);
}

// The core keeps the selection in bytes of UTF-8; the widget in UTF-16 units.
void ShowSelection(QLineEdit* w, const TextBox& c) {
  const int start = Utf16Offset(c.Text(), c.SelStart());
  const int end = Utf16Offset(c.Text(), c.SelStart() + c.SelLength());
  if (end > start)
    w->setSelection(start, end - start);
  else
    w->setCursorPosition(start);
}

void TakeSelection(const QLineEdit* w, TextBox& c) {
  const QString text = w->text();
  const int start = w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
  const int length = w->hasSelectedText() ? w->selectionLength() : 0;
  const int from = Utf8Offset(text, start);
  c.SetSelection(from, Utf8Offset(text, start + length) - from);
}

bool SameItems(const QComboBox* w, const ComboBox& c) {
  if (w->count() != c.ListCount()) return false;
  for (int i = 0; i < w->count(); ++i)
    if (w->itemText(i) != ToQt(c.Items()[static_cast<size_t>(i)])) return false;
  return true;
}

}  // namespace

QColor ResolveColour(const Colour& colour, const QPalette& defaults, QPalette::ColorGroup group) {
  switch (colour.role) {
    case Colour::Role::Rgb:
      return QColor(colour.r, colour.g, colour.b);
    case Colour::Role::WindowBackground:
      return defaults.color(group, QPalette::Base);
    case Colour::Role::TooltipBackground:
      return defaults.color(group, QPalette::ToolTipBase);
    case Colour::Role::WindowText:
      return defaults.color(group, QPalette::Text);
  }
  return defaults.color(group, QPalette::Text);
}

int Utf8Offset(const QString& text, int utf16Position) {
  return static_cast<int>(text.left(std::max(utf16Position, 0)).toUtf8().size());
}

int Utf16Offset(const std::string& text, int utf8Offset) {
  const int bytes = std::clamp(utf8Offset, 0, static_cast<int>(text.size()));
  return static_cast<int>(QString::fromUtf8(text.data(), bytes).size());
}

ControlBinder::ControlBinder(QObject* parent) : QObject(parent) {}

void ControlBinder::Add(QObject* widget, Control& control, std::function<void()> sync) {
  widget->setObjectName(ToQt(control.Name()));
  controls_[widget] = &control;
  if (auto* w = qobject_cast<QWidget*>(widget)) widgets_[&control] = w;
  syncs_.push_back(std::move(sync));
}

void ControlBinder::AfterAction() {
  Sync();
  emit Forwarded();
}

void ControlBinder::Sync() {
  for (const auto& sync : syncs_) sync();
}

Control* ControlBinder::ControlOf(const QObject* widget) const {
  auto it = controls_.find(widget);
  return it == controls_.end() ? nullptr : it->second;
}

QWidget* ControlBinder::WidgetOf(const Control* control) const {
  auto it = widgets_.find(control);
  return it == widgets_.end() ? nullptr : it->second;
}

void ControlBinder::Bind(QLineEdit* w, TextBox& c) {
  Add(w, c, [w, &c] {
    const QSignalBlocker block(w);
    SyncCommon(w, c);
    if (w->isReadOnly() != c.ReadOnly()) w->setReadOnly(c.ReadOnly());
    const int maxLength = c.MaxLength() > 0 ? c.MaxLength() : 32767;
    if (w->maxLength() != maxLength) w->setMaxLength(maxLength);
    const QString text = ToQt(c.Text());
    if (w->text() != text) {
      w->setText(text);
      // A box the user is in shows the caret where the program left it; any other shows
      // the start of its text, where the leading digits of a long number are.
      if (w->hasFocus())
        ShowSelection(w, c);
      else
        w->setCursorPosition(0);
    }
    SyncColours(w, c);
  });
  connect(w, &QLineEdit::textEdited, this, [this, w, &c](const QString& text) {
    const std::string typed = text.toStdString();
    c.SetText(typed);
    // Text the handlers kept keeps the user's caret; text they changed gets theirs.
    if (c.Text() == typed) TakeSelection(w, c);
    AfterAction();
  });
  // The clipboard commands work on the control's selection, so it follows the widget's.
  auto follow = [w, &c] {
    if (w->text().toStdString() == c.Text()) TakeSelection(w, c);
  };
  connect(w, &QLineEdit::selectionChanged, this, follow);
  connect(w, &QLineEdit::cursorPositionChanged, this, follow);
}

void ControlBinder::Bind(QComboBox* w, ComboBox& c) {
  w->setInsertPolicy(QComboBox::NoInsert);
  Add(w, c, [w, &c] {
    const QSignalBlocker block(w);
    SyncCommon(w, c);
    if (w->isEditable() != c.Editable()) w->setEditable(c.Editable());
    if (!SameItems(w, c)) {
      w->clear();
      for (const std::string& item : c.Items()) w->addItem(ToQt(item));
    }
    if (w->currentIndex() != c.ListIndex()) w->setCurrentIndex(c.ListIndex());
    if (c.Editable() && w->currentText() != ToQt(c.Text())) w->setEditText(ToQt(c.Text()));
  });
  connect(w, &QComboBox::activated, this, [this, &c](int index) {
    c.SetListIndex(index);
    AfterAction();
  });
  connect(w, &QComboBox::editTextChanged, this, [w, &c](const QString& text) {
    if (w->isEditable()) c.SetEditText(text.toStdString());
  });
}

void ControlBinder::Bind(QRadioButton* w, OptionButton& c) {
  Add(w, c, [w, &c] {
    const QSignalBlocker block(w);
    SyncCommon(w, c);
    if (w->text() != ToQt(c.Caption())) w->setText(ToQt(c.Caption()));
    if (w->isChecked() != c.Value()) {
      // An exclusive button cannot be cleared directly, only by checking another; the
      // core may have none selected, so lift the exclusivity for the moment.
      const bool exclusive = w->autoExclusive();
      w->setAutoExclusive(false);
      w->setChecked(c.Value());
      w->setAutoExclusive(exclusive);
    }
  });
  connect(w, &QRadioButton::clicked, this, [this, &c] {
    c.SetValue(true);
    AfterAction();
  });
}

void ControlBinder::Bind(QCheckBox* w, CheckBox& c) {
  Add(w, c, [w, &c] {
    const QSignalBlocker block(w);
    SyncCommon(w, c);
    if (w->text() != ToQt(c.Caption())) w->setText(ToQt(c.Caption()));
    if (w->isChecked() != (c.Value() == 1)) w->setChecked(c.Value() == 1);
  });
  connect(w, &QCheckBox::clicked, this, [this, &c](bool checked) {
    c.SetValue(checked ? 1 : 0);
    AfterAction();
  });
}

void ControlBinder::Bind(QPushButton* w, Button& c) {
  Add(w, c, [w, &c] {
    const QSignalBlocker block(w);
    SyncCommon(w, c);
    if (w->text() != ToQt(c.Caption())) w->setText(ToQt(c.Caption()));
  });
  connect(w, &QPushButton::clicked, this, [this, &c] {
    c.Click();
    AfterAction();
  });
}

void ControlBinder::Bind(QLabel* w, Label& c) {
  w->setTextFormat(Qt::PlainText);
  Add(w, c, [w, &c] {
    SyncCommon(w, c);
    if (w->text() != ToQt(c.Caption())) w->setText(ToQt(c.Caption()));
  });
}

void ControlBinder::Bind(QGroupBox* w, Label& c) {
  Add(w, c, [w, &c] {
    SyncCommon(w, c);
    if (w->title() != ToQt(c.Caption())) w->setTitle(ToQt(c.Caption()));
  });
}

void ControlBinder::Bind(QAction* a, MenuItem& c) {
  if (!c.Shortcut().empty())
    a->setShortcut(QKeySequence::fromString(ToQt(c.Shortcut()), QKeySequence::PortableText));
  Add(a, c, [a, &c] {
    const QSignalBlocker block(a);
    if (!a->isSeparator() && a->text() != ToQt(c.Caption())) a->setText(ToQt(c.Caption()));
    if (a->isEnabled() != c.Enabled()) a->setEnabled(c.Enabled());
    if (a->isVisible() != c.Visible()) a->setVisible(c.Visible());
    // Only a checked item shows a mark; an unchecked one looks like any other item.
    a->setCheckable(c.Checked());
    a->setChecked(c.Checked());
  });
  connect(a, &QAction::triggered, this, [this, &c] {
    c.Click();
    AfterAction();
  });
}

}  // namespace rivulet
