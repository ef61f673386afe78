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

/// The text with each byte that does not belong to a well-formed UTF-8 sequence (a file
/// name in another encoding, say) replaced by U+FFFD; a valid text comes back as it is.
inline std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    size_t length = c < 0x80                 ? 1
                    : c >= 0xC2 && c <= 0xDF ? 2
                    : c >= 0xE0 && c <= 0xEF ? 3
                    : c >= 0xF0 && c <= 0xF4 ? 4
                                             : 0;
    if (length > 1 && i + length <= text.size()) {
      // The second byte's range rules out overlong forms, surrogates and code points past
      // U+10FFFF.
      const unsigned char lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
      const unsigned char hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
      bool ok = byte(i + 1) >= lo && byte(i + 1) <= hi;
      for (size_t k = 2; ok && k < length; ++k) ok = (byte(i + k) & 0xC0) == 0x80;
      if (!ok) length = 0;
    } else if (length > 1) {
      length = 0;
    }
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
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
