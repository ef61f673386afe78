// Counting and cutting UTF-8 text by characters, never by halves of one: unit names hold
// superscripts and pasted text may hold anything.
#pragma once

#include <string>
#include <string_view>

namespace rivulet {

/// Characters (code points) in a UTF-8 text.
inline size_t CharacterCount(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

/// The text, then blanks up to width characters and never fewer than minBlanks: a text
/// as wide as its column or wider keeps minBlanks blanks before the next one.
inline std::string PadRight(const std::string& text, size_t width, size_t minBlanks = 0) {
  const size_t w = CharacterCount(text);
  return text + std::string(w + minBlanks >= width ? minBlanks : width - w, ' ');
}

/// Removes the last character of a UTF-8 text, however many bytes it takes.
inline void DropLastCharacter(std::string& text) {
  size_t n = text.size();
  while (n > 0 && (static_cast<unsigned char>(text[n - 1]) & 0xC0) == 0x80) --n;
  text.resize(n > 0 ? n - 1 : 0);
}

/// Cuts a UTF-8 text to at most maxCharacters characters; true when anything was cut.
inline bool CutToCharacters(std::string& text, size_t maxCharacters) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == maxCharacters) {
      text.resize(i);
      return true;
    }
  }
  return false;
}

}  // namespace rivulet
