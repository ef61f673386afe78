#include "core/design/design_settings.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <tuple>

namespace rivulet {

namespace {

using nlohmann::json;

constexpr double kFoot = 0.3048;

// The file holds each system's criteria in that system's own units.
struct UnitScale {
  double velocity;
  double length;
  double shear;
};

UnitScale ScaleFor(UnitSystem system) {
  if (system == UnitSystem::US) return {kFoot, kFoot, kPascalPerPsf};
  return {1, 1, 1};
}

const char* SystemName(UnitSystem system) { return system == UnitSystem::US ? "US" : "metric"; }

// A bad field ends the read with a message that names it.
class FieldError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

double Number(const json& j, const std::string& field) {
  if (!j.is_number()) throw FieldError(field + " must be a number");
  const double v = j.get<double>();
  if (!std::isfinite(v)) throw FieldError(field + " must be a finite number");
  return v;
}

double Positive(const json& j, const std::string& field) {
  const double v = Number(j, field);
  if (!(v > 0)) throw FieldError(field + " must be greater than zero");
  return v;
}

std::optional<double> OptionalPositive(const json& obj, const char* key, const std::string& where,
                                       double scale) {
  auto it = obj.find(key);
  if (it == obj.end() || it->is_null()) return std::nullopt;
  return Positive(*it, where + "." + key) * scale;
}

DesignCriteria ReadCriteria(const json& j, UnitSystem system) {
  const std::string where = std::string("criteria.") + SystemName(system);
  if (!j.is_object()) throw FieldError(where + " must be an object");
  const UnitScale s = ScaleFor(system);
  DesignCriteria c = DefaultCriteria(system);
  if (auto v = OptionalPositive(j, "minVelocity", where, s.velocity)) c.minVelocity = *v;
  c.minFullVelocity = OptionalPositive(j, "minFullVelocity", where, s.velocity);
  if (auto v = OptionalPositive(j, "maxVelocity", where, s.velocity)) c.maxVelocity = *v;
  if (auto v = OptionalPositive(j, "maxDepthRatio", where, 1)) {
    if (*v > 1) throw FieldError(where + ".maxDepthRatio must not exceed 1");
    c.maxDepthRatio = *v;
  }
  c.minFreeboard = OptionalPositive(j, "minFreeboard", where, s.length);
  c.bankHeight = OptionalPositive(j, "bankHeight", where, s.length);
  c.permissibleShear = OptionalPositive(j, "permissibleShear", where, s.shear);
  if (auto it = j.find("lining"); it != j.end() && !it->is_null()) {
    if (!it->is_string()) throw FieldError(where + ".lining must be a text");
    c.lining = it->get<std::string>();
    if (c.lining.size() > 200) throw FieldError(where + ".lining is too long");
  }
  if (auto v = OptionalPositive(j, "shearSafetyFactor", where, 1)) c.shearSafetyFactor = *v;
  if (c.minVelocity >= c.maxVelocity) {
    throw FieldError(where + ".minVelocity must be below maxVelocity");
  }
  return c;
}

json WriteCriteria(const DesignCriteria& c, UnitSystem system) {
  const UnitScale s = ScaleFor(system);
  auto opt = [](const std::optional<double>& v, double scale) -> json {
    return v ? json(*v / scale) : json(nullptr);
  };
  return {{"minVelocity", c.minVelocity / s.velocity},
          {"minFullVelocity", opt(c.minFullVelocity, s.velocity)},
          {"maxVelocity", c.maxVelocity / s.velocity},
          {"maxDepthRatio", c.maxDepthRatio},
          {"minFreeboard", opt(c.minFreeboard, s.length)},
          {"bankHeight", opt(c.bankHeight, s.length)},
          {"permissibleShear", opt(c.permissibleShear, s.shear)},
          {"lining", c.lining},
          {"shearSafetyFactor", c.shearSafetyFactor}};
}

SizeList ReadList(const json& j, size_t index) {
  const std::string where = "sizeLists[" + std::to_string(index) + "]";
  if (!j.is_object()) throw FieldError(where + " must be an object");
  SizeList list;
  auto name = j.find("name");
  if (name == j.end() || !name->is_string() || name->get<std::string>().empty()) {
    throw FieldError(where + ".name must be a non-empty text");
  }
  list.name = name->get<std::string>();
  auto system = j.find("system");
  if (system == j.end() || !system->is_string() || (*system != "metric" && *system != "US")) {
    throw FieldError(where + ".system must be \"metric\" or \"US\"");
  }
  list.system = *system == "US" ? UnitSystem::US : UnitSystem::SI;
  auto sizes = j.find("sizes");
  if (sizes == j.end() || !sizes->is_array() || sizes->empty()) {
    throw FieldError(where + ".sizes must be a non-empty list of diameters");
  }
  if (sizes->size() > kMaxSizesPerList) throw FieldError(where + ".sizes has too many entries");
  for (size_t i = 0; i < sizes->size(); ++i) {
    list.sizes.push_back(Positive((*sizes)[i], where + ".sizes[" + std::to_string(i) + "]"));
  }
  std::sort(list.sizes.begin(), list.sizes.end());
  list.sizes.erase(std::unique(list.sizes.begin(), list.sizes.end()), list.sizes.end());
  return list;
}

const SizeList* Find(const std::vector<SizeList>& lists, const std::string& name) {
  for (const SizeList& l : lists) {
    if (l.name == name) return &l;
  }
  return nullptr;
}

}  // namespace

SizeList DesignSettings::ListFor(UnitSystem system) const {
  const std::string& name = system == UnitSystem::US ? usList : metricList;
  const SizeList* l = Find(lists, name);
  if (l && l->system == system) return *l;
  return system == UnitSystem::US ? BuiltInUsSizes() : BuiltInMetricSizes();
}

const DesignCriteria& DesignSettings::CriteriaFor(UnitSystem system) const {
  return system == UnitSystem::US ? us : metric;
}

DesignSettings DefaultDesignSettings() {
  DesignSettings s;
  s.lists = {BuiltInMetricSizes(), BuiltInUsSizes()};
  s.metricList = s.lists[0].name;
  s.usList = s.lists[1].name;
  s.metric = DefaultCriteria(UnitSystem::SI);
  s.us = DefaultCriteria(UnitSystem::US);
  return s;
}

std::string ParseDesignSettings(std::string_view text, DesignSettings& settings) {
  if (text.size() > kDesignSettingsMaxBytes) return "The design settings file is too large";
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const json j = json::parse(text, nullptr, false);
  // find, not value(): value() throws when the member is there but is not a text.
  const auto mark = j.is_object() ? j.find("rivulet") : j.end();
  if (j.is_discarded() || !j.is_object() || mark == j.end() || *mark != "design") {
    return "The design settings file is not valid";
  }
  try {
    auto version = j.find("version");
    if (version == j.end() || !version->is_number_integer()) {
      throw FieldError("version must be a whole number");
    }
    // Versions count from 1; the text as written, since a huge one fits no signed number.
    const bool newer = version->is_number_unsigned()
                           ? version->get<unsigned long long>() > kDesignSettingsVersion
                           : version->get<long long>() > kDesignSettingsVersion;
    if (!newer && version->get<long long>() < 1) {
      throw FieldError("version " + version->dump() + " is not a version this program wrote");
    }
    if (newer) {
      throw FieldError("version " + version->dump() + " is newer than this program reads (" +
                       std::to_string(kDesignSettingsVersion) + ")");
    }
    DesignSettings read = DefaultDesignSettings();
    if (auto lists = j.find("sizeLists"); lists != j.end()) {
      if (!lists->is_array()) throw FieldError("sizeLists must be a list");
      if (lists->size() > kMaxSizeLists) throw FieldError("sizeLists has too many lists");
      read.lists.clear();
      for (size_t i = 0; i < lists->size(); ++i) {
        SizeList l = ReadList((*lists)[i], i);
        if (Find(read.lists, l.name)) {
          throw FieldError("sizeLists[" + std::to_string(i) + "].name repeats \"" + l.name + "\"");
        }
        read.lists.push_back(std::move(l));
      }
    }
    for (auto [key, system] :
         {std::pair{"metricList", UnitSystem::SI}, std::pair{"usList", UnitSystem::US}}) {
      auto it = j.find(key);
      if (it == j.end()) continue;
      if (!it->is_string()) throw FieldError(std::string(key) + " must be a text");
      const SizeList* l = Find(read.lists, it->get<std::string>());
      if (!l || l->system != system) {
        throw FieldError(std::string(key) + " names no " + SystemName(system) + " list");
      }
      (system == UnitSystem::US ? read.usList : read.metricList) = l->name;
    }
    if (auto c = j.find("criteria"); c != j.end()) {
      if (!c->is_object()) throw FieldError("criteria must be an object");
      if (auto m = c->find("metric"); m != c->end()) read.metric = ReadCriteria(*m, UnitSystem::SI);
      if (auto u = c->find("US"); u != c->end()) read.us = ReadCriteria(*u, UnitSystem::US);
    }
    settings = std::move(read);
    return "";
  } catch (const FieldError& e) {
    return std::string("Design settings: ") + e.what();
  } catch (const json::exception&) {
    return "The design settings file is not valid";
  }
}

std::string DesignSettingsText(const DesignSettings& settings) {
  json lists = json::array();
  for (const SizeList& l : settings.lists) {
    lists.push_back({{"name", l.name}, {"system", SystemName(l.system)}, {"sizes", l.sizes}});
  }
  json j = {{"rivulet", "design"},
            {"version", kDesignSettingsVersion},
            {"sizeLists", lists},
            {"criteria",
             {{"metric", WriteCriteria(settings.metric, UnitSystem::SI)},
              {"US", WriteCriteria(settings.us, UnitSystem::US)}}}};
  // A choice is written only when it names a list of its system: a file whose own lists
  // left out the one chosen before falls back to the built-in list, and must read again.
  for (auto [key, name, system] : {std::tuple{"metricList", &settings.metricList, UnitSystem::SI},
                                   std::tuple{"usList", &settings.usList, UnitSystem::US}}) {
    const SizeList* l = Find(settings.lists, *name);
    if (l && l->system == system) j[key] = *name;
  }
  return j.dump(2) + "\n";
}

}  // namespace rivulet
