#include "core/networks/network_profile.h"

#include <unordered_map>
#include <unordered_set>

namespace rivulet {

NetworkProfile ProfileFrom(const NetworkInputs& in, const NetworkResults& r,
                           const std::string& head) {
  NetworkProfile profile;
  if (!r.ok || r.pipes.size() != in.pipes.size() || r.structures.size() != in.structures.size())
    return profile;
  std::unordered_map<std::string, std::size_t> structure, outflow;
  for (std::size_t s = 0; s < in.structures.size(); ++s) structure[in.structures[s].id] = s;
  for (std::size_t p = 0; p < in.pipes.size(); ++p) outflow[in.pipes[p].from] = p;
  auto at = structure.find(head);
  double station = 0;
  // A solved network is a tree, so the walk ends at the outfall; the visited set only guards
  // against results paired with other inputs.
  std::unordered_set<std::size_t> seen;
  while (at != structure.end() && seen.insert(at->second).second) {
    const std::size_t s = at->second;
    const StructureResult& sr = r.structures[s];
    profile.structures.push_back({sr.id, station, in.structures[s].rimElevation, sr.invert,
                                  sr.energyGradeElevation, sr.hydraulicGradeElevation,
                                  sr.surcharged});
    const auto out = outflow.find(in.structures[s].id);
    if (out == outflow.end()) break;
    const PipeResult& p = r.pipes[out->second];
    const double length = in.pipes[out->second].length;
    profile.pipes.push_back({p.id, station, station + length, p.diameter, p.upstreamInvert,
                             p.downstreamInvert, p.upstreamEnergy, p.downstreamEnergy,
                             p.upstreamHydraulic, p.downstreamHydraulic});
    station += length;
    at = structure.find(in.pipes[out->second].to);
  }
  return profile;
}

std::vector<std::string> ProfileHeads(const NetworkInputs& in) {
  std::unordered_set<std::string> entered;
  for (const NetworkPipe& p : in.pipes) entered.insert(p.to);
  std::vector<std::string> heads;
  for (const NetworkStructure& s : in.structures)
    if (!entered.count(s.id) && s.kind != StructureKind::Outfall) heads.push_back(s.id);
  return heads;
}

}  // namespace rivulet
