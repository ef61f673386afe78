// The design settings file: any bytes as RIVULET.DSN, read by every batch run and by the
// window at start-up. A file is either taken whole or refused with a reason naming its
// path, the built-in settings then serve; nothing it holds may end the program.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/design/design_settings_file.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string builtIn = rivulet::DesignSettingsText(rivulet::DefaultDesignSettings());

  rivulet::DesignSettings settings = rivulet::DefaultDesignSettings();
  const std::string why = rivulet::ParseDesignSettings(text, settings);
  if (!why.empty()) {
    Require(rivulet::DesignSettingsText(settings) == builtIn,
            "a refused file changed the settings");
  } else {
    for (auto system : {rivulet::UnitSystem::SI, rivulet::UnitSystem::US}) {
      Require(!settings.ListFor(system).sizes.empty(), "a chosen size list is empty");
      const rivulet::DesignCriteria& c = settings.CriteriaFor(system);
      Require(c.minVelocity < c.maxVelocity, "minimum velocity not below the maximum");
    }
    // What the program writes back reads as the same settings.
    const std::string written = rivulet::DesignSettingsText(settings);
    rivulet::DesignSettings again = rivulet::DefaultDesignSettings();
    Require(rivulet::ParseDesignSettings(written, again).empty(), "written settings refused");
    Require(rivulet::DesignSettingsText(again) == written, "written settings read differently");
  }

  // The same bytes as the file a run finds: refused with the path named, never thrown.
  const auto folder = rivulet::fuzz::ScratchFolder();
  rivulet::fuzz::WriteBytes(folder / rivulet::kDesignSettingsFileName, data, size);
  std::string problem;
  rivulet::LoadDesignSettings(rivulet::StartupValues::ForFolder(folder.string()), &problem);
  Require(problem.empty() == why.empty(), "the file and its text were judged differently");
  if (!problem.empty())
    Require(problem.find(folder.string()) != std::string::npos, "a refusal without the path");
  return 0;
}
