// The shape of a storm-sewer network: which pipes enter and leave each structure, checked to
// be one tree draining to one outfall, and an order that reaches every pipe after all the
// pipes upstream of it.
#pragma once

#include <cstddef>
#include <vector>

#include "core/networks/network.h"

namespace rivulet {

/// Marks a structure with no pipe leaving it (the outfall).
inline constexpr std::size_t kNoPipe = static_cast<std::size_t>(-1);

struct NetworkTree {
  std::size_t outfall = 0;                        ///< structure index
  std::vector<std::size_t> from;                  ///< per pipe: upstream structure
  std::vector<std::size_t> to;                    ///< per pipe: downstream structure
  std::vector<std::size_t> outflow;               ///< per structure: its pipe, or kNoPipe
  std::vector<std::vector<std::size_t>> inflows;  ///< per structure: the pipes entering it
  std::vector<std::size_t> downstreamOrder;       ///< pipes, heads first
};

/// The tree of the structures and pipes. Throws NetworkInputError naming the pipes or
/// structures at fault: an id missing or repeated, a pipe to or from a structure not listed,
/// no outfall or two, a structure with two pipes leaving it or none, or a loop.
NetworkTree BuildNetworkTree(const std::vector<NetworkStructure>& structures,
                             const std::vector<NetworkPipe>& pipes);

}  // namespace rivulet
