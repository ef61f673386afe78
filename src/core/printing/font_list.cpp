#include "core/printing/font_list.h"

#include <algorithm>
#include <optional>

#include "core/shell/number_text.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

std::string UpperTrimmed(const std::string& name) {
  std::string s = Trim(name);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The names of a font list file that still matches the printer, or nullopt.
std::optional<std::vector<std::string>> ReadFontFile(const std::string& path, int count) {
  auto lines = ReadLines(path, static_cast<size_t>(count) + 1);
  if (!lines || lines->empty() || ReadFileNumber(lines->front()) != count) return std::nullopt;
  lines->erase(lines->begin());
  return lines;
}

enum class Courier { None, Plain, New };

Courier CourierKind(const std::string& upper) {
  if (upper.compare(0, 11, "COURIER NEW") == 0) return Courier::New;
  if (upper.compare(0, 7, "COURIER") == 0) return Courier::Plain;
  return Courier::None;
}

}  // namespace

std::vector<std::string> LoadFontList(Printer& printer, const std::vector<std::string>& folders) {
  const int count = std::max(printer.FontCount(), 0);
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = FindFileNoCase(folder, kFontListFileName);
    if (path.empty()) continue;
    if (auto names = ReadFontFile(path, count)) return *names;
  }
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) names.push_back(printer.FontName(i));
  std::vector<std::string> lines{FormatFileNumber(count)};
  lines.insert(lines.end(), names.begin(), names.end());
  // An unwritable program folder and configuration folder only cost the cache.
  WriteToFirstWritable(folders, kFontListFileName, lines);
  return names;
}

int InitialFontIndex(const std::vector<std::string>& names, Printer& printer) {
  if (names.empty()) return -1;
  Courier noted = Courier::None;
  for (const std::string& name : names) {
    const Courier kind = CourierKind(UpperTrimmed(name));
    if (kind > noted) noted = kind;
  }
  int pick = 0;
  if (noted != Courier::None) {
    // The plain name when it is there; otherwise the first of its longer variants.
    const std::string wanted = noted == Courier::New ? "COURIER NEW" : "COURIER";
    int firstVariant = -1;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
      const std::string upper = UpperTrimmed(names[static_cast<size_t>(i)]);
      if (upper == wanted) {
        firstVariant = i;
        break;
      }
      if (firstVariant < 0 && CourierKind(upper) == noted) firstVariant = i;
    }
    pick = firstVariant;
  }
  if (printer.IsFixedPitch(names[static_cast<size_t>(pick)])) return pick;
  for (int i = 0; i < static_cast<int>(names.size()); ++i)
    if (printer.IsFixedPitch(names[static_cast<size_t>(i)])) return i;
  return pick;
}

}  // namespace rivulet
