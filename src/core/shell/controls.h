// Headless controls: the state of every widget the program decides about, with the
// old desktop-toolkit rule that setting a control from code runs its handler at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rivulet {

/// A background or text colour: either an RGB triple or one of the system's own colours,
/// which the view resolves from the platform palette.
struct Colour {
  enum class Role { Rgb, WindowBackground, TooltipBackground, WindowText };
  Role role = Role::WindowBackground;
  std::uint8_t r = 0, g = 0, b = 0;

  static constexpr Colour FromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Colour{Role::Rgb, r, g, b};
  }
  static constexpr Colour Window() { return Colour{Role::WindowBackground, 0, 0, 0}; }
  static constexpr Colour Tooltip() { return Colour{Role::TooltipBackground, 0, 0, 0}; }
  static constexpr Colour Text() { return Colour{Role::WindowText, 0, 0, 0}; }
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kHighlightYellow = Colour::FromRgb(255, 255, 0);

/// State common to every control.
class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& Name() const { return name_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(std::string tip) { toolTip_ = std::move(tip); }

 private:
  std::string name_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
};

/// Caption-only controls: labels, frames, plain buttons.
class Label : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }

 private:
  std::string caption_;
};

class Button : public Label {
 public:
  using Label::Label;
  std::function<void()> onClick;
  /// Runs the click handler, as a press of the button does.
  void Click() {
    if (onClick) onClick();
  }
};

/// Single-line text box. The change handler runs when the text actually changes.
class TextBox : public Control {
 public:
  using Control::Control;
  std::function<void()> onChange;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

  Colour BackColour() const { return back_; }
  void SetBackColour(Colour c) { back_ = c; }
  Colour ForeColour() const { return fore_; }
  void SetForeColour(Colour c) { fore_ = c; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  /// Most characters the box holds, for typing, pasting and setting alike; 0: no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n) { maxLength_ = n; }

  /// Selection as byte offsets into the UTF-8 text (a character of several bytes counts as
  /// several).
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelection(int start, int length);
  std::string SelectedText() const;
  /// Replaces the selection (or inserts at the caret); runs the change handler. Inserted
  /// text beyond the maximum length is left out: true when that happened.
  bool ReplaceSelection(const std::string& with);

 private:
  std::string text_;
  Colour back_ = Colour::Window();
  Colour fore_ = Colour::Text();
  bool readOnly_ = false;
  int maxLength_ = 0;
  int selStart_ = 0;
  int selLength_ = 0;
};

/// Drop-down list. The click handler runs whenever a position is set, even the same one.
class ComboBox : public Control {
 public:
  using Control::Control;
  std::function<void()> onClick;

  void AddItem(std::string item) { items_.push_back(std::move(item)); }
  void AddItems(const std::vector<std::string>& items);
  /// Empties the list; the position becomes -1 and no handler runs.
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  int ListIndex() const { return listIndex_; }
  /// Sets the position (-1 for none) and runs the click handler. A position outside the
  /// list changes nothing and returns false, as the toolkit's invalid-value error would.
  bool SetListIndex(int index);
  /// The displayed text: the entry at the position, or empty.
  std::string Text() const;
  /// Drop-down boxes that accept typing keep their own text.
  bool Editable() const { return editable_; }
  void SetEditable(bool on) { editable_ = on; }
  void SetEditText(std::string text) { editText_ = std::move(text); }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
  bool editable_ = false;
  std::string editText_;
};

class OptionGroup;

/// Option button; the buttons of one group exclude each other.
class OptionButton : public Label {
 public:
  OptionButton(std::string name, OptionGroup& group);
  std::function<void()> onClick;

  bool Value() const { return value_; }
  /// Selecting clears the others of the group and, when the button was not selected
  /// before, runs its click handler. Clearing runs nothing.
  void SetValue(bool on);

 private:
  friend class OptionGroup;
  OptionGroup& group_;
  bool value_ = false;
};

class OptionGroup {
 public:
  void Add(OptionButton* button) { buttons_.push_back(button); }
  /// The selected button, or nullptr.
  OptionButton* Selected() const;
  const std::vector<OptionButton*>& Buttons() const { return buttons_; }

 private:
  friend class OptionButton;
  void ClearOthers(const OptionButton* keep);
  std::vector<OptionButton*> buttons_;
};

/// Check box with values 0 (clear) and 1 (checked); the handler runs when the value changes.
class CheckBox : public Label {
 public:
  using Label::Label;
  std::function<void()> onClick;
  int Value() const { return value_; }
  void SetValue(int value);

 private:
  int value_ = 0;
};

/// Menu item with caption, shortcut and check mark.
class MenuItem : public Label {
 public:
  MenuItem(std::string name, std::string caption, std::string shortcut = {});
  std::function<void()> onClick;
  const std::string& Shortcut() const { return shortcut_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }
  void Click() {
    if (onClick) onClick();
  }

 private:
  std::string shortcut_;
  bool checked_ = false;
};

}  // namespace rivulet
