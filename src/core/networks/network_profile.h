// A long section of a solved network along one path, from a structure down to the outfall:
// each pipe's invert and crown, each structure's rim, and the grade lines, against the
// distance along the path. What the window draws to scale.
#pragma once

#include <string>
#include <vector>

#include "core/networks/network.h"

namespace rivulet {

struct ProfilePipe {
  std::string id;
  double startStation = 0;  ///< m along the path at its upstream end
  double endStation = 0;
  double diameter = 0;
  double upstreamInvert = 0;
  double downstreamInvert = 0;
  double upstreamEnergy = 0;
  double downstreamEnergy = 0;
  double upstreamHydraulic = 0;
  double downstreamHydraulic = 0;
};

struct ProfileStructure {
  std::string id;
  double station = 0;
  double rim = 0;
  double invert = 0;
  double energy = 0;
  double hydraulic = 0;
  bool surcharged = false;
};

struct NetworkProfile {
  std::vector<ProfilePipe> pipes;            ///< downstream order
  std::vector<ProfileStructure> structures;  ///< the head first, the outfall last
};

/// The path from the structure named head down to the outfall; empty when head is not a
/// structure of the network or the results do not belong to these inputs.
NetworkProfile ProfileFrom(const NetworkInputs& inputs, const NetworkResults& results,
                           const std::string& head);

/// The structures a path may start from: those with no pipe entering (the heads), in the
/// order given.
std::vector<std::string> ProfileHeads(const NetworkInputs& inputs);

}  // namespace rivulet
