#include "core/shell/controls.h"

#include <algorithm>

#include "core/shell/utf8_text.h"

namespace rivulet {

void TextBox::SetText(const std::string& text) {
  // A box never holds more than its maximum length, whoever sets it, as its widget would.
  if (maxLength_ > 0 && CharacterCount(text) > static_cast<size_t>(maxLength_)) {
    std::string cut = text;
    CutToCharacters(cut, static_cast<size_t>(maxLength_));
    SetText(cut);
    return;
  }
  if (text == text_) return;
  text_ = text;
  const int size = static_cast<int>(text_.size());
  selStart_ = std::min(selStart_, size);
  selLength_ = std::min(selLength_, size - selStart_);
  if (onChange) onChange();
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
}

std::string TextBox::SelectedText() const {
  return text_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
}

bool TextBox::ReplaceSelection(const std::string& with) {
  std::string inserted = with;
  bool cut = false;
  if (maxLength_ > 0) {
    const size_t kept = CharacterCount(text_) - CharacterCount(SelectedText());
    const size_t room = kept < static_cast<size_t>(maxLength_) ? maxLength_ - kept : 0;
    cut = CutToCharacters(inserted, room);
  }
  std::string next = text_;
  next.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), inserted);
  const int caret = selStart_ + static_cast<int>(inserted.size());
  selLength_ = 0;
  selStart_ = caret;
  // Assign the caret before the handler runs so a filter that cuts the text sees it.
  SetText(next);
  if (text_ == next) SetSelection(caret, 0);
  return cut;
}

void ComboBox::AddItems(const std::vector<std::string>& items) {
  items_.insert(items_.end(), items.begin(), items.end());
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
}

bool ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return false;
  listIndex_ = index;
  if (editable_) editText_ = index >= 0 ? items_[static_cast<size_t>(index)] : std::string();
  if (onClick) onClick();
  return true;
}

std::string ComboBox::Text() const {
  if (editable_) return editText_;
  if (listIndex_ < 0 || listIndex_ >= ListCount()) return std::string();
  return items_[static_cast<size_t>(listIndex_)];
}

OptionButton::OptionButton(std::string name, OptionGroup& group)
    : Label(std::move(name)), group_(group) {
  group_.Add(this);
}

void OptionButton::SetValue(bool on) {
  if (!on) {
    value_ = false;
    return;
  }
  const bool was = value_;
  group_.ClearOthers(this);
  value_ = true;
  if (!was && onClick) onClick();
}

OptionButton* OptionGroup::Selected() const {
  for (OptionButton* b : buttons_)
    if (b->value_) return b;
  return nullptr;
}

void OptionGroup::ClearOthers(const OptionButton* keep) {
  for (OptionButton* b : buttons_)
    if (b != keep) b->value_ = false;
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  if (onClick) onClick();
}

MenuItem::MenuItem(std::string name, std::string caption, std::string shortcut)
    : Label(std::move(name)), shortcut_(std::move(shortcut)) {
  SetCaption(std::move(caption));
}

}  // namespace rivulet
