#include "core/networks/network_tree.h"

#include <algorithm>
#include <unordered_map>

namespace rivulet {
namespace {

std::string Quoted(const std::string& id) { return "\"" + id + "\""; }

[[noreturn]] void Refuse(const char* field, const std::string& message) {
  throw NetworkInputError{field, message};
}

template <typename Row>
std::unordered_map<std::string, std::size_t> IdsOf(const std::vector<Row>& rows, const char* field,
                                                   const char* what) {
  std::unordered_map<std::string, std::size_t> ids;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].id.empty())
      Refuse(field, std::string(field) + " row " + std::to_string(i + 1) + " has no id.");
    if (!ids.emplace(rows[i].id, i).second)
      Refuse(field, std::string("Two ") + what + " are called " + Quoted(rows[i].id) + ".");
  }
  return ids;
}

}  // namespace

NetworkTree BuildNetworkTree(const std::vector<NetworkStructure>& structures,
                             const std::vector<NetworkPipe>& pipes) {
  if (pipes.empty()) Refuse("pipes", "The network has no pipes.");
  const auto structureIds = IdsOf(structures, "structures", "structures");
  IdsOf(pipes, "pipes", "pipes");

  NetworkTree tree;
  const std::size_t ns = structures.size();
  tree.outflow.assign(ns, kNoPipe);
  tree.inflows.resize(ns);
  std::vector<std::size_t> outfalls;
  for (std::size_t s = 0; s < ns; ++s)
    if (structures[s].kind == StructureKind::Outfall) outfalls.push_back(s);
  if (outfalls.empty())
    Refuse("structures", "The network has no outfall: mark the structure it drains to as one.");
  if (outfalls.size() > 1)
    Refuse("structures", "Structures " + Quoted(structures[outfalls[0]].id) + " and " +
                             Quoted(structures[outfalls[1]].id) +
                             " are both outfalls: a network drains to one outfall.");
  tree.outfall = outfalls[0];

  for (std::size_t p = 0; p < pipes.size(); ++p) {
    const NetworkPipe& pipe = pipes[p];
    const auto end = [&](const std::string& id, const char* which) {
      const auto it = structureIds.find(id);
      if (it == structureIds.end())
        Refuse("pipes", "Pipe " + Quoted(pipe.id) + " runs " + which + " structure " + Quoted(id) +
                            ", which is not among the structures.");
      return it->second;
    };
    const std::size_t from = end(pipe.from, "from");
    const std::size_t to = end(pipe.to, "to");
    if (from == to)
      Refuse("pipes", "Pipe " + Quoted(pipe.id) + " runs from structure " + Quoted(pipe.from) +
                          " back into it: a loop.");
    if (from == tree.outfall)
      Refuse("pipes", "Pipe " + Quoted(pipe.id) + " leaves the outfall " + Quoted(pipe.from) +
                          ": nothing drains out of the outfall.");
    if (tree.outflow[from] != kNoPipe)
      Refuse("pipes", "Pipes " + Quoted(pipes[tree.outflow[from]].id) + " and " + Quoted(pipe.id) +
                          " both leave structure " + Quoted(pipe.from) +
                          ": each structure drains through one pipe.");
    tree.outflow[from] = p;
    tree.inflows[to].push_back(p);
    tree.from.push_back(from);
    tree.to.push_back(to);
  }
  if (tree.inflows[tree.outfall].empty())
    Refuse("pipes", "No pipe reaches the outfall " + Quoted(structures[tree.outfall].id) + ".");
  for (std::size_t s = 0; s < ns; ++s) {
    if (s == tree.outfall || tree.outflow[s] != kNoPipe) continue;
    if (tree.inflows[s].empty())
      Refuse("structures", "Structure " + Quoted(structures[s].id) + " has no pipe at all.");
    Refuse("pipes", "Pipe " + Quoted(pipes[tree.inflows[s].front()].id) + " ends at structure " +
                        Quoted(structures[s].id) +
                        ", which no pipe leaves: a second outfall, or a pipe to nowhere.");
  }

  // Every structure but the outfall has one pipe out, so following them either reaches the
  // outfall or runs round a loop. 0 unvisited, 1 on the current walk, 2 known to drain.
  std::vector<char> state(ns, 0);
  state[tree.outfall] = 2;
  for (std::size_t start = 0; start < ns; ++start) {
    std::vector<std::size_t> walk;
    std::size_t s = start;
    while (state[s] == 0) {
      state[s] = 1;
      walk.push_back(s);
      s = tree.to[tree.outflow[s]];
    }
    if (state[s] == 1) {
      std::string names;
      const auto first = std::find(walk.begin(), walk.end(), s);
      for (auto it = first; it != walk.end(); ++it)
        names += (it == first ? "" : ", ") + Quoted(pipes[tree.outflow[*it]].id);
      Refuse("pipes", "Pipes " + names +
                          " form a loop: a network is a tree draining to its "
                          "outfall.");
    }
    for (std::size_t w : walk) state[w] = 2;
  }

  // Breadth first up from the outfall reaches each pipe before those entering its upstream
  // structure; reversed, every pipe comes after all those upstream of it.
  std::vector<std::size_t> order;
  order.reserve(pipes.size());
  for (std::size_t p : tree.inflows[tree.outfall]) order.push_back(p);
  for (std::size_t i = 0; i < order.size(); ++i)
    for (std::size_t q : tree.inflows[tree.from[order[i]]]) order.push_back(q);
  tree.downstreamOrder.assign(order.rbegin(), order.rend());
  return tree;
}

}  // namespace rivulet
