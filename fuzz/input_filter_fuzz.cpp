// The input filter of the six "Solve For" boxes: whatever is typed or pasted, a box ends
// empty, numeric or a number whose exponent is still being typed ("2.5e-"), holding a
// beginning of what was put there (commas read as points; "0." for a lone point).
#include <cstdint>
#include <string>

#include "core/shell/number_text.h"
#include "core/shell/utf8_text.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool Accepted(const std::string& text) { return text.empty() || rivulet::IsNumberBeingTyped(text); }

// What reaches the filter: no more characters than a box holds, a comma read as the
// decimal point.
std::string AsTyped(std::string text) {
  rivulet::CutToCharacters(text, rivulet::kValueLength);
  for (char& c : text)
    if (c == ',') c = '.';
  return text;
}

// The filter as the user sees it: the text loses its last character until it is accepted,
// a lone "." becoming "0.". A character is a UTF-8 sequence; a byte that belongs to none
// (a file in a single-byte code page) is a character of its own.
std::string CutBack(std::string text) {
  while (!Accepted(text)) {
    if (text == ".") {
      text = "0.";
      continue;
    }
    size_t start = text.size() - 1;
    while (start > 0 && text.size() - start < 4 && IsContinuation(text[start])) --start;
    const bool sequence = IsContinuation(text.back()) && !IsContinuation(text[start]) &&
                          static_cast<unsigned char>(text[start]) >= 0xC0;
    text.resize(sequence ? start : text.size() - 1);
  }
  return text;
}

void CheckBox(rivulet::TextBox& box, const std::string& input) {
  const std::string& text = box.Text();
  Require(Accepted(text), box.Name() + " kept [" + text + "]");
  const std::string typed = AsTyped(input);
  const bool prefix = typed.compare(0, text.size(), text) == 0;
  Require(prefix || text == "0.", box.Name() + " holds [" + text + "], not a beginning of input");
  Require(text == CutBack(typed),
          box.Name() + " holds [" + text + "], cutting back gives [" + CutBack(typed) + "]");
  // Only the filter's cuts move the caret; the box's length limit alone leaves it.
  Require(box.SelStart() == static_cast<int>(text.size()) || text == typed,
          box.Name() + ": the caret is not at the end after a cut");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the section and the depth lock, the rest is the text.
  const int section = data[0] % 5;
  const bool lock = (data[0] & 0x80) != 0;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

  rivulet::fuzz::LoadedWindow w(rivulet::fuzz::ScratchFolder().string());
  rivulet::frmRivulet& f = w.form;
  f.cboSection.SetListIndex(section);
  if (lock && f.chkLocDiam.Visible()) f.chkLocDiam.SetValue(1);

  for (rivulet::TextBox* box : rivulet::invariants::InputBoxes(f)) {
    box->SetText("");
    box->SetText(input);
    CheckBox(*box, input);
    rivulet::fuzz::RequireSane(f, "SetText");
  }
  // Typed one character at a time at the caret, as keystrokes arrive.
  rivulet::TextBox& box = f.txtDepth;
  box.SetText("");
  for (char c : input) {
    const std::string before = box.Text();
    box.SetSelection(static_cast<int>(before.size()), 0);
    box.ReplaceSelection(std::string(1, c));
    const std::string& text = box.Text();
    Require(Accepted(text), "typing left [" + text + "]");
  }
  return 0;
}
