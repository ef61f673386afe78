// The shape of the source tree: core rooms depend one way, the shell depends on no other
// room, and no source file grows past what a reader takes in at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/source_dir.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

using RoomGraph = std::map<std::string, std::set<std::string>>;

const fs::path kSource = SourceDir() / "src";

bool IsSource(const fs::path& p) { return p.extension() == ".cpp" || p.extension() == ".h"; }

// Room -> rooms it includes, from the #include "core/<room>/..." lines of src/core.
RoomGraph CoreRoomGraph() {
  RoomGraph graph;
  const std::regex include(R"re(^\s*#\s*include\s*"core/([a-z_]+)/)re");
  for (const auto& entry : fs::recursive_directory_iterator(kSource / "core")) {
    if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
    const std::string room = fs::relative(entry.path(), kSource / "core").begin()->string();
    graph[room];
    std::ifstream in(entry.path());
    std::smatch m;
    for (std::string line; std::getline(in, line);)
      if (std::regex_search(line, m, include) && m[1] != room) graph[room].insert(m[1]);
  }
  return graph;
}

// One cycle as "a -> b -> a", or "" when the graph has none.
std::string FindCycle(const RoomGraph& graph) {
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::string cycle;
  std::function<bool(const std::string&)> visit = [&](const std::string& room) {
    state[room] = 1;
    path.push_back(room);
    const auto it = graph.find(room);
    if (it != graph.end()) {
      for (const std::string& next : it->second) {
        if (state[next] == 1) {
          auto from = std::find(path.begin(), path.end(), next);
          for (; from != path.end(); ++from) cycle += *from + " -> ";
          cycle += next;
          return true;
        }
        if (state[next] == 0 && visit(next)) return true;
      }
    }
    path.pop_back();
    state[room] = 2;
    return false;
  };
  for (const auto& [room, _] : graph)
    if (state[room] == 0 && visit(room)) return cycle;
  return "";
}

TEST(RoomLayoutTest, CycleFinderSeesCyclesAndTheirAbsence) {
  struct Case {
    const char* name;
    RoomGraph graph;
    std::string cycle;
  };
  const Case cases[] = {
      {"chain", {{"a", {"b"}}, {"b", {"c"}}, {"c", {}}}, ""},
      {"diamond", {{"a", {"b", "c"}}, {"b", {"d"}}, {"c", {"d"}}, {"d", {}}}, ""},
      {"two rooms", {{"a", {"b"}}, {"b", {"a"}}}, "a -> b -> a"},
      {"behind a tail", {{"a", {"b"}}, {"b", {"c"}}, {"c", {"b"}}}, "b -> c -> b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindCycle(c.graph), c.cycle);
  }
}

TEST(RoomLayoutTest, CoreRoomsIncludeEachOtherWithoutCycles) {
  const RoomGraph graph = CoreRoomGraph();
  ASSERT_TRUE(graph.count("hydraulics") && graph.count("shell")) << "source tree not found";
  EXPECT_EQ(FindCycle(graph), "");
}

TEST(RoomLayoutTest, ShellIncludesNoOtherCoreRoom) {
  const RoomGraph graph = CoreRoomGraph();
  ASSERT_TRUE(graph.count("shell"));
  for (const std::string& room : graph.at("shell")) ADD_FAILURE() << "shell includes " << room;
}

// The calculation sheet's rooms are what every worksheet builds on; the batch runs them all.
TEST(RoomLayoutTest, SheetRoomsIncludeNoWorksheetRoomAndNothingIncludesTheBatch) {
  const std::set<std::string> sheetRooms{"files",     "hydraulics", "printing",
                                         "reference", "shell",      "window"};
  const RoomGraph graph = CoreRoomGraph();
  for (const std::string& room : sheetRooms) {
    ASSERT_TRUE(graph.count(room)) << room << " not found";
    for (const std::string& used : graph.at(room))
      if (!sheetRooms.count(used)) ADD_FAILURE() << room << " includes " << used;
  }
  for (const auto& [room, used] : graph)
    if (used.count("batch")) ADD_FAILURE() << room << " includes batch";
}

// A file past this many lines has grown more than one job and is split before it lands.
TEST(RoomLayoutTest, NoSourceFileGrowsPastWhatAReaderTakesInAtOnce) {
  constexpr int kMaxLines = 600;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kSource)) {
    if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
    ++files;
    std::ifstream in(entry.path());
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    EXPECT_LE(lines, kMaxLines) << fs::relative(entry.path(), kSource).string();
  }
  EXPECT_GT(files, 100) << "source tree not found";
}

}  // namespace
}  // namespace rivulet
