// The printer font list cache RIVULET.FTS: any bytes in the program folder, read when the
// print window is made. The first two bytes choose the printer's fonts.
#include <cstdint>
#include <string>
#include <vector>

#include "core/printing/font_list.h"
#include "core/shell/text_file.h"
#include "fuzz_support.h"
#include "printing/fake_printer.h"

using rivulet::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  rivulet::FakePrinter printer;
  const int count = data[0] % 64;
  for (int i = 0; i < count; ++i) {
    // A few Courier variants among them, some proportional, so the start font has work.
    static const char* const kNames[] = {"Arial",     "Courier New", "Courier", "courier new bold",
                                         " Courier ", "Times"};
    printer.fonts.push_back(std::string(kNames[(data[1] + i) % 6]) + (i % 5 ? "" : " ") +
                            (i % 7 ? "" : std::to_string(i)));
    if ((data[1] >> (i % 8)) & 1) printer.fixedPitch.insert(printer.fonts.back());
  }
  const auto folder = rivulet::fuzz::ScratchFolder();
  rivulet::fuzz::WriteBytes(folder / rivulet::kFontListFileName, data + 2, size - 2);
  const std::vector<std::string> folders{folder.string()};

  const std::vector<std::string> names = rivulet::LoadFontList(printer, folders);
  Require(names.size() <= static_cast<size_t>(count), "more names than the printer has fonts");
  for (const std::string& n : names) {
    Require(n.size() <= rivulet::kMaxLineLength, "a name longer than a line may be");
    Require(n.find('\0') == std::string::npos && n.find('\n') == std::string::npos,
            "a name holds a NUL or a line break");
  }
  // Read again, the cache gives the same list without asking the printer for names.
  const int asked = printer.fontNameCalls;
  Require(rivulet::LoadFontList(printer, folders) == names, "the cache changed on a second read");
  Require(printer.fontNameCalls == asked, "a fresh cache was not used");
  // Whatever the file held, the start font is one of the list.
  const int index = rivulet::InitialFontIndex(names, printer);
  Require(index >= -1 && index < static_cast<int>(names.size()), "start font outside the list");
  Require((index == -1) == names.empty(), "no start font in a non-empty list");
  return 0;
}
