// The program's own words for the start-up and about windows, and its web targets.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace rivulet {

inline constexpr char kMakerName[] = "Tarn";
/// One-line description under the title on the start-up and about windows.
inline constexpr char kDescriptor[] = "Open-channel and pipe flow by Manning's equation";
inline constexpr char kMakerHomeUrl[] = "https://www.tarn.example/";
inline constexpr char kProductUrl[] = "https://www.tarn.example/rivulet/";
inline constexpr char kMakerMailUrl[] = "mailto:info@tarn.example";
inline constexpr char kSupportMailUrl[] = "mailto:support@tarn.example";
inline constexpr char kMakerAddress[] = "1 Example Street\nExample Town EX1 0AA";
inline constexpr char kMakerPhone[] = "+1 555 0100";
inline constexpr char kMakerFax[] = "+1 555 0101";
inline constexpr char kMakerWeb[] = "www.tarn.example";
inline constexpr char kMakerEmail[] = "info@tarn.example";
inline constexpr char kSupportEmail[] = "support@tarn.example";

/// The disclaimer of the start-up window.
const std::string& DisclaimerText();

/// "Rivulet - Ver. 2.0.1" and its about-window form.
std::string MainCaption(const std::string& version);
std::string AboutCaption(const std::string& version);
std::string AboutVersionLine(const std::string& version);

/// Name of the program file whose date the about window shows.
inline constexpr char kProgramFileName[] = "rivulet";

/// Last-modified time of the program file in the program folder; nullopt when it cannot
/// be read (the file missing or renamed), which the about window shows as an empty date.
std::optional<std::time_t> ProgramFileTime(const std::string& programFolder);

}  // namespace rivulet
